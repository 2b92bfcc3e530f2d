// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "report/palette.h"

QColor Palette::outcome(Verdict::Outcome outcome, bool qualified)
{
    switch (outcome) {
    case Verdict::Outcome::Pass:
        return qualified ? qualifiedPass : pass;
    case Verdict::Outcome::Fail:
        return fail;
    case Verdict::Outcome::NotAssessed:
        break;
    }
    return notAssessed;
}

QColor Palette::of(const Verdict &verdict)
{
    return outcome(verdict.outcome, verdict.isQualified());
}
