// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "sync/syncjournal.h"

#include "journal/scopedtransaction.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {
const QString serverIdName = QStringLiteral("server_id");
const QString cursorName = QStringLiteral("cursor");
const QString lastSyncName = QStringLiteral("last_sync_ms");
} // namespace

SyncJournal::SyncJournal(QSqlDatabase journal)
    : m_journal(std::move(journal))
{
}

QString SyncJournal::value(const QString &name, const QString &fallback) const
{
    QSqlQuery query(m_journal);
    query.prepare(QStringLiteral("SELECT value FROM sync_info WHERE name = ?"));
    query.addBindValue(name);
    if (!query.exec()) {
        m_error = query.lastError().text();
        return fallback;
    }
    return query.next() ? query.value(0).toString() : fallback;
}

// An empty value is none: the row goes.
bool SyncJournal::setValue(const QString &name, const QString &value)
{
    QSqlQuery query(m_journal);
    query.prepare(value.isEmpty() ? QStringLiteral("DELETE FROM sync_info WHERE name = ?")
                                  : QStringLiteral("INSERT OR REPLACE INTO sync_info (name, value) VALUES (?, ?)"));
    query.addBindValue(name);
    if (!value.isEmpty())
        query.addBindValue(value);
    if (query.exec())
        return true;
    m_error = query.lastError().text();
    return false;
}

int SyncJournal::waiting() const
{
    QSqlQuery query(m_journal);
    if (!query.exec(QStringLiteral(
            "SELECT (SELECT count(*) FROM sessions WHERE synced = 0 AND from_server = 0 AND ended_ms IS NOT NULL)"
            " + (SELECT count(*) FROM tests WHERE synced = 0)"
            " + (SELECT count(*) FROM equipment WHERE version <> synced_version)"
            " + (SELECT count(*) FROM test_details WHERE version <> synced_version)"))
        || !query.next()) {
        m_error = query.lastError().text();
        return -1;
    }
    return query.value(0).toInt();
}

qint64 SyncJournal::lastSyncMs() const
{
    bool ok = false;
    const qint64 ms = value(lastSyncName).toLongLong(&ok);
    return ok ? ms : -1;
}

QString SyncJournal::cursor() const
{
    return value(cursorName, QStringLiteral("0"));
}

bool SyncJournal::finishSync(const QString &nextCursor, qint64 finishedMs)
{
    ScopedTransaction transaction(m_journal);
    return setValue(cursorName, nextCursor) && setValue(lastSyncName, QString::number(finishedMs))
           && transaction.commit();
}

bool SyncJournal::followServer(const QString &serverId)
{
    const QString known = value(serverIdName);
    if (known == serverId)
        return true;
    ScopedTransaction transaction(m_journal);
    if (!known.isEmpty() && !forgetServer())
        return false;
    return setValue(serverIdName, serverId) && transaction.commit();
}

// What came down from the old server stays, as this journal's own now.
bool SyncJournal::forgetServer()
{
    QSqlQuery query(m_journal);
    for (const QString &statement :
         {QStringLiteral("UPDATE sessions SET synced = 0, from_server = 0"),
          QStringLiteral("UPDATE tests SET synced = 0"), QStringLiteral("UPDATE equipment SET synced_version = 0"),
          QStringLiteral("UPDATE test_details SET synced_version = 0"),
          QStringLiteral("DELETE FROM sync_info WHERE name IN ('cursor', 'last_sync_ms')")}) {
        if (!query.exec(statement)) {
            m_error = query.lastError().text();
            return false;
        }
    }
    return true;
}
