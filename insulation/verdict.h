// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QMetaType>
#include <QString>
#include <QStringList>

#include <limits>

// The judgement of a test against the criteria that apply to it, with every
// reason in words: what was compared with what, what could not be assessed
// and why, what was or was not corrected.
struct Verdict
{
    enum class Outcome { Pass, Fail, NotAssessed };

    Outcome outcome = Outcome::NotAssessed;
    QStringList reasons;
    // What the verdict used, for reports: the corrected one-minute (or
    // final) resistance and the base it was corrected to (NaN when not).
    double correctedMegohms = std::numeric_limits<double>::quiet_NaN();
    double correctedR600 = std::numeric_limits<double>::quiet_NaN();
    double correctedFinalMegohms = std::numeric_limits<double>::quiet_NaN();
    double baseCelsius = std::numeric_limits<double>::quiet_NaN();
    // The minimum insulation resistance and PI the criteria asked for (NaN
    // where none applied).
    double minimumMegohms = std::numeric_limits<double>::quiet_NaN();
    double minimumPi = std::numeric_limits<double>::quiet_NaN();

    // "Pass", "Fail" or "Not assessed", translated.
    QString outcomeText() const;
    static QString outcomeText(Outcome outcome);
};

Q_DECLARE_METATYPE(Verdict)
