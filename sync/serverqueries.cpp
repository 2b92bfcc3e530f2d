// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "sync/serverqueries.h"

#include "journal/sqlvalue.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

ServerQueries::ServerQueries(QSqlDatabase server)
    : m_server(std::move(server))
{
}

QList<ServerTest> ServerQueries::itemTrend(const QString &itemUuid) const
{
    return select(QStringLiteral("SELECT test_uuid, session_uuid, started_ms, ended_ms, mode, set_volts,"
                                 " insulation_celsius FROM test_details WHERE equipment_uuid = ?::uuid"
                                 " ORDER BY started_ms"),
                  {itemUuid});
}

QList<ServerTest> ServerQueries::testsBetween(qint64 fromMs, qint64 toMs) const
{
    return select(QStringLiteral("SELECT t.uuid, t.session_uuid, t.started_ms, t.ended_ms, t.mode, t.set_volts,"
                                 " d.insulation_celsius FROM tests t LEFT JOIN test_details d ON d.test_uuid = t.uuid"
                                 " WHERE t.started_ms >= ? AND t.started_ms < ? ORDER BY t.started_ms"),
                  {fromMs, toMs});
}

QList<ServerTest> ServerQueries::select(const QString &sql, const QVariantList &values) const
{
    QList<ServerTest> tests;
    QSqlQuery query(m_server);
    query.setForwardOnly(true);
    query.prepare(sql);
    for (const QVariant &value : values)
        query.addBindValue(value);
    if (!query.exec()) {
        m_error = query.lastError().text();
        return tests;
    }
    while (query.next()) {
        ServerTest test;
        test.uuid = query.value(0).toString();
        test.sessionUuid = query.value(1).toString();
        test.startedMs = query.value(2).toLongLong();
        test.endedMs = query.value(3).toLongLong();
        test.mode = query.value(4).toInt();
        test.setVolts = query.value(5).toInt();
        test.insulationCelsius = SqlValue::toNumber(query.value(6));
        tests << test;
    }
    return tests;
}
