// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "sync/serverdownload.h"

#include "journal/scopedtransaction.h"
#include "sync/serverconnection.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <optional>

ServerDownload::ServerDownload(QSqlDatabase journal, ServerConnection &server, std::function<bool(SyncStep)> step)
    : m_journal(std::move(journal))
    , m_server(server)
    , m_step(std::move(step))
{
}

bool ServerDownload::downloadSessions(const QString &cursor)
{
    // Not forward-only: the driver would stream it row by row, and the
    // readings asked for meanwhile would cut the stream off.
    QSqlQuery query(m_server.database());
    query.prepare(QStringLiteral("SELECT uuid, source, started_ms, ended_ms, clean_end, meter_path, serial_number,"
                                 " manufacturer, product, program_version FROM sessions"
                                 " WHERE change_xid >= ?::xid8 ORDER BY change_xid"));
    query.addBindValue(cursor);
    if (!query.exec())
        return failServer(query.lastError());
    while (query.next()) {
        bool ok = true;
        if (localId(QStringLiteral("sessions"), query.value(0).toString(), ok) >= 0)
            continue;
        if (!ok || !receiveSession(query))
            return false;
        if (!m_step(SyncStep::Received))
            return false;
    }
    return true;
}

qint64 ServerDownload::localId(const QString &table, const QString &uuid, bool &ok)
{
    QSqlQuery query(m_journal);
    query.prepare(QStringLiteral("SELECT id FROM %1 WHERE uuid = ?").arg(table));
    query.addBindValue(uuid);
    ok = query.exec() || failLocal(query.lastError().text());
    return ok && query.next() ? query.value(0).toLongLong() : -1;
}

// A session and all its readings in one transaction of the journal: a
// session seen here is whole. It is cut into tests already (its tests come
// down as they are), so nothing here cuts it again.
bool ServerDownload::receiveSession(const QSqlQuery &session)
{
    ScopedTransaction transaction(m_journal);
    QSqlQuery insert(m_journal);
    insert.prepare(QStringLiteral("INSERT INTO sessions (uuid, source, started_ms, ended_ms, clean_end, meter_path,"
                                  " serial_number, manufacturer, product, program_version, synced, from_server)"
                                  " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 1, 1)"));
    for (int i = 0; i < 10; ++i)
        insert.addBindValue(i == 4 ? QVariant(session.value(i).toBool() ? 1 : 0) : session.value(i));
    if (!insert.exec())
        return failLocal(insert.lastError().text());
    const qint64 id = insert.lastInsertId().toLongLong();
    if (!receiveReadings(id, session.value(0).toString()) || !countReadings(id))
        return false;
    if (!transaction.commit())
        return failLocal(m_journal.lastError().text());
    ++m_sessions;
    return true;
}

bool ServerDownload::receiveReadings(qint64 localSession, const QString &uuid)
{
    QSqlQuery readings(m_server.database());
    readings.setForwardOnly(true);
    readings.prepare(QStringLiteral("SELECT seq, kind, mode, time_ms, frame FROM readings WHERE session_uuid = ?"
                                    " ORDER BY seq"));
    readings.addBindValue(uuid);
    if (!readings.exec())
        return failServer(readings.lastError());
    QSqlQuery insert(m_journal);
    insert.prepare(QStringLiteral("INSERT INTO readings (session_id, seq, kind, mode, time_ms, frame)"
                                  " VALUES (?, ?, ?, ?, ?, ?)"));
    while (readings.next()) {
        insert.bindValue(0, localSession);
        for (int i = 0; i < 5; ++i)
            insert.bindValue(i + 1, readings.value(i));
        if (!insert.exec())
            return failLocal(insert.lastError().text());
    }
    return true;
}

bool ServerDownload::countReadings(qint64 localSession)
{
    QSqlQuery query(m_journal);
    query.prepare(QStringLiteral("INSERT INTO session_counts (session_id, kind, mode, count)"
                                 " SELECT session_id, kind, mode, count(*) FROM readings"
                                 " WHERE session_id = ? GROUP BY kind, mode"));
    query.addBindValue(localSession);
    if (!query.exec())
        return failLocal(query.lastError().text());
    query.prepare(QStringLiteral("UPDATE sessions SET tests_through_seq ="
                                 " coalesce((SELECT max(seq) FROM readings WHERE session_id = ?), -1) WHERE id = ?"));
    query.addBindValue(localSession);
    query.addBindValue(localSession);
    return query.exec() || failLocal(query.lastError().text());
}

bool ServerDownload::downloadTests(const QString &cursor)
{
    QSqlQuery query(m_server.database());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT uuid, session_uuid, first_seq, last_seq, mode, origin, status, started_ms,"
                                 " ended_ms, set_volts FROM tests WHERE change_xid >= ?::xid8 ORDER BY change_xid"));
    query.addBindValue(cursor);
    if (!query.exec())
        return failServer(query.lastError());
    QSqlQuery insert(m_journal);
    insert.prepare(QStringLiteral("INSERT INTO tests (uuid, session_id, first_seq, last_seq, mode, origin, status,"
                                  " started_ms, ended_ms, set_volts, synced) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 1)"));
    std::optional<ScopedTransaction> batch;
    int inBatch = 0;
    while (query.next()) {
        bool ok = true;
        if (localId(QStringLiteral("tests"), query.value(0).toString(), ok) >= 0)
            continue;
        const qint64 session = ok ? localId(QStringLiteral("sessions"), query.value(1).toString(), ok) : -1;
        if (!ok)
            return false;
        if (session < 0)
            continue;
        if (!batch)
            batch.emplace(m_journal);
        insert.addBindValue(query.value(0));
        insert.addBindValue(session);
        for (int i = 2; i < 10; ++i)
            insert.addBindValue(query.value(i));
        if (!insert.exec())
            return failLocal(insert.lastError().text());
        ++m_tests;
        if (++inBatch == 500) {
            if (!batch->commit())
                return failLocal(m_journal.lastError().text());
            batch.reset();
            inBatch = 0;
            if (!m_step(SyncStep::Received))
                return false;
        }
    }
    return !batch || batch->commit() || failLocal(m_journal.lastError().text());
}

bool ServerDownload::failLocal(const QString &reason)
{
    if (m_error.isEmpty())
        m_error = reason;
    return false;
}

bool ServerDownload::failServer(const QSqlError &error)
{
    m_server.fail(error);
    return failLocal(m_server.errorString());
}
