// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "hid/hiddevinfo.h"

#include <QList>
#include <QString>

// The meters attached to this computer, found by their USB identity.
class MeterList
{
public:
    MeterList() = delete;

    static QList<HIDDevInfo> attached();
    // Path, serial number, manufacturer and product, separated by tabs.
    static QString describe(const HIDDevInfo &meter);
};
