// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "meter/unittable.h"

#include <array>

namespace {
// The chart scales resistances by the letter in front of the omega, so these
// texts are shared with it and must not change.
const std::array<QString, 3> &currentUnits()
{
    static const std::array<QString, 3> units{QStringLiteral("nA"), QStringLiteral("uA"), QStringLiteral("mA")};
    return units;
}

const std::array<QString, 3> &resistanceUnits()
{
    static const std::array<QString, 3> units{QStringLiteral("M\u03A9"), QStringLiteral("G\u03A9"),
                                              QStringLiteral("T\u03A9")};
    return units;
}

QString unitAt(const std::array<QString, 3> &units, int code)
{
    return code >= 0 && code < int(units.size()) ? units[size_t(code)] : QString();
}

quint8 codeOf(const std::array<QString, 3> &units, const QString &unit)
{
    for (size_t code = 0; code < units.size(); ++code) {
        if (units[code] == unit)
            return quint8(code);
    }
    return UnitTable::noCode;
}
} // namespace

QString UnitTable::currentUnit(int code)
{
    return unitAt(currentUnits(), code);
}

QString UnitTable::resistanceUnit(int code)
{
    return unitAt(resistanceUnits(), code);
}

quint8 UnitTable::currentCode(const QString &unit)
{
    return codeOf(currentUnits(), unit);
}

quint8 UnitTable::resistanceCode(const QString &unit)
{
    return codeOf(resistanceUnits(), unit);
}

QString UnitTable::volt()
{
    return QStringLiteral("V");
}

QString UnitTable::microfarad()
{
    return QStringLiteral("\u03BCF");
}

QString UnitTable::ohm()
{
    return QStringLiteral("\u03A9");
}

double UnitTable::megohmFactor(const QString &unit)
{
    if (unit.contains(QLatin1Char('M'), Qt::CaseInsensitive))
        return 1.0;
    if (unit.contains(QLatin1Char('G'), Qt::CaseInsensitive))
        return 1000.0;
    if (unit.contains(QLatin1Char('T'), Qt::CaseInsensitive))
        return 1000000.0;
    return 1.0;
}
