// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "insulation/verdict.h"

#include <QColor>

// The colours a report speaks in, the same as the Tests view's: green for
// a pass, olive for a pass that did not assess everything its rules ask
// for, red for a fail, grey where nothing was assessed.
class ReportColours
{
public:
    ReportColours() = delete;

    static QColor outcome(Verdict::Outcome outcome, bool qualified = false);
    static QColor of(const Verdict &verdict);
    // An interrupted test, a falling trend.
    static QColor warning();
    static QColor accent();
    static QColor muted();
};
