// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "hid/hiddevice.h"

#include "command/commandctrl.h"
#include "hid/hiddevicep.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThread>

HIDDevice::HIDDevice(QObject *parent)
    : QObject(parent)
    , m_thread(std::make_unique<QThread>())
    , m_deviceP(std::make_unique<HIDDeviceP>())
{
    m_deviceP->moveToThread(m_thread.get());
    connect(this, &HIDDevice::startRead, m_deviceP.get(), &HIDDeviceP::doRead, Qt::QueuedConnection);
    connect(m_deviceP.get(), &HIDDeviceP::readyRead, this, &HIDDevice::readyRead, Qt::QueuedConnection);
    // Queued behind the reports read before it, so those arrive first.
    connect(m_deviceP.get(), &HIDDeviceP::readFailed, this, &HIDDevice::relayReadFailure, Qt::QueuedConnection);
}

HIDDevice::~HIDDevice()
{
    close();
}

bool HIDDevice::open(const QString &path)
{
    if (m_deviceP->m_opened)
        return false;
    if (!m_deviceP->openHandle(path))
        return false;
    if (!m_deviceP->m_ctrl->start()) {
        m_deviceP->closeHandle();
        return false;
    }
    m_deviceP->m_path = path;
    m_deviceP->m_opened = true;
    m_deviceP->m_stopRequested = false;
    m_deviceP->m_readFailed = false;
    m_thread->start();
    emit startRead();
    emit opened();
    return true;
}

void HIDDevice::close()
{
    if (m_deviceP->m_opened) {
        m_deviceP->m_ctrl->stop();
        m_deviceP->m_opened = false;
        m_deviceP->m_reading = false;
    }
    stopReading();
    emit closed();
}

void HIDDevice::stopReading()
{
    m_deviceP->m_stopRequested = true;
    m_thread->quit();
    m_thread->wait();
    // A start that the thread never got to would otherwise run with the next
    // open; a handle that no loop closed is closed here, the thread is gone.
    QCoreApplication::removePostedEvents(m_deviceP.get(), QEvent::MetaCall);
    m_deviceP->closeHandle();
}

// A failure that arrives after its connection was closed, or after the meter
// was opened anew, is not this connection's.
void HIDDevice::relayReadFailure()
{
    if (m_deviceP->m_opened && m_deviceP->m_readFailed)
        emit deviceLost();
}
