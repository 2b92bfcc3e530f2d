// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "report/reportcontent.h"

#include <QCoreApplication>
#include <QList>
#include <QString>

// The tests of a report in the order they are read: by the day they were
// made, then by test point (U-E, V-E and W-E of one day together), the
// tests without a point last, each in time order.
class TestGroups
{
    Q_DECLARE_TR_FUNCTIONS(TestGroups)

public:
    TestGroups() = delete;

    static void sort(QList<ReportContent::Test> &tests);
    // When the test was made, or for a memory record without a date when
    // it was downloaded.
    static qint64 msOf(const ReportContent::Test &test);
    static bool sameGroup(const ReportContent::Test &a, const ReportContent::Test &b);
    // Whether any test names its point, and the groups are worth a heading.
    static bool anyNamed(const QList<ReportContent::Test> &tests);
    // "2 Apr 2025 · U-E"; "date unknown, downloaded 2 Apr 2025 · no test point".
    static QString heading(const ReportContent::Test &test);
};
