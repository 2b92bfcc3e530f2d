// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "hid/hiddevinfo.h"

#include <hidapi.h>

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QSharedPointer>
#include <QString>

#include <atomic>
#include <memory>

class Command;
class CommandCtrl;

// The HID worker: makes every hidapi call on the open meter and reads its
// input reports on the front's thread.
class HIDDeviceP : public QObject
{
    Q_OBJECT

public:
    static constexpr int reportSize = 64;
    static constexpr int readTimeoutMs = 1000;
    static constexpr int readPauseMs = 10;
    // How long reads may keep failing on a meter that is still enumerated
    // before it counts as lost.
    static constexpr int lostAfterFailingMs = 1000;

    explicit HIDDeviceP(QObject *parent = nullptr);
    ~HIDDeviceP() override;

    static QList<HIDDevInfo> enumerate(unsigned short vendorId, unsigned short productId);

signals:
    // The stream bytes of one report, copied out of the read buffer.
    void readyRead(QByteArray data);
    // Reads failed on a meter that is gone: the loop has ended and the
    // handle is closed.
    void readFailed();

public slots:
    void doRead();

private slots:
    void communicationTimeout();
    void nextCommand(QSharedPointer<Command> cmd);

private:
    // The front drives the open/close steps while the worker thread is idle.
    friend class HIDDevice;

    bool openHandle(const QString &path);
    void closeHandle();
    bool keepReading() const;
    // False when the read failed.
    bool readOneReport();
    bool meterIsLost() const;
    bool meterIsEnumerated() const;
    QByteArray streamBytes(int bytesRead) const;

    hid_device *m_handle = nullptr;
    // Set by the front before the loop starts and read by the loop only.
    QString m_path;
    // Started by the first failed read of a run, invalid while reads work.
    QElapsedTimer m_failingFor;
    std::unique_ptr<CommandCtrl> m_ctrl;
    bool m_opened = false;
    std::atomic<bool> m_reading{false};
    // Set by every close and cleared by open; unlike m_reading, doRead never
    // sets it, so a close that comes before the loop starts still ends it.
    std::atomic<bool> m_stopRequested{false};
    // Set by the loop when a read fails and cleared by open, so that the
    // front can tell a failure of this connection from one of an earlier.
    std::atomic<bool> m_readFailed{false};
    unsigned char m_report[reportSize] = {};
};
