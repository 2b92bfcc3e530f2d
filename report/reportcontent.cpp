// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "report/reportcontent.h"

#include <QLocale>

#include <algorithm>
#include <array>

// The countries whose offices buy US Letter rather than A4, as the Unicode
// locale data lists them.
QPageSize::PageSizeId ReportOptions::paperOf(const QLocale &locale)
{
    static constexpr std::array<QLocale::Country, 14> letterCountries{
        QLocale::UnitedStates, QLocale::Canada,      QLocale::Mexico,     QLocale::Chile,
        QLocale::Colombia,     QLocale::Venezuela,   QLocale::Philippines, QLocale::PuertoRico,
        QLocale::CostaRica,    QLocale::Guatemala,   QLocale::Panama,     QLocale::Nicaragua,
        QLocale::ElSalvador,   QLocale::Belize,
    };
    const bool letter = std::find(letterCountries.cbegin(), letterCountries.cend(), locale.country())
                        != letterCountries.cend();
    return letter ? QPageSize::Letter : QPageSize::A4;
}
