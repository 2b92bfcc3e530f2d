// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QVariantList>

// A test as the team's server lists it, with the details a trend needs.
struct ServerTest
{
    QString uuid;
    QString sessionUuid;
    qint64 startedMs = 0;
    qint64 endedMs = 0;
    int mode = 0;
    int setVolts = 0;
    double insulationCelsius = 0.0; // NaN when not given
};

// The questions the whole department's history is asked on the server,
// each answered from one of its indexes: an item's tests in time order
// (its trend) and the tests of a stretch of time (a day).
class ServerQueries
{
public:
    explicit ServerQueries(QSqlDatabase server);

    QList<ServerTest> itemTrend(const QString &itemUuid) const;
    // Started from `fromMs` up to, not including, `toMs`.
    QList<ServerTest> testsBetween(qint64 fromMs, qint64 toMs) const;

    QString errorString() const { return m_error; }

private:
    QList<ServerTest> select(const QString &sql, const QVariantList &values) const;

    QSqlDatabase m_server;
    mutable QString m_error;
};
