// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// Texts of the values a test is judged by, as the Tests view and the
// reports show them: three significant digits, resistances in the unit that
// suits them.
class ResistanceText
{
public:
    ResistanceText() = delete;

    // "312 MΩ", "4.80 GΩ", ">2.00 TΩ"; "-" for NaN.
    static QString megohms(double megohms, bool overRange = false);
    // "2.13"; "-" for NaN.
    static QString ratio(double value);
    // "25 °C"; "-" for NaN.
    static QString celsius(double value);
};
