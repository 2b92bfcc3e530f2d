// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// Numbers as a verdict's reasons show them, the same in every locale:
// measured values to three significant digits, thousands apart by a thin
// space ("8 200 MΩ"), values of the criteria as their tables write them.
class ReasonText
{
public:
    ReasonText() = delete;

    static constexpr QChar thousandsSeparator = QChar(0x2009);

    // Three significant digits: 312, 8 200, 1.70, 0.0450.
    static QString measured(double value);
    // The value `measured` writes, as a number: a criterion compares this,
    // so that a reason never reads "100 MΩ, below 100 MΩ".
    static double shown(double value);
    // As written, with at least `minDecimals` decimals: 5, 100, 5 000, 14.8, 2.0.
    static QString exact(double value, int minDecimals = 0);
    // "312 MΩ"; beyond the range ">10 000 MΩ", or "beyond the range" where the limit is unknown.
    static QString megohms(double value, bool overRange = false);
    static QString celsius(double value);
    // Below 1 kV in volts ("480 V"), from there in kilovolts ("13.8 kV").
    static QString voltage(double kilovolts);
};
