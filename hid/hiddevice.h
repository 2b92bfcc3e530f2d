// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <memory>

class HIDDeviceP;
class QThread;

// The HID front on the GUI thread: opens and closes the meter and relays the
// stream bytes that its worker reads on a thread of its own.
class HIDDevice : public QObject
{
    Q_OBJECT

public:
    explicit HIDDevice(QObject *parent = nullptr);
    ~HIDDevice() override;

    bool open(const QString &path);
    void close();

signals:
    void startRead();
    void opened();
    void closed();
    void readyRead(QByteArray data);
    // The meter stopped answering reads while open; the front stays open
    // until its owner closes it.
    void deviceLost();

private:
    void stopReading();
    void relayReadFailure();

    // Declared first so that the worker goes before its thread.
    std::unique_ptr<QThread> m_thread;
    std::unique_ptr<HIDDeviceP> m_deviceP;
};
