// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "insulation/trendanalysis.h"

#include <QCoreApplication>
#include <QList>
#include <QString>

// The texts around an item's trend chart: its heading and what it shows,
// and the list of the warnings its numbered rings point to.
class TrendSection
{
    Q_DECLARE_TR_FUNCTIONS(TrendSection)

public:
    TrendSection() = delete;

    static QString headingHtml(const QString &tag);
    // Empty when no point warns; `points` in time order.
    static QString warningsHtml(const QList<TrendAnalysis::Point> &points);
};
