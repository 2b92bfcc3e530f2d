// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QCoreApplication>
#include <QString>

// Where each rule a verdict applies comes from, as the verdict cites it:
// standard, edition and clause or table, as far as they could be checked
// against the standard's own text or sources that quote it. Where only the
// content of a table was confirmed and not its number, the citation names
// the table by what it holds instead of guessing the number.
class RuleSource
{
    Q_DECLARE_TR_FUNCTIONS(RuleSource)

public:
    RuleSource() = delete;

    // Recommended minimum IR1min at 40 °C by winding (the clause number and
    // the table title are confirmed by EASA's account of the 2013 changes).
    static QString ieeeMinimumIr();
    // Recommended minimum PI by thermal class (values confirmed; clause not).
    static QString ieeeMinimumPi();
    // PI is not used as an assessment above 5 000 MΩ (threshold confirmed;
    // clause not).
    static QString ieeePiExemption();
    // Clause 5.4, "Polarization index readings", changed in 2013 in a way
    // that concerns random windings (EASA).
    static QString ieeePiReadings();
    // Guidelines for the DC voltage of the test by rated winding voltage.
    static QString ieeeTestVoltage();
    // The correction of rotating machines to 40 °C by halving every 10 °C.
    static QString ieeeCorrection();
    // Minimum insulation resistance and minimum DC test voltage of
    // equipment other than rotating machines.
    static QString netaTable();
    // Conversion factors to 20 °C.
    static QString netaCorrection();
    static QString maker();
    // COMP: the limit set on the meter.
    static QString meterLimit();

    // What a citation above stands for, as a report's list of rules says
    // it: "minimum IR1min at 40 °C by winding"; empty for one it does not know.
    static QString subject(const QString &citation);
};
