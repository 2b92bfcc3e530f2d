// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

// Brings a database's tables up to the newest of a list of numbered
// revisions, each applied once, in order, whole or not at all, in one
// transaction that also reads the revision the database is at: a second
// program opening the same database at the same moment waits, then finds
// the work done. The
// database keeps, in a table of names and values, the revision it is at and
// the oldest revision of a program that can still use it, so that an older
// program tells a newer database it may use from one it must leave alone.
class SchemaRunner
{
public:
    struct Revision
    {
        int version;
        // The oldest schema a program may know and still use a database at
        // this revision; it rises only when a revision changes what exists.
        int oldestReader;
        QStringList statements;
        // What SQL alone cannot do, run after the statements in the same
        // transaction; false with `error` undoes the revision.
        std::function<bool(const QSqlDatabase &database, QString &error)> step = {};
    };

    enum class Outcome {
        UpToDate,         // at the newest revision already
        Upgraded,         // one or more revisions applied
        NewerButReadable, // a newer program's, which this one may use as it is
        NewerRefused,     // a newer program's, which this one must not touch
        NotOurs,          // holds tables, but none of this program's
        Older,            // needs revisions, which inspect() does not apply
        Failed,           // a revision could not be applied; see errorString()
    };

    // What a database was found at and what was done to it.
    struct Result
    {
        Outcome outcome = Outcome::Failed;
        int storedVersion = 0; // as found, before any revision was applied
        int currentVersion = 0;
        QString databaseError; // the database's words when a revision failed

        // The tables are there and this program may use them.
        bool isUsable() const;
    };

    // `infoTable` (columns name and value) keeps the version; `isEmpty`
    // tells a database without anything in it yet, which gets every
    // revision, from one that holds tables of its own.
    SchemaRunner(QSqlDatabase database, const QString &infoTable, const std::vector<Revision> &revisions,
                 std::function<bool()> isEmpty);

    // The statements that begin the upgrade's transaction, taking the lock
    // that keeps a second upgrade out until this one is done: "BEGIN" unless
    // set (SQLite wants "BEGIN IMMEDIATE", which takes the write lock at once
    // instead of failing when a reader would become a writer).
    void setBeginStatements(const QStringList &statements) { m_begin = statements; }

    // Touches nothing unless the database is older than the newest revision.
    Result upgrade();
    // What upgrade() would find, without writing: for a database that may
    // only be read.
    Result inspect() const;

    int currentVersion() const;
    // 0 when the database has no version of these tables.
    int storedVersion() const;
    // A value of the info table; empty when it has none.
    QString storedValue(const QString &name) const;

private:
    Result found() const;
    bool applyWhole(const Revision &revision, QString &error);
    bool apply(const Revision &revision, QString &error);

    QSqlDatabase m_database;
    QString m_infoTable;
    const std::vector<Revision> &m_revisions;
    std::function<bool()> m_isEmpty;
    QStringList m_begin{QStringLiteral("BEGIN")};
};
