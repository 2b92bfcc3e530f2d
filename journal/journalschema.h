// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "journal/schemarunner.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <vector>

// The journal's tables as numbered revisions, which SchemaRunner applies.
// The file records the revision it is at and the oldest revision of a
// program that can still use it, so that an older program can tell a newer
// file it may use from one it must leave alone.
class JournalSchema
{
public:
    using Revision = SchemaRunner::Revision;

    JournalSchema() = delete;

    static const std::vector<Revision> &revisions();
    static int currentVersion();

    // Brings the file up to the current revision, or leaves it alone: a file
    // of a newer program this one cannot use, or a database that is no
    // journal.
    static SchemaRunner::Result upgrade(const QSqlDatabase &database);
    // What the file is at, without writing to it: for a file that may only
    // be read.
    static SchemaRunner::Result inspect(const QSqlDatabase &database);
    // Why the file cannot be used, in the user's words; empty when it can.
    static QString message(const SchemaRunner::Result &result);

    // The triggers, views, tables and indexes in a file that no revision of
    // this program made, as "trigger name"; empty when there are none. Only
    // triggers count in a newer program's file, whose other additions this
    // program cannot know.
    static QStringList foreignObjects(const QSqlDatabase &database, int storedVersion);

    // The revision a file is at; 0 for a file without the journal's tables.
    static int storedVersion(const QSqlDatabase &database);

private:
    static SchemaRunner runner(const QSqlDatabase &database);
};
