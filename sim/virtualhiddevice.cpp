// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "sim/virtualhiddevice.h"

VirtualHidDevice VirtualHidDevice::meter(const QString &path)
{
    VirtualHidDevice device;
    device.path = path;
    device.serialNumber = QStringLiteral("SIM-") + path.section(QLatin1Char('/'), -1);
    device.manufacturer = QStringLiteral("Tessra");
    device.product = QStringLiteral("Tessra Insulation Tester");
    return device;
}
