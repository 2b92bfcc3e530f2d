// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "support/meterinput.h"

#include "meter/mydmm.h"

#include <QSignalSpy>

void feedMeter(MyDMM &meter, const QByteArray &chunk)
{
    meter.slotSerialDeviceRead(reinterpret_cast<const uint8_t *>(chunk.constData()), uint(chunk.size()));
}

QList<QSharedPointer<DMMData>> caughtRecords(const QSignalSpy &spy)
{
    QList<QSharedPointer<DMMData>> records;
    for (const QList<QVariant> &arguments : spy)
        records << arguments.at(0).value<QSharedPointer<DMMData>>();
    return records;
}
