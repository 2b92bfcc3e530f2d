// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "report/reportcolours.h"

QColor ReportColours::outcome(Verdict::Outcome outcome, bool qualified)
{
    switch (outcome) {
    case Verdict::Outcome::Pass:
        return qualified ? QColor(0x82, 0x77, 0x17) : QColor(0x2e, 0x7d, 0x32);
    case Verdict::Outcome::Fail:
        return QColor(0xc6, 0x28, 0x28);
    case Verdict::Outcome::NotAssessed:
        break;
    }
    return QColor(0x5a, 0x5a, 0x5a);
}

QColor ReportColours::of(const Verdict &verdict)
{
    return outcome(verdict.outcome, verdict.isQualified());
}

QColor ReportColours::warning()
{
    return QColor(0xc7, 0x78, 0x00);
}

QColor ReportColours::accent()
{
    return QColor(0x1f, 0x4e, 0x79);
}

QColor ReportColours::muted()
{
    return QColor(0x6b, 0x72, 0x80);
}
