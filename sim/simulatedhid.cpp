// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "sim/simulatedhid.h"

#include "sim/hidsimregistry.h"

namespace {
HidSimRegistry &registry()
{
    return HidSimRegistry::instance();
}
} // namespace

void SimulatedHid::reset()
{
    registry().reset();
}

void SimulatedHid::addDevice(const VirtualHidDevice &device)
{
    registry().addDevice(device);
}

void SimulatedHid::setDevices(const QList<VirtualHidDevice> &devices)
{
    registry().reset();
    for (const VirtualHidDevice &device : devices)
        registry().addDevice(device);
}

bool SimulatedHid::setOpenFails(const QString &path, bool fails)
{
    return registry().setOpenFails(path, fails);
}

QByteArray SimulatedHid::streamReport(const QByteArray &streamBytes)
{
    const QByteArray carried = streamBytes.left(maxStreamBytes);
    QByteArray report(reportSize, '\0');
    report[0] = static_cast<char>(carried.size());
    report.replace(1, carried.size(), carried);
    return report;
}

QList<QByteArray> SimulatedHid::streamReports(const QByteArray &stream)
{
    QList<QByteArray> reports;
    for (int offset = 0; offset < stream.size(); offset += maxStreamBytes)
        reports.append(streamReport(stream.mid(offset, maxStreamBytes)));
    return reports;
}

bool SimulatedHid::queueReport(const QString &path, const QByteArray &streamBytes)
{
    return registry().queueReports(path, {streamReport(streamBytes)});
}

bool SimulatedHid::queueStream(const QString &path, const QByteArray &stream)
{
    return registry().queueReports(path, streamReports(stream));
}

bool SimulatedHid::queueRawReport(const QString &path, const QByteArray &report)
{
    return registry().queueReports(path, {report});
}

bool SimulatedHid::attachSource(const QString &path, std::shared_ptr<StreamSource> source)
{
    return registry().attachSource(path, std::move(source));
}

bool SimulatedHid::unplug(const QString &path)
{
    return registry().unplug(path);
}

bool SimulatedHid::failReads(const QString &path, int count)
{
    return registry().failReads(path, count);
}

QList<QByteArray> SimulatedHid::written(const QString &path)
{
    return registry().written(path);
}

int SimulatedHid::readCount()
{
    return registry().readCount();
}

int SimulatedHid::openCount()
{
    return registry().openCount();
}

int SimulatedHid::closeCount()
{
    return registry().closeCount();
}

int SimulatedHid::openHandleCount()
{
    return registry().openHandleCount();
}

int SimulatedHid::initCount()
{
    return registry().initCount();
}

int SimulatedHid::exitCount()
{
    return registry().exitCount();
}

bool SimulatedHid::initialized()
{
    return registry().initialized();
}
