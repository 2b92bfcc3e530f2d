// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
//
// The meter connection's own state: opening and closing the meter through the
// HID front, and the command controller that runs beside it.
#include "meter/mydmm.h"

#include "command/commandctrl.h"
#include "hid/hiddevice.h"

#include <QDebug>

namespace {
constexpr int pumpIntervalMs = 10;
} // namespace

MyDMM::MyDMM(QObject *parent)
    : QObject(parent)
    , m_hid(std::make_unique<HIDDevice>())
{
    connect(m_hid.get(), &HIDDevice::opened, this, &MyDMM::opened);
    connect(m_hid.get(), &HIDDevice::closed, this, &MyDMM::closed);
    connect(m_hid.get(), &HIDDevice::readyRead, this, &MyDMM::readReport);
    // A meter that is unplugged ends the connection as a time-out does.
    connect(m_hid.get(), &HIDDevice::deviceLost, this, &MyDMM::sltCommunicationTimeout);
    m_ctrl = new CommandCtrl(this);
    m_ctrl->setInterval(pumpIntervalMs);
    connect(m_ctrl, &CommandCtrl::nextCommand, this, &MyDMM::nextCommand);
    connect(m_ctrl, &CommandCtrl::communicationTimeout, this, &MyDMM::sltCommunicationTimeout);
}

MyDMM::~MyDMM()
{
    if (m_actived)
        close();
    delete m_ctrl;
    m_ctrl = nullptr;
    // The front's own close on destruction has nobody left to tell.
    m_hid->disconnect(this);
    m_hid.reset();
}

bool MyDMM::open(const QString &path)
{
    if (m_actived)
        return false;
    if (!m_hid->open(path))
        return false;
    m_ctrl->reset();
    m_actived = m_ctrl->start();
    if (!m_actived) {
        // Left open, the meter could be neither reopened nor closed.
        m_hid->close();
        return false;
    }
    emit opened();
    return true;
}

void MyDMM::close()
{
    if (!m_actived)
        return;
    m_ctrl->stop();
    m_hid->close();
    m_actived = false;
    emit closed();
}

bool MyDMM::actived() const
{
    return m_actived;
}

void MyDMM::setPause(bool pause)
{
    m_ctrl->setPause(pause);
}

void MyDMM::sltCommunicationTimeout()
{
    if (m_actived) {
        m_ctrl->stop();
        m_hid->close();
        m_actived = false;
        emit closed();
    }
    emit communicationTimeout();
}

// Nothing here sends commands to the meter, so a command is answered as
// soon as it needs no answer; one that does is left to time out.
void MyDMM::nextCommand(QSharedPointer<Command> command)
{
    qDebug() << "nextCommand" << command->content().toHex();
    if (!command->needResponse())
        m_ctrl->response(Pump::rrSuccess);
}

void MyDMM::readReport(const QByteArray &data)
{
    slotSerialDeviceRead(reinterpret_cast<const uint8_t *>(data.constData()), uint(data.size()));
}
