// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "hid/meterusbid.h"

#include <QMetaType>
#include <QString>

// What a virtual HID device tells enumeration about itself; the defaults
// describe a meter.
struct VirtualHidDevice
{
    static constexpr unsigned short meterVendorId = MeterUsbId::vendorId;
    static constexpr unsigned short meterProductId = MeterUsbId::productId;

    // A meter at `path` with a plausible serial number and texts.
    static VirtualHidDevice meter(const QString &path);

    QString path;
    unsigned short vendorId = meterVendorId;
    unsigned short productId = meterProductId;
    QString serialNumber;
    unsigned short releaseNumber = 0x0100;
    QString manufacturer;
    QString product;
    unsigned short usagePage = 0xFF00;
    unsigned short usage = 0x0001;
};

Q_DECLARE_METATYPE(VirtualHidDevice)
