// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "report/reportcontent.h"

#include <QCoreApplication>
#include <QDate>
#include <QSqlDatabase>
#include <QString>

#include <optional>

// Gathers what a report shows from the journal: a test with its curve,
// details, values and verdict, or every test of an item in a date range,
// and the item's trend over all its tests.
class ReportSource
{
    Q_DECLARE_TR_FUNCTIONS(ReportSource)

public:
    explicit ReportSource(QSqlDatabase journal);

    std::optional<ReportContent> forTest(qint64 testId);
    // A null date leaves that side open.
    std::optional<ReportContent> forItem(const QString &tag, const QDate &from = QDate(), const QDate &to = QDate());
    // Every test of the item as its trend shows it, the oldest first, with
    // the early warnings.
    QList<TrendAnalysis::Point> trendOf(qint64 itemId);

    QString errorString() const { return m_error; }

private:
    std::optional<ReportContent::Test> judged(qint64 testId) const;

    QSqlDatabase m_journal;
    QString m_error;
};
