// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "insulation/curveanalysis.h"
#include "insulation/equipmentitem.h"
#include "insulation/insulationtest.h"
#include "insulation/testdetails.h"
#include "insulation/trendanalysis.h"
#include "insulation/verdict.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QPageSize>
#include <QString>

#include <optional>

// Everything a test report shows, gathered from the journal before a page
// is drawn: the tests with their details, values and verdicts, the item they
// belong to and its trend.
struct ReportContent
{
    struct Test
    {
        InsulationTest test; // with its curve
        TestDetails details;
        CurveAnalysis::Values values;
        Verdict verdict;
    };

    enum class Scope { OneTest, ItemTests };

    Scope scope = Scope::OneTest;
    // The item the tests belong to; none for a test kept without one.
    std::optional<EquipmentItem> item;
    // The tests reported on, the oldest first.
    QList<Test> tests;
    // Every test of the item, for its trend (empty without an item).
    QList<TrendAnalysis::Point> trend;
    // The dates asked for, for a report of an item's tests; null: open.
    QDate from;
    QDate to;
    QDateTime made;
};

// What the report looks like, from the options.
struct ReportOptions
{
    QString company;
    // An image file; none when empty or unreadable.
    QString logoFile;
    QPageSize::PageSizeId paper = QPageSize::A4;
    // Who signs; the tests' operator when empty.
    QString technician;

    // Letter where the locale's country uses it, A4 elsewhere.
    static QPageSize::PageSizeId paperOf(const class QLocale &locale);
};
