// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "sync/versionedrecords.h"

#include "journal/scopedtransaction.h"
#include "journal/tagkey.h"
#include "sync/downloadbatches.h"
#include "sync/serverconnection.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDebug>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("VersionedRecords", text);
}

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

// SQLite's constraint failures (its primary result code 19): the row is
// what is wrong, not the journal.
bool breaksRule(const QSqlError &error)
{
    bool number = false;
    const int code = error.nativeErrorCode().toInt(&number);
    return (number && (code & 0xff) == 19) || error.databaseText().contains(QLatin1String("constraint failed"));
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
    // A row the server refuses stays waiting; the others still go.
    QString refused;
    for (const LocalRow &row : qAsConst(rows)) {
        if (uploadRow(row))
            continue;
        if (m_error.isEmpty() || m_server.failure() == ServerConnection::Failure::Unreachable)
            return false;
        qDebug() << "[sync]" << m_table.table << row.key << "refused:" << m_error;
        if (refused.isEmpty())
            refused = m_error;
        m_error.clear();
    }
    m_error = refused;
    return refused.isEmpty();
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
        current = lockServerRow(m_table.naturalKeyColumn, naturalKeyOf(row.fields), ok);
    if (!ok)
        return failLocal(m_server.errorString());

    Outcome outcome = !current ? Outcome::Inserted
                      : current->key == row.key && current->version == row.syncedVersion ? Outcome::Updated
                      : sameValues(current->fields, row.fields)                          ? Outcome::Same
                                                                                         : Outcome::Conflict;
    // Renamed here onto a tag another item took on the server meanwhile:
    // that item got there first.
    if (outcome == Outcome::Updated && otherHasKeyOnServer(row, ok))
        outcome = Outcome::Clash;
    if (!ok)
        return failLocal(m_server.errorString());
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
    case Outcome::Clash:
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
        m_notices << tr("%1 was changed on the server before your edit reached it: the server's version stays, "
                        "your edit is kept in the history.")
                         .arg(describe(row.fields));
        return takeServerVersion(row, *current, true);
    case Outcome::Clash:
        ++m_conflicts;
        qDebug() << "[sync]" << m_table.table << row.key << "clashes with another row's natural key";
        m_notices << tr("%1 keeps its tag %2: another item on the server has the tag %3. Your edit is kept in "
                        "the item's history.")
                         .arg(describe(current->fields), fieldOf(current->fields, m_table.naturalKey).toString(),
                              fieldOf(row.fields, m_table.naturalKey).toString());
        return takeServerVersion(row, *current, true);
    }
    return true;
}

QString VersionedRecords::naturalKeyOf(const QVariantList &fields) const
{
    return TagKey::of(fieldOf(fields, m_table.naturalKey).toString());
}

// Another row on the server has the natural key this edit gives the row.
bool VersionedRecords::otherHasKeyOnServer(const LocalRow &row, bool &ok)
{
    if (m_table.naturalKey.isEmpty())
        return false;
    QSqlQuery query(m_server.database());
    query.prepare(QStringLiteral("SELECT 1 FROM %1 WHERE %2 = ? AND %3 <> ?::uuid")
                      .arg(m_table.table, m_table.naturalKeyColumn, m_table.serverKey));
    query.addBindValue(naturalKeyOf(row.fields));
    query.addBindValue(row.key);
    ok = query.exec() || m_server.fail(query.lastError());
    return ok && query.next();
}

// A row as the user knows it: an item by its tag, a test's details by the
// test's start.
QString VersionedRecords::describe(const QVariantList &fields) const
{
    if (!m_table.naturalKey.isEmpty())
        return tr("The register item %1").arg(fieldOf(fields, m_table.naturalKey).toString());
    const QString equipment = fieldOf(fields, QStringLiteral("equipment")).toString().trimmed();
    return equipment.isEmpty() ? tr("A test's details") : tr("The details of a test of %1").arg(equipment);
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
    if (!m_table.naturalKeyColumn.isEmpty())
        columns << m_table.naturalKeyColumn;
    QSqlQuery query(m_server.database());
    query.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(m_table.table, columns.join(QStringLiteral(", ")), placeholders(columns.size())));
    query.addBindValue(row.key);
    bindAll(query, row.fields);
    bindAll(query, row.extras);
    query.addBindValue(1);
    query.addBindValue(row.updatedMs);
    if (!m_table.naturalKeyColumn.isEmpty())
        query.addBindValue(naturalKeyOf(row.fields));
    return query.exec() || m_server.fail(query.lastError());
}

// The server keeps the version replaced in its history, with who replaced
// it and when, and stamps the new one with the login that made it.
bool VersionedRecords::replaceOnServer(const LocalRow &row, const ServerRow &current)
{
    QStringList changed = m_table.fields;
    changed << m_table.extraColumns() << QStringLiteral("version") << QStringLiteral("updated_ms");
    if (!m_table.naturalKeyColumn.isEmpty())
        changed << m_table.naturalKeyColumn;
    QSqlQuery query(m_server.database());
    query.prepare(QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?")
                      .arg(m_table.table, assignments(changed), m_table.serverKey));
    bindAll(query, row.fields);
    bindAll(query, row.extras);
    query.addBindValue(current.version + 1);
    query.addBindValue(row.updatedMs);
    if (!m_table.naturalKeyColumn.isEmpty())
        query.addBindValue(naturalKeyOf(row.fields));
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
    switch (fitsLocally(row, localId)) {
    case Fit::Fits:
        break;
    case Fit::Wait:
        return true;
    case Fit::LeaveOut:
        return leaveOut(row, tr("its tag is another item's here"));
    }
    // The version this journal had synced is replaced: it stays in its
    // history, as on the server.
    return keepReplaced(localId) && updateLocally(localId, version, row);
}

// Whether a row that came down may take its natural key here: not when
// another row has it. That row, edited here and not yet up (renamed onto
// the tag, or added with it), settles it with its upload: a new one
// becomes the server's row then, a renamed one keeps its tag if the
// server's row got there first; until then the server's row waits.
// Another row here that is the server's already means that the server
// holds two rows of one key: this one is left out.
VersionedRecords::Fit VersionedRecords::fitsLocally(const ServerRow &row, qint64 localId)
{
    if (m_table.naturalKey.isEmpty())
        return Fit::Fits;
    QSqlQuery query(m_journal);
    query.prepare(QStringLiteral("SELECT version, synced_version FROM %1 WHERE %2 = ? AND %3 <> ?")
                      .arg(m_table.table, m_table.naturalKeyColumn, m_table.localId));
    query.addBindValue(naturalKeyOf(row.fields));
    query.addBindValue(localId);
    if (!query.exec() || !query.next())
        return Fit::Fits;
    const int version = query.value(0).toInt();
    const int syncedVersion = query.value(1).toInt();
    if (syncedVersion == 0)
        return Fit::Wait;
    if (version != syncedVersion) {
        m_deferred = true;
        return Fit::Wait;
    }
    return Fit::LeaveOut;
}

// Told once: the cursor moves past the row.
bool VersionedRecords::leaveOut(const ServerRow &row, const QString &why)
{
    qDebug() << "[sync] left out" << m_table.table << row.key << why;
    m_notices << tr("%1 on the server was left out (%2).").arg(describe(row.fields), why);
    return true;
}

bool VersionedRecords::keepReplaced(qint64 localId)
{
    QSqlQuery query(m_journal);
    query.prepare(m_table.localKeep());
    query.addBindValue(QDateTime::currentMSecsSinceEpoch());
    query.addBindValue(QStringLiteral("replaced"));
    query.addBindValue(localId);
    return query.exec() || failLocal(query.lastError().text());
}

bool VersionedRecords::insertLocally(const ServerRow &row)
{
    QSqlQuery query(m_journal);
    switch (fitsLocally(row, -1)) {
    case Fit::Fits:
        break;
    case Fit::Wait:
        return true;
    case Fit::LeaveOut:
        return leaveOut(row, tr("its tag is another item's here"));
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
    if (!m_table.naturalKeyColumn.isEmpty())
        columns << m_table.naturalKeyColumn;
    query.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(m_table.table, columns.join(QStringLiteral(", ")), placeholders(columns.size())));
    for (const QVariant &value : row.fields)
        query.addBindValue(orEmpty(value));
    query.addBindValue(m_table.owner.isEmpty() ? QVariant(row.key) : QVariant(ownerId));
    query.addBindValue(row.version);
    query.addBindValue(row.version);
    query.addBindValue(row.updatedMs);
    if (!m_table.naturalKeyColumn.isEmpty())
        query.addBindValue(naturalKeyOf(row.fields));
    if (!query.exec()) {
        // A row that breaks a rule the journal keeps (a tag not a tag)
        // is left out; the journal stays as it was.
        if (breaksRule(query.lastError()))
            return leaveOut(row, query.lastError().databaseText());
        return failLocal(query.lastError().text());
    }
    ++m_downloaded;
    return link(m_table.owner.isEmpty() ? query.lastInsertId().toLongLong() : ownerId, row);
}

// Unless an edit here came in meanwhile.
bool VersionedRecords::updateLocally(qint64 localId, int localVersion, const ServerRow &row)
{
    QStringList changed = m_table.fields;
    changed << QStringLiteral("version") << QStringLiteral("synced_version") << QStringLiteral("updated_ms");
    if (!m_table.naturalKeyColumn.isEmpty())
        changed << m_table.naturalKeyColumn;
    QSqlQuery query(m_journal);
    query.prepare(QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ? AND version = ?")
                      .arg(m_table.table, assignments(changed), m_table.localId));
    for (const QVariant &value : row.fields)
        query.addBindValue(orEmpty(value));
    for (const QVariant &value : {QVariant(row.version), QVariant(row.version), QVariant(row.updatedMs)})
        query.addBindValue(value);
    if (!m_table.naturalKeyColumn.isEmpty())
        query.addBindValue(naturalKeyOf(row.fields));
    query.addBindValue(localId);
    query.addBindValue(localVersion);
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
