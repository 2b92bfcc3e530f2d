// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// The meter's unit codes and the fixed unit texts of the records, in one place
// for the decoders and for anything that encodes records back into frames.
class UnitTable
{
public:
    UnitTable() = delete;

    // The code sent for a unit text that no table holds.
    static constexpr quint8 noCode = 0xFF;

    // 0 "nA", 1 "uA", 2 "mA"; any other code gives an empty text.
    static QString currentUnit(int code);
    // 0 "MΩ", 1 "GΩ", 2 "TΩ"; any other code gives an empty text.
    static QString resistanceUnit(int code);

    // The code of a unit text, or noCode when the table does not hold it.
    static quint8 currentCode(const QString &unit);
    static quint8 resistanceCode(const QString &unit);

    // The factor that brings a resistance in `unit` to MΩ: by the letter in
    // front of the omega ("MΩ" 1, "GΩ" 1000, "TΩ" 1e6); other units 1.
    static double megohmFactor(const QString &unit);

    static QString volt();
    static QString microfarad();
    static QString ohm();
};
