// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "sim/streamsource.h"
#include "sim/virtualhiddevice.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <memory>

// Control of the simulated hidapi that tests and demonstrations link instead
// of the real library: which virtual devices exist and what they send.
// Every function may be called from any thread.
class SimulatedHid
{
public:
    SimulatedHid() = delete;

    static constexpr int reportSize = 64;
    static constexpr int maxStreamBytes = reportSize - 1;

    // Drops every device and zeroes the counters. Handles still open keep
    // working on their dropped device, which now answers reads with -1.
    static void reset();

    // A device at a path already known replaces it, as if it was replugged.
    static void addDevice(const VirtualHidDevice &device);
    // reset(), then these devices in this enumeration order.
    static void setDevices(const QList<VirtualHidDevice> &devices);
    static bool setOpenFails(const QString &path, bool fails);

    // A 64-byte report carrying `streamBytes` (at most 63) behind its count.
    [[nodiscard]] static QByteArray streamReport(const QByteArray &streamBytes);
    // The reports that carry `stream`, 63 bytes at most each.
    [[nodiscard]] static QList<QByteArray> streamReports(const QByteArray &stream);

    // What the device sends next. queueStream splits its bytes into reports;
    // queueRawReport hands `report` to the reader exactly as given, so a read
    // may return fewer than 64 bytes or a count byte that lies.
    static bool queueReport(const QString &path, const QByteArray &streamBytes);
    static bool queueStream(const QString &path, const QByteArray &stream);
    static bool queueRawReport(const QString &path, const QByteArray &report);

    // Lets `source` feed the device whenever its queue runs dry.
    static bool attachSource(const QString &path, std::shared_ptr<StreamSource> source);

    // The device vanishes: reads in progress and later ones fail, it is no
    // longer enumerated and cannot be opened.
    static bool unplug(const QString &path);
    // The next `count` reads fail as one interrupted by a signal does: -1 with
    // the error text "Interrupted system call". A read already waiting fails
    // at once. The device stays enumerated, and the reads after these work.
    static bool failReads(const QString &path, int count);

    // Output reports written to the device, in order.
    static QList<QByteArray> written(const QString &path);

    static int readCount();
    static int openCount();
    static int closeCount();
    static int openHandleCount();
    static int initCount();
    static int exitCount();
    static bool initialized();
};
