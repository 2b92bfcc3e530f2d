// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "insulation/verdict.h"

#include <QCoreApplication>

bool Verdict::isQualified() const
{
    return outcome == Outcome::Pass && !gaps.isEmpty();
}

QString Verdict::outcomeText() const
{
    if (!isQualified())
        return outcomeText(outcome);
    const QString on = assessed.join(QCoreApplication::translate("Verdict", " and "));
    return QCoreApplication::translate("Verdict", "Pass on %1; %2").arg(on, gaps.join(QStringLiteral("; ")));
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

QString Verdict::qualifiedPassText()
{
    return QCoreApplication::translate("Verdict", "Pass, not fully assessed");
}

void Verdict::cite(const QString &rule)
{
    if (!rule.isEmpty() && !rules.contains(rule))
        rules << rule;
}
