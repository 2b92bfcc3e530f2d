// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "sync/syncstep.h"

#include <QSqlDatabase>
#include <QString>

#include <functional>

class QSqlError;
class ReadingStore;
class ServerConnection;
struct JournalSession;

// Brings other journals' sessions, with their readings, and their tests into
// this journal, as they were recorded, through the stores that own those
// tables; they are marked as come from the server and never go back up.
// Runs inside the caller's server transaction.
class ServerDownload
{
public:
    // Tests come down in batches of this many, each in one transaction of
    // the journal.
    static constexpr int testsPerBatch = 500;

    ServerDownload(QSqlDatabase journal, ServerConnection &server, std::function<bool(SyncStep)> step);

    // What transactions from `cursor` on wrote.
    [[nodiscard]] bool downloadSessions(const QString &cursor);
    [[nodiscard]] bool downloadTests(const QString &cursor);

    int sessions() const { return m_sessions; }
    int tests() const { return m_tests; }
    QString errorString() const { return m_error; }

private:
    bool receiveSession(const JournalSession &session);
    bool receiveReadings(qint64 localSession, const QString &uuid, ReadingStore &store);
    bool failLocal(const QString &reason);
    bool failServer(const QSqlError &error);

    QSqlDatabase m_journal;
    ServerConnection &m_server;
    std::function<bool(SyncStep)> m_step;
    int m_sessions = 0;
    int m_tests = 0;
    QString m_error;
};
