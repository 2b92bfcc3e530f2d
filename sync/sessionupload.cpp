// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "sync/sessionupload.h"

#include "journal/scopedtransaction.h"
#include "sync/serverconnection.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

namespace {
// Readings travel as one array per column, unnested on the server: one
// statement and one round trip for thousands of them.
class ReadingColumns
{
public:
    void add(qint64 seq, int kind, int mode, qint64 timeMs, const QByteArray &frame)
    {
        m_seq << QString::number(seq);
        m_kind << QString::number(kind);
        m_mode << QString::number(mode);
        m_time << QString::number(timeMs);
        m_frame << (frame.isEmpty() ? QStringLiteral("\"\"") : QString::fromLatin1(frame.toHex()));
    }
    int size() const { return m_seq.size(); }
    QVariantList values() const
    {
        return {array(m_seq), array(m_kind), array(m_mode), array(m_time), array(m_frame)};
    }
    void clear() { *this = ReadingColumns(); }

private:
    static QString array(const QStringList &items)
    {
        return QLatin1Char('{') + items.join(QLatin1Char(',')) + QLatin1Char('}');
    }

    QStringList m_seq, m_kind, m_mode, m_time, m_frame;
};
} // namespace

SessionUpload::SessionUpload(QSqlDatabase journal, ServerConnection &server, std::function<bool(SyncStep)> step)
    : m_journal(std::move(journal))
    , m_server(server)
    , m_step(std::move(step))
{
}

bool SessionUpload::uploadSessions()
{
    QSqlQuery query(m_journal);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT id FROM sessions WHERE synced = 0 AND from_server = 0"
                                   " AND ended_ms IS NOT NULL ORDER BY started_ms, id")))
        return failLocal(query.lastError().text());
    QList<qint64> waiting;
    while (query.next())
        waiting << query.value(0).toLongLong();
    query.finish();
    for (const qint64 id : qAsConst(waiting)) {
        if (!uploadSession(id))
            return false;
    }
    return true;
}

bool SessionUpload::uploadSession(qint64 sessionId)
{
    QString uuid;
    {
        ScopedTransaction transaction(m_server.database());
        if (!transaction.isActive())
            return failServer(m_server.database().lastError());
        if (!sendSession(sessionId, uuid) || !sendReadings(sessionId, uuid))
            return false;
        if (!transaction.commit())
            return failServer(m_server.database().lastError());
    }
    if (!m_step(SyncStep::SessionSent))
        return false;
    ++m_sessions;
    return markSynced(QStringLiteral("sessions"), {sessionId});
}

bool SessionUpload::sendSession(qint64 sessionId, QString &uuid)
{
    QSqlQuery local(m_journal);
    local.prepare(QStringLiteral("SELECT uuid, source, started_ms, ended_ms, clean_end, meter_path, serial_number,"
                                 " manufacturer, product, program_version FROM sessions WHERE id = ?"));
    local.addBindValue(sessionId);
    if (!local.exec() || !local.next())
        return failLocal(local.lastError().text());
    uuid = local.value(0).toString();
    QSqlQuery query(m_server.database());
    query.prepare(QStringLiteral("INSERT INTO sessions (uuid, source, started_ms, ended_ms, clean_end, meter_path,"
                                 " serial_number, manufacturer, product, program_version)"
                                 " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?) ON CONFLICT (uuid) DO NOTHING"));
    for (int i = 0; i < 10; ++i)
        query.addBindValue(i == 4 ? QVariant(local.value(i).toBool()) : local.value(i));
    return query.exec() || failServer(query.lastError());
}

bool SessionUpload::sendReadings(qint64 sessionId, const QString &uuid)
{
    QSqlQuery insert(m_server.database());
    if (!insert.prepare(QStringLiteral(
            "INSERT INTO readings (session_uuid, seq, kind, mode, time_ms, frame)"
            " SELECT ?::uuid, r.seq, r.kind, r.mode, r.time_ms, decode(r.frame, 'hex')"
            " FROM unnest(?::bigint[], ?::smallint[], ?::smallint[], ?::bigint[], ?::text[])"
            " AS r (seq, kind, mode, time_ms, frame) ON CONFLICT DO NOTHING")))
        return failServer(insert.lastError());
    const auto send = [&](const ReadingColumns &columns) {
        insert.addBindValue(uuid);
        for (const QVariant &value : columns.values())
            insert.addBindValue(value);
        return (insert.exec() || m_server.fail(insert.lastError())) && m_step(SyncStep::ReadingsSent);
    };
    QSqlQuery local(m_journal);
    local.setForwardOnly(true);
    local.prepare(QStringLiteral("SELECT seq, kind, mode, time_ms, frame FROM readings WHERE session_id = ?"
                                 " ORDER BY seq"));
    local.addBindValue(sessionId);
    if (!local.exec())
        return failLocal(local.lastError().text());
    ReadingColumns columns;
    while (local.next()) {
        columns.add(local.value(0).toLongLong(), local.value(1).toInt(), local.value(2).toInt(),
                    local.value(3).toLongLong(), local.value(4).toByteArray());
        if (columns.size() == batchSize) {
            if (!send(columns))
                return failLocal(m_server.errorString());
            columns.clear();
        }
    }
    if (columns.size() > 0 && !send(columns))
        return failLocal(m_server.errorString());
    return true;
}

bool SessionUpload::uploadTests()
{
    QSqlQuery local(m_journal);
    local.setForwardOnly(true);
    if (!local.exec(QStringLiteral("SELECT tests.id, tests.uuid, sessions.uuid, first_seq, last_seq, mode, origin,"
                                   " status, tests.started_ms, tests.ended_ms, set_volts FROM tests"
                                   " JOIN sessions ON sessions.id = tests.session_id"
                                   " WHERE tests.synced = 0 AND sessions.synced = 1 AND sessions.from_server = 0"
                                   " ORDER BY tests.id")))
        return failLocal(local.lastError().text());
    QList<qint64> sent;
    {
        ScopedTransaction transaction(m_server.database());
        if (!transaction.isActive())
            return failServer(m_server.database().lastError());
        QSqlQuery insert(m_server.database());
        insert.prepare(QStringLiteral("INSERT INTO tests (uuid, session_uuid, first_seq, last_seq, mode, origin,"
                                      " status, started_ms, ended_ms, set_volts)"
                                      " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?) ON CONFLICT (uuid) DO NOTHING"));
        while (local.next()) {
            for (int i = 1; i <= 10; ++i)
                insert.addBindValue(local.value(i));
            if (!insert.exec())
                return failServer(insert.lastError());
            sent << local.value(0).toLongLong();
        }
        local.finish();
        if (sent.isEmpty())
            return true;
        if (!transaction.commit())
            return failServer(m_server.database().lastError());
    }
    if (!m_step(SyncStep::TestsSent))
        return false;
    m_tests += sent.size();
    return markSynced(QStringLiteral("tests"), sent);
}

bool SessionUpload::markSynced(const QString &table, const QList<qint64> &ids)
{
    ScopedTransaction transaction(m_journal);
    QSqlQuery query(m_journal);
    query.prepare(QStringLiteral("UPDATE %1 SET synced = 1 WHERE id = ?").arg(table));
    for (const qint64 id : ids) {
        query.addBindValue(id);
        if (!query.exec())
            return failLocal(query.lastError().text());
    }
    return transaction.commit() || failLocal(m_journal.lastError().text());
}

bool SessionUpload::failLocal(const QString &reason)
{
    if (m_error.isEmpty())
        m_error = reason;
    return false;
}

bool SessionUpload::failServer(const QSqlError &error)
{
    m_server.fail(error);
    return failLocal(m_server.errorString());
}
