// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "report/reportcontent.h"

#include <QCoreApplication>
#include <QString>

// The start of a report: its title and what is known of the equipment, the
// item's register entry or, for a test kept without an item, the details
// given with the test.
class ItemSection
{
    Q_DECLARE_TR_FUNCTIONS(ItemSection)

public:
    ItemSection() = delete;

    static QString title(const ReportContent &content);
    static QString titleHtml(const ReportContent &content);
    static QString detailsHtml(const ReportContent &content);

    // The base given, or the kind's default, said so.
    static QString baseText(double baseCelsius, TestDetails::EquipmentKind kind);
};
