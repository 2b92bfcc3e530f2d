// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "insulation/verdict.h"

#include <QColor>

// The colours the program speaks in, in its windows and on paper alike: a
// verdict's green, olive (a pass that did not assess everything its rules
// ask for), red or grey, the accent of its series and headings, the
// amber of what warns, and the quieter colours of what only frames the rest.
class Palette
{
public:
    Palette() = delete;

    static constexpr QColor pass{0x2e, 0x7d, 0x32};
    static constexpr QColor qualifiedPass{0x82, 0x77, 0x17};
    static constexpr QColor fail{0xc6, 0x28, 0x28};
    static constexpr QColor notAssessed{0x5a, 0x5a, 0x5a};

    // A chart's resistance, a report's headings and rules.
    static constexpr QColor accent{0x1f, 0x4e, 0x79};
    // An interrupted test, a falling trend, a reading beyond the range.
    static constexpr QColor warning{0xc7, 0x78, 0x00};
    // A window chart's second series (PI, leakage current) shares the amber.
    static constexpr QColor secondSeries = warning;
    // The PI of a report's trend, apart from the warnings' amber.
    static constexpr QColor reportPi{0x6a, 0x3d, 0x9a};

    // A report's page footer and the rule above it.
    static constexpr QColor muted{0x6b, 0x72, 0x80};
    // A report chart's tick labels.
    static constexpr QColor tickLabel{0x37, 0x41, 0x51};
    // The 15 s to 10 min marks on a curve, and their names.
    static constexpr QColor markLine{0x9e, 0x9e, 0x9e};
    static constexpr QColor markText{0x61, 0x61, 0x61};

    static QColor outcome(Verdict::Outcome outcome, bool qualified = false);
    static QColor of(const Verdict &verdict);
};
