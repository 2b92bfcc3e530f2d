// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "cli/meterlist.h"

#include "hid/hiddevicep.h"
#include "hid/meterusbid.h"

#include <QStringList>

QList<HIDDevInfo> MeterList::attached()
{
    return HIDDeviceP::enumerate(MeterUsbId::vendorId, MeterUsbId::productId);
}

QString MeterList::describe(const HIDDevInfo &meter)
{
    return QStringList{meter.path, meter.serialNumber, meter.manufacturer, meter.product}.join(QLatin1Char('\t'));
}
