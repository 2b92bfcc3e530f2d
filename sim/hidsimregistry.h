// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "sim/simulateddevicestate.h"
#include "sim/streamsource.h"
#include "sim/virtualhiddevice.h"

#include <hidapi.h>

#include <QByteArray>
#include <QList>
#include <QString>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <set>
#include <vector>

// Everything the simulated hidapi knows, behind one lock: the virtual devices,
// the open handles and the call counters. Both the C functions and the
// control API used by tests go through it.
class HidSimRegistry
{
public:
    static HidSimRegistry &instance();

    // The C side.
    int init();
    int exit();
    hid_device_info *enumerate(unsigned short vendorId, unsigned short productId);
    static void freeEnumeration(hid_device_info *devices);
    hid_device *openPath(const char *path);
    int setNonBlocking(hid_device *handle, int nonBlock);
    int readTimeout(hid_device *handle, unsigned char *data, size_t length, int milliseconds);
    int write(hid_device *handle, const unsigned char *data, size_t length);
    void close(hid_device *handle);
    const wchar_t *error(hid_device *handle);

    // The control side.
    void reset();
    void addDevice(const VirtualHidDevice &device);
    bool setOpenFails(const QString &path, bool fails);
    bool queueReports(const QString &path, const QList<QByteArray> &reports);
    bool attachSource(const QString &path, std::shared_ptr<StreamSource> source);
    bool unplug(const QString &path);
    bool failReads(const QString &path, int count);
    QList<QByteArray> written(const QString &path);
    int readCount();
    int openCount();
    int closeCount();
    int openHandleCount();
    int initCount();
    int exitCount();
    bool initialized();

private:
    using Clock = SimulatedDeviceState::Clock;

    HidSimRegistry() = default;

    std::shared_ptr<SimulatedDeviceState> findLocked(const QString &path) const;
    bool isOpenLocked(hid_device *handle) const;
    static void pullFromSourceLocked(SimulatedDeviceState &device);
    static int takeReportLocked(SimulatedDeviceState &device, unsigned char *data, size_t length);
    static int failReadLocked(hid_device *handle, const wchar_t *text);
    static void setGlobalError(const wchar_t *text);

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::shared_ptr<SimulatedDeviceState>> m_devices;
    std::set<hid_device *> m_handles;
    int m_reads = 0;
    int m_opens = 0;
    int m_closes = 0;
    int m_inits = 0;
    int m_exits = 0;
    bool m_initialized = false;
};
