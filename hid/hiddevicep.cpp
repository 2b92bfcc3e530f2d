// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "hid/hiddevicep.h"

#include "command/command.h"
#include "command/commandctrl.h"
#include "hid/hidrawpath.h"

#include <QDebug>
#include <QMutex>
#include <QMutexLocker>
#include <QThread>

#include <algorithm>

namespace {
QString wideText(const wchar_t *text)
{
    return text ? QString::fromWCharArray(text) : QString();
}

// hid_exit tears the library down for everyone, so it waits for the last
// worker; hid_init itself may be called any number of times.
QMutex libraryUsersMutex;
int libraryUsers = 0;

void acquireLibrary()
{
    const QMutexLocker locker(&libraryUsersMutex);
    ++libraryUsers;
    if (hid_init() != 0)
        qDebug() << "HIDDeviceP" << wideText(hid_error(nullptr));
}

void releaseLibrary()
{
    const QMutexLocker locker(&libraryUsersMutex);
    if (--libraryUsers == 0)
        hid_exit();
}

HIDDevInfo toDevInfo(const hid_device_info &device)
{
    HIDDevInfo info;
    info.path = QString::fromUtf8(device.path);
    info.vendorId = device.vendor_id;
    info.productId = device.product_id;
    info.serialNumber = wideText(device.serial_number);
    info.releaseNumber = device.release_number;
    info.manufacturer = wideText(device.manufacturer_string);
    info.product = wideText(device.product_string);
    info.usagePage = device.usage_page;
    info.usage = device.usage;
    return info;
}
} // namespace

HIDDeviceP::HIDDeviceP(QObject *parent)
    : QObject(parent)
{
    acquireLibrary();
    m_ctrl = std::make_unique<CommandCtrl>();
    m_ctrl->setInterval(10);
    connect(m_ctrl.get(), &CommandCtrl::nextCommand, this, &HIDDeviceP::nextCommand);
    connect(m_ctrl.get(), &CommandCtrl::communicationTimeout, this, &HIDDeviceP::communicationTimeout);
}

HIDDeviceP::~HIDDeviceP()
{
    closeHandle();
    m_ctrl.reset();
    releaseLibrary();
}

QList<HIDDevInfo> HIDDeviceP::enumerate(unsigned short vendorId, unsigned short productId)
{
    QList<HIDDevInfo> devices;
    hid_device_info *list = hid_enumerate(vendorId, productId);
    for (const hid_device_info *device = list; device; device = device->next)
        devices.append(toDevInfo(*device));
    hid_free_enumeration(list);
    return devices;
}

// A quiet meter gives time-outs, not errors, yet a failed read is not always
// a lost meter: hidraw also fails a read whose wait a signal interrupted. So
// the loop reads on through failures and ends, reporting the loss, only once
// the meter is gone; the stop flags end it as promptly during such a run.
void HIDDeviceP::doRead()
{
    m_reading = true;
    m_failingFor.invalidate();
    bool lost = false;
    while (keepReading() && !lost) {
        lost = !readOneReport() && meterIsLost();
        if (!lost)
            QThread::msleep(readPauseMs);
    }
    m_reading = false;
    closeHandle();
    qDebug() << "doRead" << false;
    if (lost) {
        m_readFailed = true;
        emit readFailed();
    }
}

void HIDDeviceP::communicationTimeout()
{
    qDebug() << "communicationTimeout";
}

void HIDDeviceP::nextCommand(QSharedPointer<Command> cmd)
{
    const QByteArray content = cmd->content();
    const int written = m_handle ? hid_write(m_handle, reinterpret_cast<const unsigned char *>(content.constData()),
                                             static_cast<size_t>(content.size()))
                                 : -1;
    if (written == -1)
        qDebug() << "nextCommand" << "write failed" << content.toHex();
    if (!cmd->needResponse())
        m_ctrl->response(Pump::rrSuccess);
}

bool HIDDeviceP::openHandle(const QString &path)
{
    if (!HidrawPath::isOpenable(path))
        return false;
    m_handle = hid_open_path(path.toLatin1().constData());
    if (!m_handle)
        return false;
    hid_set_nonblocking(m_handle, 1);
    return true;
}

void HIDDeviceP::closeHandle()
{
    if (!m_handle)
        return;
    hid_close(m_handle);
    m_handle = nullptr;
}

bool HIDDeviceP::keepReading() const
{
    return m_reading && !m_stopRequested;
}

bool HIDDeviceP::readOneReport()
{
    const int bytesRead = hid_read_timeout(m_handle, m_report, reportSize, readTimeoutMs);
    if (bytesRead > 0)
        emit readyRead(streamBytes(bytesRead));
    if (bytesRead >= 0) {
        m_failingFor.invalidate();
        return true;
    }
    qDebug() << "doRead" << wideText(hid_error(m_handle));
    if (!m_failingFor.isValid())
        m_failingFor.start();
    return false;
}

// An unplugged meter drops out of the enumeration, which every failed read
// looks at; one still listed whose reads never recover is given up all the same.
bool HIDDeviceP::meterIsLost() const
{
    return m_failingFor.hasExpired(lostAfterFailingMs) || !meterIsEnumerated();
}

bool HIDDeviceP::meterIsEnumerated() const
{
    const QList<HIDDevInfo> devices = enumerate(0, 0);
    return std::any_of(devices.cbegin(), devices.cend(),
                       [this](const HIDDevInfo &device) { return device.path == m_path; });
}

QByteArray HIDDeviceP::streamBytes(int bytesRead) const
{
    // A count byte that claims more than the report holds is not believed.
    const int count = std::min({static_cast<int>(m_report[0]), bytesRead - 1, reportSize - 1});
    return QByteArray(reinterpret_cast<const char *>(m_report + 1), count);
}
