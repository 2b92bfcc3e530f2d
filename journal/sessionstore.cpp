// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "journal/sessionstore.h"

#include "journal/scopedtransaction.h"
#include "journal/sqlvalue.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <limits>

namespace {
const QString sessionColumns = QStringLiteral(
    "id, uuid, source, started_ms, ended_ms, clean_end, meter_path, serial_number, manufacturer, product, "
    "program_version");

JournalSession sessionFrom(const QSqlQuery &query)
{
    JournalSession session;
    session.id = query.value(0).toLongLong();
    session.uuid = query.value(1).toString();
    session.source = query.value(2).toString();
    session.startedMs = query.value(3).toLongLong();
    session.endedMs = query.value(4).isNull() ? -1 : query.value(4).toLongLong();
    session.cleanEnd = query.value(5).toBool();
    session.meterPath = query.value(6).toString();
    session.serialNumber = query.value(7).toString();
    session.manufacturer = query.value(8).toString();
    session.product = query.value(9).toString();
    session.programVersion = query.value(10).toString();
    return session;
}
} // namespace

SessionStore::SessionStore(QSqlDatabase database)
    : m_database(std::move(database))
{
}

qint64 SessionStore::create(const JournalSession &session, RowOrigin origin)
{
    const bool fromServer = origin == RowOrigin::Server;
    QSqlQuery query(m_database);
    query.prepare(QStringLiteral("INSERT INTO sessions (uuid, source, started_ms, ended_ms, clean_end, meter_path,"
                                 " serial_number, manufacturer, product, program_version, synced, from_server)"
                                 " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    for (const QVariant &value :
         {SqlValue::ofText(session.uuid), SqlValue::ofText(session.source), QVariant(session.startedMs),
          session.hasEnded() ? QVariant(session.endedMs) : QVariant(QVariant::LongLong),
          QVariant(session.cleanEnd ? 1 : 0), SqlValue::ofText(session.meterPath),
          SqlValue::ofText(session.serialNumber), SqlValue::ofText(session.manufacturer),
          SqlValue::ofText(session.product), SqlValue::ofText(session.programVersion), QVariant(fromServer ? 1 : 0),
          QVariant(fromServer ? 1 : 0)})
        query.addBindValue(value);
    if (!query.exec()) {
        m_error = query.lastError().text();
        return -1;
    }
    return query.lastInsertId().toLongLong();
}

bool SessionStore::end(qint64 id, qint64 endedMs, bool clean)
{
    ScopedTransaction transaction(m_database);
    QSqlQuery query(m_database);
    query.prepare(QStringLiteral("UPDATE sessions SET ended_ms = ?, clean_end = ? WHERE id = ?"));
    query.addBindValue(endedMs);
    query.addBindValue(clean ? 1 : 0);
    query.addBindValue(id);
    if (!query.exec()) {
        m_error = query.lastError().text();
        return false;
    }
    return countReadings(id) && transaction.commit();
}

bool SessionStore::countReadings(qint64 id)
{
    QSqlQuery query(m_database);
    query.prepare(QStringLiteral("DELETE FROM session_counts WHERE session_id = ?"));
    query.addBindValue(id);
    bool done = query.exec();
    if (done) {
        query.prepare(QStringLiteral("INSERT INTO session_counts (session_id, kind, mode, count)"
                                     " SELECT session_id, kind, mode, count(*) FROM readings"
                                     " WHERE session_id = ? GROUP BY kind, mode"));
        query.addBindValue(id);
        done = query.exec();
    }
    if (!done)
        m_error = query.lastError().text();
    return done;
}

bool SessionStore::remove(qint64 id)
{
    QSqlQuery query(m_database);
    query.prepare(QStringLiteral("DELETE FROM sessions WHERE id = ?"));
    query.addBindValue(id);
    if (query.exec())
        return true;
    m_error = query.lastError().text();
    return false;
}

std::optional<JournalSession> SessionStore::find(qint64 id) const
{
    const QList<JournalSession> found = select(QStringLiteral("WHERE id = ?"), {id});
    if (found.isEmpty())
        return std::nullopt;
    return found.first();
}

qint64 SessionStore::idOf(const QString &uuid, bool *ok) const
{
    QSqlQuery query(m_database);
    query.prepare(QStringLiteral("SELECT id FROM sessions WHERE uuid = ?"));
    query.addBindValue(uuid);
    const bool read = query.exec();
    if (!read)
        m_error = query.lastError().text();
    if (ok)
        *ok = read;
    return read && query.next() ? query.value(0).toLongLong() : -1;
}

std::optional<JournalSession> SessionStore::latest() const
{
    const QList<JournalSession> found =
        select(QStringLiteral("ORDER BY started_ms DESC, id DESC LIMIT 1"), {});
    if (found.isEmpty())
        return std::nullopt;
    return found.first();
}

std::optional<JournalSession> SessionStore::latest(RowOrigin origin) const
{
    const QList<JournalSession> found = select(
        QStringLiteral("WHERE from_server = ? ORDER BY started_ms DESC, id DESC LIMIT 1"),
        {origin == RowOrigin::Server ? 1 : 0});
    if (found.isEmpty())
        return std::nullopt;
    return found.first();
}

QList<JournalSession> SessionStore::list(qint64 fromMs, qint64 toMs) const
{
    return select(QStringLiteral("WHERE started_ms >= ? AND started_ms < ? ORDER BY started_ms DESC, id DESC"),
                  {fromMs < 0 ? std::numeric_limits<qint64>::min() : fromMs,
                   toMs < 0 ? std::numeric_limits<qint64>::max() : toMs});
}

QList<JournalSession> SessionStore::unended() const
{
    return select(QStringLiteral("WHERE ended_ms IS NULL AND from_server = 0 ORDER BY started_ms"), {});
}

qint64 SessionStore::lastReadingTime(qint64 id) const
{
    QSqlQuery query(m_database);
    query.prepare(QStringLiteral("SELECT max(time_ms) FROM readings WHERE session_id = ?"));
    query.addBindValue(id);
    if (!query.exec() || !query.next() || query.value(0).isNull())
        return -1;
    return query.value(0).toLongLong();
}

QList<JournalSession> SessionStore::select(const QString &where, const QVariantList &values) const
{
    QList<JournalSession> sessions;
    QSqlQuery query(m_database);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT %1 FROM sessions %2").arg(sessionColumns, where));
    for (const QVariant &value : values)
        query.addBindValue(value);
    if (!query.exec()) {
        m_error = query.lastError().text();
        return sessions;
    }
    while (query.next())
        sessions.append(sessionFrom(query));
    for (JournalSession &session : sessions)
        fillCounts(session);
    return sessions;
}

// A session that has not ended has no counts kept yet; its few readings are
// counted where they are.
void SessionStore::fillCounts(JournalSession &session) const
{
    QSqlQuery query(m_database);
    query.setForwardOnly(true);
    query.prepare(session.hasEnded()
                      ? QStringLiteral("SELECT kind, mode, count FROM session_counts WHERE session_id = ?")
                      : QStringLiteral("SELECT kind, mode, count(*) FROM readings WHERE session_id = ?"
                                       " GROUP BY kind, mode"));
    query.addBindValue(session.id);
    if (!query.exec())
        return;
    while (query.next())
        session.counts.insert({query.value(0).toInt(), query.value(1).toInt()}, query.value(2).toInt());
}
