// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <vector>

// The journal's tables as numbered revisions, each applied once, in order,
// in a transaction of its own. The file records the revision it is at and
// the oldest revision of a program that can still use it, so that an older
// program can tell a newer file it may use from one it must leave alone.
class JournalSchema
{
public:
    struct Revision
    {
        int version;
        // The oldest schema a program may know and still use a file at this
        // revision; it rises only when a revision changes what exists.
        int oldestReader;
        QStringList statements;
    };

    JournalSchema() = delete;

    static const std::vector<Revision> &revisions();
    static int currentVersion();

    // Brings the file up to the current revision, or leaves it alone and
    // says why: a file of a newer program this one cannot use, or a database
    // that is no journal. False with `error` set in those cases.
    static bool upgrade(QSqlDatabase &database, QString &error);

    // The revision a file is at; 0 for a file without the journal's tables.
    static int storedVersion(const QSqlDatabase &database);

private:
    static bool isEmpty(const QSqlDatabase &database);
    static int storedValue(const QSqlDatabase &database, const QString &name);
    static bool apply(QSqlDatabase &database, const Revision &revision, QString &error);
};
