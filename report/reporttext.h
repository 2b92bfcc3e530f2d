// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QCoreApplication>
#include <QDate>
#include <QString>

// Dates, durations and values as a report writes them: dates in the
// locale's own order but always with the full year, which a signed
// document should not leave to be guessed.
class ReportText
{
    Q_DECLARE_TR_FUNCTIONS(ReportText)

public:
    ReportText() = delete;

    static QString dateFormat();
    static QString date(const QDate &date);
    static QString dateTime(qint64 msSinceEpoch);
    // The locale's short time, without seconds.
    static QString timeFormat();
    // "45 s", "1 min", "10 min 30 s".
    static QString seconds(int seconds);
    // "1000 V"; "-" for none.
    static QString volts(int volts);
    // "55 %"; "-" for NaN.
    static QString percent(double value);
    // Plain text for HTML, its line breaks kept.
    static QString html(const QString &text);
};
