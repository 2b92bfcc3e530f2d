// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "sync/versionedrecords.h"

#include "journal/scopedtransaction.h"
#include "sync/downloadbatches.h"
#include "sync/serverconnection.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDebug>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

namespace {
QString placeholders(int count)
{
    QStringList marks;
    for (int i = 0; i < count; ++i)
        marks << QStringLiteral("?");
    return marks.join(QStringLiteral(", "));
}

QString assignments(const QStringList &columns)
{
    QStringList parts;
    for (const QString &column : columns)
        parts << column + QStringLiteral(" = ?");
    return parts.join(QStringLiteral(", "));
}

void bindAll(QSqlQuery &query, const QVariantList &values)
{
    for (const QVariant &value : values)
        query.addBindValue(value);
}

// The server and the journal give back numbers of different types; what
// counts is the value.
bool sameValues(const QVariantList &a, const QVariantList &b)
{
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i) {
        if (a.at(i).isNull() != b.at(i).isNull() || a.at(i).toString() != b.at(i).toString())
            return false;
    }
    return true;
}

// A null text would be kept as NULL, which the journal's columns refuse.
QVariant orEmpty(const QVariant &value)
{
    return value.isNull() && value.type() == QVariant::String ? QVariant(QStringLiteral("")) : value;
}
} // namespace

VersionedRecords::VersionedRecords(const VersionedTable &table, QSqlDatabase journal, ServerConnection &server,
                                   std::function<bool(SyncStep)> step)
    : m_table(table)
    , m_journal(std::move(journal))
    , m_server(server)
    , m_step(std::move(step))
{
}

bool VersionedRecords::upload()
{
    QList<LocalRow> rows;
    if (!readPending(rows))
        return false;
    for (const LocalRow &row : qAsConst(rows)) {
        if (!uploadRow(row))
            return false;
    }
    return true;
}

bool VersionedRecords::readPending(QList<LocalRow> &rows)
{
    QSqlQuery query(m_journal);
    query.setForwardOnly(true);
    if (!query.exec(m_table.localPending()))
        return failLocal(query.lastError().text());
    const int fieldCount = m_table.fields.size();
    const int extraCount = m_table.extras.size();
    while (query.next()) {
        LocalRow row;
        row.localId = query.value(0).toLongLong();
        row.key = query.value(1).toString();
        for (int i = 0; i < fieldCount; ++i)
            row.fields << query.value(2 + i);
        for (int i = 0; i < extraCount; ++i)
            row.extras << query.value(2 + fieldCount + i);
        row.version = query.value(2 + fieldCount + extraCount).toInt();
        row.syncedVersion = query.value(3 + fieldCount + extraCount).toInt();
        row.updatedMs = query.value(4 + fieldCount + extraCount).toLongLong();
        rows << row;
    }
    return true;
}

// One server transaction per row: the row is locked while this journal's
// edit is weighed against it.
bool VersionedRecords::uploadRow(const LocalRow &row)
{
    ScopedTransaction transaction(m_server.database());
    if (!transaction.isActive())
        return m_server.fail(m_server.database().lastError()) || failLocal(m_server.errorString());
    bool ok = true;
    std::optional<ServerRow> current = lockServerRow(m_table.serverKey, row.key, ok);
    // A row of the same natural key is this one: the one the server has
    // first is it.
    if (ok && !current && !m_table.naturalKey.isEmpty())
        current = lockServerRow(QStringLiteral("lower(%1)").arg(m_table.naturalKey),
                                fieldOf(row.fields, m_table.naturalKey).toString().toLower(), ok);
    if (!ok)
        return failLocal(m_server.errorString());

    const Outcome outcome = !current ? Outcome::Inserted
                            : current->key == row.key && current->version == row.syncedVersion ? Outcome::Updated
                            : sameValues(current->fields, row.fields)                          ? Outcome::Same
                                                                                               : Outcome::Conflict;
    switch (outcome) {
    case Outcome::Inserted:
        ok = insertOnServer(row);
        break;
    case Outcome::Updated:
        ok = replaceOnServer(row, *current);
        break;
    case Outcome::Same:
        break;
    case Outcome::Conflict:
        ok = keepOnServer(row);
        break;
    }
    if (!ok || !transaction.commit())
        return failLocal(ok ? m_server.database().lastError().text() : m_server.errorString());
    if (!m_step(SyncStep::RecordSent))
        return false;

    switch (outcome) {
    case Outcome::Inserted:
        ++m_uploaded;
        return markSent(row, 1);
    case Outcome::Updated:
        ++m_uploaded;
        return markSent(row, current->version + 1);
    case Outcome::Same:
        return takeServerVersion(row, *current, false);
    case Outcome::Conflict:
        ++m_conflicts;
        qDebug() << "[sync]" << m_table.table << row.key << "lost to the server's version" << current->version;
        return takeServerVersion(row, *current, true);
    }
    return true;
}

QVariant VersionedRecords::fieldOf(const QVariantList &fields, const QString &column) const
{
    return fields.value(m_table.fields.indexOf(column));
}

std::optional<VersionedRecords::ServerRow> VersionedRecords::lockServerRow(const QString &column,
                                                                           const QVariant &value, bool &ok)
{
    QSqlQuery query(m_server.database());
    query.prepare(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ? FOR UPDATE")
                      .arg(m_table.serverColumns(), m_table.table, column));
    query.addBindValue(value);
    ok = query.exec() || m_server.fail(query.lastError());
    if (!ok || !query.next())
        return std::nullopt;
    return serverRowOf(query);
}

// The row as the table's serverColumns() lists its columns.
VersionedRecords::ServerRow VersionedRecords::serverRowOf(const QSqlQuery &query) const
{
    ServerRow row;
    int at = 0;
    row.key = query.value(at++).toString();
    for (int i = 0; i < m_table.fields.size(); ++i)
        row.fields << query.value(at++);
    for (int i = 0; i < m_table.keptExtras().size(); ++i)
        row.kept << query.value(at++);
    row.version = query.value(at++).toInt();
    row.updatedMs = query.value(at++).toLongLong();
    return row;
}

bool VersionedRecords::insertOnServer(const LocalRow &row)
{
    QStringList columns = {m_table.serverKey};
    columns << m_table.fields << m_table.extraColumns() << QStringLiteral("version") << QStringLiteral("updated_ms");
    QSqlQuery query(m_server.database());
    query.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(m_table.table, columns.join(QStringLiteral(", ")), placeholders(columns.size())));
    query.addBindValue(row.key);
    bindAll(query, row.fields);
    bindAll(query, row.extras);
    query.addBindValue(1);
    query.addBindValue(row.updatedMs);
    return query.exec() || m_server.fail(query.lastError());
}

// The version replaced goes to the history first.
bool VersionedRecords::replaceOnServer(const LocalRow &row, const ServerRow &current)
{
    QStringList kept = m_table.fields;
    kept << m_table.keptExtras() << QStringLiteral("version") << QStringLiteral("updated_ms")
         << QStringLiteral("updated_by");
    const QString keptColumns = kept.join(QStringLiteral(", "));
    QSqlQuery query(m_server.database());
    query.prepare(QStringLiteral("INSERT INTO %1 (%2, %3, kept_ms, reason) SELECT %2, %3, ?, 'replaced' FROM %4"
                                 " WHERE %2 = ?")
                      .arg(m_table.history, m_table.serverKey, keptColumns, m_table.table));
    query.addBindValue(QDateTime::currentMSecsSinceEpoch());
    query.addBindValue(row.key);
    if (!query.exec())
        return m_server.fail(query.lastError());

    QStringList changed = m_table.fields;
    changed << m_table.extraColumns() << QStringLiteral("version") << QStringLiteral("updated_ms");
    query.prepare(QStringLiteral("UPDATE %1 SET %2, updated_by = current_user, change_xid = pg_current_xact_id()"
                                 " WHERE %3 = ?")
                      .arg(m_table.table, assignments(changed), m_table.serverKey));
    bindAll(query, row.fields);
    bindAll(query, row.extras);
    query.addBindValue(current.version + 1);
    query.addBindValue(row.updatedMs);
    query.addBindValue(row.key);
    return query.exec() || m_server.fail(query.lastError());
}

// The edit that lost, kept under the item it was meant for, with the
// version it was made on.
bool VersionedRecords::keepOnServer(const LocalRow &row)
{
    QStringList kept = {m_table.serverKey};
    kept << m_table.fields << m_table.keptExtras() << QStringLiteral("version") << QStringLiteral("updated_ms")
         << QStringLiteral("kept_ms") << QStringLiteral("reason");
    QSqlQuery query(m_server.database());
    query.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(m_table.history, kept.join(QStringLiteral(", ")), placeholders(kept.size())));
    query.addBindValue(row.key);
    bindAll(query, row.fields);
    for (const QString &column : m_table.keptExtras())
        query.addBindValue(row.extras.value(m_table.extraColumns().indexOf(column)));
    query.addBindValue(row.syncedVersion);
    query.addBindValue(row.updatedMs);
    query.addBindValue(QDateTime::currentMSecsSinceEpoch());
    query.addBindValue(QStringLiteral("conflict"));
    return query.exec() || m_server.fail(query.lastError());
}

// An edit made here while the row was on its way stays waiting: only the
// server's version is noted then.
bool VersionedRecords::markSent(const LocalRow &row, int serverVersion)
{
    QSqlQuery query(m_journal);
    query.prepare(QStringLiteral("UPDATE %1 SET version = CASE WHEN version = ? THEN ? ELSE version END,"
                                 " synced_version = ? WHERE %2 = ?")
                      .arg(m_table.table, m_table.localId));
    for (const QVariant &value : {QVariant(row.version), QVariant(serverVersion), QVariant(serverVersion),
                                  QVariant(row.localId)})
        query.addBindValue(value);
    return query.exec() || failLocal(query.lastError().text());
}

bool VersionedRecords::takeServerVersion(const LocalRow &row, const ServerRow &current, bool keepLocalEdit)
{
    ScopedTransaction transaction(m_journal);
    if (keepLocalEdit && !keepLocally(row))
        return false;
    if (!updateLocally(row.localId, row.version, current))
        return false;
    // Found by its natural key: the same clash once more next time, were
    // the key not the server's now.
    if (!m_table.naturalKey.isEmpty() && current.key != row.key) {
        QSqlQuery query(m_journal);
        query.prepare(QStringLiteral("UPDATE %1 SET %2 = ? WHERE %3 = ?")
                          .arg(m_table.table, m_table.localKey, m_table.localId));
        query.addBindValue(current.key);
        query.addBindValue(row.localId);
        if (!query.exec())
            return failLocal(query.lastError().text());
    }
    return transaction.commit() || failLocal(m_journal.lastError().text());
}

bool VersionedRecords::keepLocally(const LocalRow &row)
{
    QStringList kept = {m_table.localHistoryKey};
    kept << m_table.fields << QStringLiteral("version") << QStringLiteral("updated_ms") << QStringLiteral("kept_ms")
         << QStringLiteral("reason");
    QSqlQuery query(m_journal);
    query.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(m_table.history, kept.join(QStringLiteral(", ")), placeholders(kept.size())));
    query.addBindValue(row.key);
    for (const QVariant &value : row.fields)
        query.addBindValue(orEmpty(value));
    query.addBindValue(row.syncedVersion);
    query.addBindValue(row.updatedMs);
    query.addBindValue(QDateTime::currentMSecsSinceEpoch());
    query.addBindValue(QStringLiteral("conflict"));
    return query.exec() || failLocal(query.lastError().text());
}

bool VersionedRecords::download(const QString &cursor)
{
    QSqlQuery query(m_server.database());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT %1 FROM %2 WHERE change_xid >= ?::xid8 ORDER BY change_xid")
                      .arg(m_table.serverColumns(), m_table.table));
    query.addBindValue(cursor);
    if (!query.exec())
        return m_server.fail(query.lastError()) || failLocal(m_server.errorString());
    DownloadBatches batches(m_journal, rowsPerBatch, m_step);
    const bool done = batches.receiveAll(query, [&](const QSqlQuery &row) {
        if (!batches.beginWrite())
            return failLocal(batches.errorString());
        return receive(serverRowOf(row));
    });
    return done || (m_error.isEmpty() && failLocal(batches.errorString()));
}

// A row edited here and not yet up is left alone: its upload settles it.
bool VersionedRecords::receive(const ServerRow &row)
{
    QSqlQuery local(m_journal);
    local.prepare(m_table.localByKey());
    local.addBindValue(row.key);
    if (!local.exec())
        return failLocal(local.lastError().text());
    if (!local.next())
        return insertLocally(row);
    const qint64 localId = local.value(0).toLongLong();
    const int version = local.value(1).toInt();
    const int syncedVersion = local.value(2).toInt();
    if (version != syncedVersion || row.version == syncedVersion)
        return true;
    return updateLocally(localId, version, row);
}

bool VersionedRecords::insertLocally(const ServerRow &row)
{
    QSqlQuery query(m_journal);
    if (!m_table.naturalKey.isEmpty()) {
        // A row of the same natural key added here and not yet up: its
        // upload makes the two one.
        query.prepare(QStringLiteral("SELECT 1 FROM %1 WHERE %2 = ? COLLATE NOCASE")
                          .arg(m_table.table, m_table.naturalKey));
        query.addBindValue(fieldOf(row.fields, m_table.naturalKey));
        if (!query.exec())
            return failLocal(query.lastError().text());
        if (query.next())
            return true;
    }
    // A row whose owner is not here (its test did not come down) waits for it.
    qint64 ownerId = -1;
    if (!m_table.owner.isEmpty()) {
        query.prepare(QStringLiteral("SELECT id FROM %1 WHERE %2 = ?").arg(m_table.owner, m_table.localKey));
        query.addBindValue(row.key);
        if (!query.exec())
            return failLocal(query.lastError().text());
        if (!query.next())
            return true;
        ownerId = query.value(0).toLongLong();
    }
    QStringList columns = m_table.fields;
    columns << (m_table.owner.isEmpty() ? m_table.localKey : m_table.localId) << QStringLiteral("version")
            << QStringLiteral("synced_version") << QStringLiteral("updated_ms");
    query.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(m_table.table, columns.join(QStringLiteral(", ")), placeholders(columns.size())));
    for (const QVariant &value : row.fields)
        query.addBindValue(orEmpty(value));
    query.addBindValue(m_table.owner.isEmpty() ? QVariant(row.key) : QVariant(ownerId));
    query.addBindValue(row.version);
    query.addBindValue(row.version);
    query.addBindValue(row.updatedMs);
    if (!query.exec())
        return failLocal(query.lastError().text());
    ++m_downloaded;
    return link(m_table.owner.isEmpty() ? query.lastInsertId().toLongLong() : ownerId, row);
}

// Unless an edit here came in meanwhile.
bool VersionedRecords::updateLocally(qint64 localId, int localVersion, const ServerRow &row)
{
    QStringList changed = m_table.fields;
    changed << QStringLiteral("version") << QStringLiteral("synced_version") << QStringLiteral("updated_ms");
    QSqlQuery query(m_journal);
    query.prepare(QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ? AND version = ?")
                      .arg(m_table.table, assignments(changed), m_table.localId));
    for (const QVariant &value : row.fields)
        query.addBindValue(orEmpty(value));
    for (const QVariant &value : {QVariant(row.version), QVariant(row.version), QVariant(row.updatedMs),
                                  QVariant(localId), QVariant(localVersion)})
        query.addBindValue(value);
    if (!query.exec())
        return failLocal(query.lastError().text());
    if (query.numRowsAffected() == 0) {
        // Edited here since it was read: that edit goes up on the server's.
        query.prepare(QStringLiteral("UPDATE %1 SET synced_version = ? WHERE %2 = ?")
                          .arg(m_table.table, m_table.localId));
        query.addBindValue(row.version);
        query.addBindValue(localId);
        return query.exec() || failLocal(query.lastError().text());
    }
    ++m_downloaded;
    return link(localId, row);
}

// What the table's link binds, by name: the row's id here, else one of its
// fields or kept extras.
bool VersionedRecords::link(qint64 localId, const ServerRow &row)
{
    QSqlQuery query(m_journal);
    query.prepare(m_table.link.sql);
    for (const QString &name : m_table.link.values) {
        if (name == QLatin1String("id"))
            query.addBindValue(localId);
        else if (m_table.fields.contains(name))
            query.addBindValue(fieldOf(row.fields, name));
        else
            query.addBindValue(row.kept.value(m_table.keptExtras().indexOf(name)));
    }
    return query.exec() || failLocal(query.lastError().text());
}

bool VersionedRecords::failLocal(const QString &reason)
{
    m_error = reason;
    return false;
}
