// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "insulation/verdict.h"

#include <QCoreApplication>

QString Verdict::outcomeText() const
{
    return outcomeText(outcome);
}

QString Verdict::outcomeText(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Pass:
        return QCoreApplication::translate("Verdict", "Pass");
    case Outcome::Fail:
        return QCoreApplication::translate("Verdict", "Fail");
    case Outcome::NotAssessed:
        break;
    }
    return QCoreApplication::translate("Verdict", "Not assessed");
}
