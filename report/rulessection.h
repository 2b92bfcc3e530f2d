// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "report/reportcontent.h"

#include <QCoreApplication>
#include <QString>

// The end of a report: every rule its verdicts rest on, once, with what it
// stands for.
class RulesSection
{
    Q_DECLARE_TR_FUNCTIONS(RulesSection)

public:
    RulesSection() = delete;

    // The citations of the tests' verdicts, each once, in the order met.
    static QStringList rulesOf(const QList<ReportContent::Test> &tests);
    // Empty when no verdict cites a rule.
    static QString html(const QList<ReportContent::Test> &tests);
};
