// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "insulation/reasontext.h"

#include <QCoreApplication>
#include <QLocale>

#include <cmath>

namespace {
constexpr int significantDigits = 3;
constexpr int maxExactDecimals = 3;

// Groups the digits before the point in threes from the right.
QString grouped(const QString &plain)
{
    const int sign = plain.startsWith(QLatin1Char('-')) ? 1 : 0;
    int point = plain.indexOf(QLatin1Char('.'));
    if (point < 0)
        point = plain.size();
    QString result = plain;
    for (int at = point - 3; at > sign; at -= 3)
        result.insert(at, ReasonText::thousandsSeparator);
    return result;
}

QString fixed(double value, int decimals)
{
    return grouped(QLocale::c().toString(value, 'f', decimals));
}
} // namespace

double ReasonText::shown(double value)
{
    if (!std::isfinite(value) || value == 0.0)
        return value;
    const int exponent = int(std::floor(std::log10(std::abs(value))));
    const int places = significantDigits - 1 - exponent;
    // Dividing by an exact power of ten gives the double nearest the
    // decimal written: 1.996 becomes 2.0 itself, not 2.0000000000000004,
    // and compares equal to a minimum of 2.0.
    if (places > 0) {
        const double power = std::pow(10.0, places);
        return std::round(value * power) / power;
    }
    const double scale = std::pow(10.0, -places);
    return std::round(value / scale) * scale;
}

QString ReasonText::measured(double value)
{
    if (!std::isfinite(value))
        return QStringLiteral("-");
    if (value == 0.0)
        return QStringLiteral("0");
    const double rounded = shown(value);
    // 9.996 rounds up to 10.0: one decimal fewer keeps three digits.
    const int exponent = int(std::floor(std::log10(std::abs(rounded))));
    return fixed(rounded, std::max(0, significantDigits - 1 - exponent));
}

QString ReasonText::exact(double value, int minDecimals)
{
    if (!std::isfinite(value))
        return QStringLiteral("-");
    QString text = QLocale::c().toString(value, 'f', maxExactDecimals);
    const int point = text.indexOf(QLatin1Char('.'));
    int keep = text.size();
    while (keep > point + 1 + minDecimals && text.at(keep - 1) == QLatin1Char('0'))
        --keep;
    if (keep == point + 1)
        --keep;
    return grouped(text.left(keep));
}

QString ReasonText::megohms(double value, bool overRange)
{
    if (overRange && !std::isfinite(value))
        return QCoreApplication::translate("ReasonText", "beyond the range");
    const QString text = QCoreApplication::translate("ReasonText", "%1 MΩ").arg(measured(value));
    return overRange ? QLatin1Char('>') + text : text;
}

QString ReasonText::celsius(double value)
{
    return QCoreApplication::translate("ReasonText", "%1 °C").arg(exact(value, 0));
}

QString ReasonText::voltage(double kilovolts)
{
    if (kilovolts < 1.0)
        return QCoreApplication::translate("ReasonText", "%1 V").arg(exact(kilovolts * 1000.0));
    return QCoreApplication::translate("ReasonText", "%1 kV").arg(exact(kilovolts));
}
