// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "journal/schemarunner.h"

#include <QSqlDatabase>
#include <QString>

#include <vector>

// The shared server's tables, in a schema of their own, as numbered
// revisions that SchemaRunner applies. As with the journal, the server
// records its revision and the oldest revision of a program that may still
// use it; a program older than that touches nothing.
class ServerSchema
{
public:
    using Revision = SchemaRunner::Revision;

    ServerSchema() = delete;

    // The schema that holds the program's tables.
    static QString name();
    static const std::vector<Revision> &revisions();
    static int currentVersion();

    // Creates the schema when the server has none; false with `error` when
    // this user may not (a technician's login: the administrator makes it).
    static bool ensureSchema(const QSqlDatabase &database, QString &error);
    // Brings the tables in the schema up to the current revision, unless
    // they are a newer program's.
    static SchemaRunner::Result upgrade(const QSqlDatabase &database);
    // Why the server cannot be used, in the user's words; empty when it can.
    static QString message(const SchemaRunner::Result &result);

    // 0 when the tables are not there yet.
    static int storedVersion(const QSqlDatabase &database);
    // A random id given to the server's tables when they are made: a
    // journal tells by it that it talks to another server than before.
    static QString serverId(const QSqlDatabase &database);

    // The connection's role owns the schema, or may act as its owner.
    static bool isOwnedBy(const QSqlDatabase &database);

private:
    static bool hasSchema(const QSqlDatabase &database);
    static bool hasTables(const QSqlDatabase &database);
    static SchemaRunner runner(const QSqlDatabase &database);
};
