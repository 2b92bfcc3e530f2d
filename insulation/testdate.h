// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "insulation/insulationtest.h"
#include "insulation/testdetails.h"

#include <QCoreApplication>
#include <QLocale>
#include <QString>

// When a test was made, as every list and report says it. A live test's
// readings carry their time; a record of the meter's memory carries none,
// and only the time it was downloaded is known until the technician gives
// the test's date in its details.
class TestDate
{
    Q_DECLARE_TR_FUNCTIONS(TestDate)

public:
    TestDate() = delete;

    // The date given in the details, else a live test's start; 0 for a
    // memory record whose date was not given.
    static qint64 testedMs(const InsulationTest &test, const TestDetails &details);
    static bool isKnown(const InsulationTest &test, const TestDetails &details);
    // Whether the test's date is the technician's to give: its readings
    // carry none of their own.
    static bool isGiven(const InsulationTest &test);
    // The date and time in the formats given; for a memory record without a
    // date "date unknown, downloaded 2026-12-11", in the date format.
    static QString text(const InsulationTest &test, const TestDetails &details, const QLocale &locale,
                        const QString &dateFormat, const QString &timeFormat);
    // The same for a time kept apart from its test: `known` false, `ms` is
    // when it was downloaded.
    static QString text(qint64 ms, bool known, const QLocale &locale, const QString &dateFormat,
                        const QString &timeFormat);
    // The date alone: "2026-12-11", or "date unknown, downloaded 2026-12-11".
    static QString dateText(qint64 ms, bool known, const QLocale &locale, const QString &dateFormat);
};
