// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "journal/schemarunner.h"

#include <QSqlDatabase>
#include <QString>

// One connection to a journal file, usable on the thread that opened it,
// with the journal's tables in place. A file that is no journal, is
// damaged, or belongs to a newer program is refused and left as it was.
class JournalDatabase
{
public:
    explicit JournalDatabase(const QString &fileName);
    ~JournalDatabase();

    JournalDatabase(const JournalDatabase &) = delete;
    JournalDatabase &operator=(const JournalDatabase &) = delete;

    // Creates the file when there is none. False, with errorString(), when
    // the file cannot be used.
    [[nodiscard]] bool open();
    bool isOpen() const { return m_open; }

    QSqlDatabase connection() const;
    QString fileName() const { return m_fileName; }
    QString errorString() const { return m_error; }
    // What open() found the file's tables at, and did to them.
    SchemaRunner::Outcome schemaOutcome() const { return m_schema; }

    // The first bytes of every SQLite database file.
    static bool looksLikeDatabase(const QString &fileName);

private:
    bool openConnection();
    bool checkReadable();
    bool setUpConnection();
    bool fail(const QString &reason);

    QString m_fileName;
    QString m_connectionName;
    QString m_error;
    SchemaRunner::Outcome m_schema = SchemaRunner::Outcome::Failed;
    bool m_open = false;
};
