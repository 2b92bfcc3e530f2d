// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QMetaType>
#include <QString>
#include <QStringList>

#include <limits>

// The judgement of a test against the criteria that apply to it, with every
// reason in words: what was compared with what, what could not be assessed
// and why, what was or was not corrected, and the rules it rests on.
struct Verdict
{
    enum class Outcome { Pass, Fail, NotAssessed };

    Outcome outcome = Outcome::NotAssessed;
    QStringList reasons;
    // The citations of the rules applied ("IEEE 43-2013, 12.3"), each once,
    // in the order they were applied.
    QStringList rules;
    // What does not change the outcome but should not pass unseen: a test
    // voltage above the recommended one.
    QStringList warnings;
    // What a pass rests on ("IR1min", "PI") and what the rules ask for that
    // it does not ("PI not measured"); a pass with gaps is a qualified one.
    QStringList assessed;
    QStringList gaps;

    // The insulation resistance the verdict judged (IR1min, or else the
    // final reading), as measured: a lower bound where `measuredOverRange`.
    double measuredMegohms = std::numeric_limits<double>::quiet_NaN();
    bool measuredOverRange = false;
    // The same at the base of the rule that judged it (where the medium is
    // not known, the lower end of its range); NaN where not corrected there.
    double judgedMegohms = std::numeric_limits<double>::quiet_NaN();
    double judgedBaseCelsius = std::numeric_limits<double>::quiet_NaN();

    // What the tables and the trend show: the one-minute (or final)
    // resistance, R10min and the final one corrected to the test's chosen
    // base (NaN when not corrected), and how.
    double correctedMegohms = std::numeric_limits<double>::quiet_NaN();
    double correctedR600 = std::numeric_limits<double>::quiet_NaN();
    double correctedFinalMegohms = std::numeric_limits<double>::quiet_NaN();
    double baseCelsius = std::numeric_limits<double>::quiet_NaN();
    // "to 40 °C, halving every 10 °C, an approximation"; "not corrected: no temperature given".
    QString correction;

    // The minimum insulation resistance (at `judgedBaseCelsius`, or as
    // measured where not corrected) and PI the criteria asked for; NaN where
    // none applied.
    double minimumMegohms = std::numeric_limits<double>::quiet_NaN();
    double minimumPi = std::numeric_limits<double>::quiet_NaN();
    // The same minimum at `baseCelsius`, for a line drawn among corrected
    // values; NaN where it cannot be brought there.
    double shownMinimumMegohms = std::numeric_limits<double>::quiet_NaN();

    // A pass that did not assess everything its rules ask for.
    bool isQualified() const;
    // "Pass", "Fail", "Not assessed", or a qualified pass with what it
    // rests on: "Pass on IR1min; PI not measured"; translated.
    QString outcomeText() const;
    static QString outcomeText(Outcome outcome);
    // Qualified passes together, as a chart's legend names them.
    static QString qualifiedPassText();
    // Adds a citation once.
    void cite(const QString &rule);
};

Q_DECLARE_METATYPE(Verdict)
