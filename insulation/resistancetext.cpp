// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "insulation/resistancetext.h"

#include "insulation/reasontext.h"

#include <QLocale>

#include <cmath>

namespace {
QString threeDigits(double value)
{
    const double magnitude = std::abs(value);
    const int decimals = magnitude >= 100.0 ? 0 : magnitude >= 10.0 ? 1 : 2;
    return QLocale::c().toString(value, 'f', decimals);
}
} // namespace

// The unit is chosen for the value as rounded, so that 999.6 MΩ reads
// "1.00 GΩ" and 99.96 MΩ "100 MΩ", as the verdict's reasons say.
QString ResistanceText::megohms(double value, bool overRange)
{
    if (!std::isfinite(value))
        return QStringLiteral("-");
    const double megohms = ReasonText::shown(value);
    const QString sign = overRange ? QStringLiteral(">") : QString();
    if (megohms >= 1.0e6)
        return sign + threeDigits(megohms / 1.0e6) + QStringLiteral(" TΩ");
    if (megohms >= 1.0e3)
        return sign + threeDigits(megohms / 1.0e3) + QStringLiteral(" GΩ");
    if (megohms >= 1.0 || megohms == 0.0)
        return sign + threeDigits(megohms) + QStringLiteral(" MΩ");
    return sign + threeDigits(megohms * 1.0e3) + QStringLiteral(" kΩ");
}

QString ResistanceText::ratio(double value)
{
    return std::isfinite(value) ? QLocale::c().toString(value, 'f', 2) : QStringLiteral("-");
}

QString ResistanceText::celsius(double value)
{
    return std::isfinite(value) ? QLocale::c().toString(value, 'f', value == std::floor(value) ? 0 : 1)
            + QStringLiteral(" °C")
                                : QStringLiteral("-");
}
