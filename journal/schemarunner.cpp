// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "journal/schemarunner.h"

#include "journal/scopedtransaction.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

bool SchemaRunner::Result::isUsable() const
{
    return outcome == Outcome::UpToDate || outcome == Outcome::Upgraded || outcome == Outcome::NewerButReadable;
}

SchemaRunner::SchemaRunner(QSqlDatabase database, const QString &infoTable, const std::vector<Revision> &revisions,
                           std::function<bool()> isEmpty)
    : m_database(std::move(database))
    , m_infoTable(infoTable)
    , m_revisions(revisions)
    , m_isEmpty(std::move(isEmpty))
{
}

SchemaRunner::Result SchemaRunner::upgrade()
{
    Result result;
    result.currentVersion = currentVersion();
    const bool empty = m_isEmpty();
    result.storedVersion = empty ? 0 : storedVersion();
    if (!empty && result.storedVersion == 0) {
        result.outcome = Outcome::NotOurs;
        return result;
    }
    if (result.storedVersion > result.currentVersion) {
        result.outcome = storedValue(QStringLiteral("oldest_reader")).toInt() <= result.currentVersion
                             ? Outcome::NewerButReadable
                             : Outcome::NewerRefused;
        return result;
    }
    result.outcome = Outcome::UpToDate;
    for (const Revision &revision : m_revisions) {
        if (revision.version <= result.storedVersion)
            continue;
        if (!apply(revision, result.databaseError)) {
            result.outcome = Outcome::Failed;
            return result;
        }
        result.outcome = Outcome::Upgraded;
    }
    return result;
}

int SchemaRunner::currentVersion() const
{
    return m_revisions.empty() ? 0 : m_revisions.back().version;
}

int SchemaRunner::storedVersion() const
{
    return storedValue(QStringLiteral("version")).toInt();
}

// The table's name is the caller's constant, never a user's value.
QString SchemaRunner::storedValue(const QString &name) const
{
    QSqlQuery query(m_database);
    query.prepare(QStringLiteral("SELECT value FROM %1 WHERE name = ?").arg(m_infoTable));
    query.addBindValue(name);
    if (!query.exec() || !query.next())
        return QString();
    return query.value(0).toString();
}

// The version goes in with the revision's tables, or neither does. Values
// are bound as text: a text column keeps them so, and SQLite's integer
// column takes them as the numbers they are.
bool SchemaRunner::apply(const Revision &revision, QString &error)
{
    ScopedTransaction transaction(m_database);
    QSqlQuery query(m_database);
    const auto failed = [&error](const QSqlError &sqlError) {
        error = sqlError.text();
        return false;
    };
    if (!transaction.isActive())
        return failed(m_database.lastError());
    for (const QString &statement : revision.statements) {
        if (!query.exec(statement))
            return failed(query.lastError());
    }
    if (revision.step && !revision.step(m_database, error))
        return false;
    query.prepare(QStringLiteral("INSERT INTO %1 (name, value) VALUES (?, ?)"
                                 " ON CONFLICT (name) DO UPDATE SET value = excluded.value")
                      .arg(m_infoTable));
    for (const auto &[name, value] :
         {std::pair<QString, int>{QStringLiteral("version"), revision.version},
          std::pair<QString, int>{QStringLiteral("oldest_reader"), revision.oldestReader}}) {
        query.addBindValue(name);
        query.addBindValue(QString::number(value));
        if (!query.exec())
            return failed(query.lastError());
    }
    return transaction.commit() || failed(m_database.lastError());
}
