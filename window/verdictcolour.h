// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "insulation/verdict.h"

#include <QColor>

// A verdict's colour wherever the window shows one: green, red, or grey for
// a test that could not be judged.
class VerdictColour
{
public:
    VerdictColour() = delete;

    static QColor of(Verdict::Outcome outcome);
};
