// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "support/meterinput.h"

#include "meter/mydmm.h"

#include <QSignalSpy>

void feedMeter(MyDMM &meter, const QByteArray &chunk)
{
    meter.slotSerialDeviceRead(reinterpret_cast<const uint8_t *>(chunk.constData()), uint(chunk.size()));
}

QList<QByteArray> framesOfMode(const QList<QByteArray> &frames, int mode)
{
    QList<QByteArray> found;
    for (const QByteArray &frame : frames) {
        if (frame.size() > 5 && quint8(frame.at(5)) == mode)
            found << frame;
    }
    return found;
}

QList<QSharedPointer<DMMData>> caughtRecords(const QSignalSpy &spy)
{
    QList<QSharedPointer<DMMData>> records;
    for (const QList<QVariant> &arguments : spy)
        records << arguments.at(0).value<QSharedPointer<DMMData>>();
    return records;
}
