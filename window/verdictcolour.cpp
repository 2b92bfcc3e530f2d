// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "window/verdictcolour.h"

QColor VerdictColour::of(Verdict::Outcome outcome)
{
    switch (outcome) {
    case Verdict::Outcome::Pass:
        return QColor(QStringLiteral("#2e7d32"));
    case Verdict::Outcome::Fail:
        return QColor(QStringLiteral("#c62828"));
    case Verdict::Outcome::NotAssessed:
        break;
    }
    return QColor(QStringLiteral("#5a5a5a"));
}
