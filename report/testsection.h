// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "report/reportcontent.h"

#include <QCoreApplication>
#include <QString>

// One test of a report as a table: when and how it ran and under what
// conditions, the readings at the marks and the ratios of its curve, the
// values corrected to the base temperature, the meter's own values, and the
// verdict with every reason. Its first row names the test and is repeated
// where the table continues on a new page.
class TestSection
{
    Q_DECLARE_TR_FUNCTIONS(TestSection)

public:
    TestSection() = delete;

    // `number` of `count` tests in the report.
    static QString html(const ReportContent::Test &test, int number, int count);
    // A VOLT, CAP or RES reading: one line.
    static QString measurementHtml(const ReportContent::Test &test);

    static QString statusText(InsulationTest::Status status);
    static QString originText(InsulationTest::Origin origin);
    // A resistance; beyond the range without a known limit it says so.
    static QString megohmsText(double megohms, bool overRange = false);
};
