// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "insulation/verdict.h"

#include <QColor>

// A verdict's colour wherever the window shows one: green, red, grey for a
// test that could not be judged, and olive for a pass that did not assess
// everything its rules ask for.
class VerdictColour
{
public:
    VerdictColour() = delete;

    static QColor of(Verdict::Outcome outcome, bool qualified = false);
    static QColor of(const Verdict &verdict);
};
