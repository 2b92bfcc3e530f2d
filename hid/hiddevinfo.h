// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QMetaType>
#include <QString>
#include <QtGlobal>

// One HID device found by enumeration; the program only needs its path.
struct HIDDevInfo
{
    QString path;
    quint16 vendorId = 0;
    quint16 productId = 0;
    QString serialNumber;
    quint16 releaseNumber = 0;
    QString manufacturer;
    QString product;
    quint16 usagePage = 0;
    quint16 usage = 0;
};

Q_DECLARE_METATYPE(HIDDevInfo)
