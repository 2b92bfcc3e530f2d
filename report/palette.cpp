// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "report/palette.h"

QColor Palette::outcome(Verdict::Outcome outcome)
{
    switch (outcome) {
    case Verdict::Outcome::Pass:
        return pass;
    case Verdict::Outcome::Fail:
        return fail;
    case Verdict::Outcome::NotAssessed:
        break;
    }
    return notAssessed;
}
