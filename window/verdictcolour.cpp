// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "window/verdictcolour.h"

QColor VerdictColour::of(Verdict::Outcome outcome, bool qualified)
{
    switch (outcome) {
    case Verdict::Outcome::Pass:
        return QColor(qualified ? QStringLiteral("#827717") : QStringLiteral("#2e7d32"));
    case Verdict::Outcome::Fail:
        return QColor(QStringLiteral("#c62828"));
    case Verdict::Outcome::NotAssessed:
        break;
    }
    return QColor(QStringLiteral("#5a5a5a"));
}

QColor VerdictColour::of(const Verdict &verdict)
{
    return of(verdict.outcome, verdict.isQualified());
}
