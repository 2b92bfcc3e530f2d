// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <vector>

// The shared server's tables, in a schema of their own, as numbered
// revisions applied in order, each in one transaction. As with the journal,
// the server records its revision and the oldest revision of a program that
// may still use it; a program older than that touches nothing.
class ServerSchema
{
public:
    struct Revision
    {
        int version;
        int oldestReader;
        QStringList statements;
    };

    ServerSchema() = delete;

    // The schema that holds the program's tables.
    static QString name();
    static const std::vector<Revision> &revisions();
    static int currentVersion();

    // Creates the schema when the server has none, then brings it up to the
    // current revision; false with `error` for a server of a newer program.
    static bool upgrade(QSqlDatabase &database, QString &error);
    // 0 when the tables are not there yet.
    static int storedVersion(const QSqlDatabase &database);
    // A random id given to the server's tables when they are made: a
    // journal tells by it that it talks to another server than before.
    static QString serverId(const QSqlDatabase &database);

private:
    static bool hasSchema(const QSqlDatabase &database);
    static bool createSchema(QSqlDatabase &database, QString &error);
    static bool hasTables(const QSqlDatabase &database);
    static QString storedValue(const QSqlDatabase &database, const QString &key);
    static bool apply(QSqlDatabase &database, const Revision &revision, QString &error);
};
