// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "journal/schemarunner.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QString>

// One connection to a journal file, usable on the thread that opened it,
// with the journal's tables in place. A file that is no journal, is
// damaged, holds what the program did not make, or belongs to a newer
// program is refused and left as it was. A file that cannot be written is
// opened to be read only.
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
    // The file could not be written, and was opened to be read only.
    bool isReadOnly() const { return m_readOnly; }
    // Why a journal opened to be read only cannot take what is to be written.
    static QString readOnlyText();
    // Whether a connection was opened to be read only.
    static bool isReadOnly(const QSqlDatabase &connection);
    QString fileName() const { return m_fileName; }
    QString errorString() const { return m_error; }
    // What open() found the file's tables at, and did to them.
    SchemaRunner::Outcome schemaOutcome() const { return m_schema; }

    // The first bytes of every SQLite database file.
    static bool looksLikeDatabase(const QString &fileName);

private:
    static bool canWriteBeside(const QFileInfo &file);
    bool openConnection();
    QString readOnlyUri() const;
    bool checkReadable();
    bool checkOnlyOurs();
    bool setUpConnection();
    bool fail(const QString &reason);

    QString m_fileName;
    QString m_connectionName;
    QString m_error;
    SchemaRunner::Outcome m_schema = SchemaRunner::Outcome::Failed;
    bool m_open = false;
    bool m_readOnly = false;

    // A writer that finds the file locked by another waits this long, then
    // keeps what it could not write and tries again later.
    static constexpr int writeWaitMs = 50;
    // Opening waits for another program bringing the file up to date.
    static constexpr int upgradeWaitMs = 30000;
};
