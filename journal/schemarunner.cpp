// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "journal/schemarunner.h"

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

namespace {
// The upgrade's transaction: begun by the runner's statements, rolled back
// unless committed.
class UpgradeTransaction
{
public:
    UpgradeTransaction(const QSqlDatabase &database, const QStringList &begin)
        : m_database(database)
    {
        QSqlQuery query(m_database);
        for (const QString &statement : begin) {
            if (!query.exec(statement)) {
                m_error = query.lastError().text();
                if (m_open)
                    rollBack();
                return;
            }
            m_open = true;
        }
    }
    ~UpgradeTransaction()
    {
        if (m_open)
            rollBack();
    }
    UpgradeTransaction(const UpgradeTransaction &) = delete;
    UpgradeTransaction &operator=(const UpgradeTransaction &) = delete;

    bool isOpen() const { return m_open; }
    QString errorString() const { return m_error; }

    bool commit()
    {
        QSqlQuery query(m_database);
        if (query.exec(QStringLiteral("COMMIT"))) {
            m_open = false;
            return true;
        }
        m_error = query.lastError().text();
        return false;
    }

private:
    void rollBack()
    {
        QSqlQuery(m_database).exec(QStringLiteral("ROLLBACK"));
        m_open = false;
    }

    QSqlDatabase m_database;
    QString m_error;
    bool m_open = false;
};
} // namespace

SchemaRunner::Result SchemaRunner::found() const
{
    Result result;
    result.currentVersion = currentVersion();
    const bool empty = m_isEmpty();
    result.storedVersion = empty ? 0 : storedVersion();
    if (!empty && result.storedVersion == 0)
        result.outcome = Outcome::NotOurs;
    else if (result.storedVersion > result.currentVersion)
        result.outcome = storedValue(QStringLiteral("oldest_reader")).toInt() <= result.currentVersion
                             ? Outcome::NewerButReadable
                             : Outcome::NewerRefused;
    else if (result.storedVersion < result.currentVersion)
        result.outcome = Outcome::Older;
    else
        result.outcome = Outcome::UpToDate;
    return result;
}

SchemaRunner::Result SchemaRunner::inspect() const
{
    return found();
}

// Most opens find the database up to date and take no lock; the others
// look again under the lock, since another program may have upgraded it
// meanwhile.
SchemaRunner::Result SchemaRunner::upgrade()
{
    if (const Result before = found(); before.outcome != Outcome::Older)
        return before;
    UpgradeTransaction transaction(m_database, m_begin);
    if (!transaction.isOpen()) {
        Result result;
        result.currentVersion = currentVersion();
        result.databaseError = transaction.errorString();
        return result;
    }
    Result result = found();
    if (result.outcome != Outcome::Older)
        return result;
    result.outcome = Outcome::Upgraded;
    for (const Revision &revision : m_revisions) {
        if (revision.version <= result.storedVersion)
            continue;
        if (!applyWhole(revision, result.databaseError)) {
            result.outcome = Outcome::Failed;
            break;
        }
    }
    // The revisions that went in are kept even when a later one failed.
    if (!transaction.commit()) {
        result.outcome = Outcome::Failed;
        result.databaseError = transaction.errorString();
    }
    return result;
}

// A revision goes in whole or not at all: a savepoint within the upgrade's
// transaction undoes the part of a failed one.
bool SchemaRunner::applyWhole(const Revision &revision, QString &error)
{
    QSqlQuery query(m_database);
    if (!query.exec(QStringLiteral("SAVEPOINT revision"))) {
        error = query.lastError().text();
        return false;
    }
    if (apply(revision, error))
        return query.exec(QStringLiteral("RELEASE SAVEPOINT revision"));
    query.exec(QStringLiteral("ROLLBACK TO SAVEPOINT revision"));
    query.exec(QStringLiteral("RELEASE SAVEPOINT revision"));
    return false;
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

// The version goes in with the revision's tables, or neither does. Values are bound as text: a text
// column keeps them so, and SQLite's integer column takes them as the
// numbers they are.
bool SchemaRunner::apply(const Revision &revision, QString &error)
{
    QSqlQuery query(m_database);
    const auto failed = [&error](const QSqlError &sqlError) {
        error = sqlError.text();
        return false;
    };
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
    return true;
}
