// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "sync/syncstep.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <functional>

class QSqlError;
class ReadingStore;
class ServerConnection;
struct JournalSession;

// Brings other journals' sessions, with their readings, and their tests into
// this journal, as they were recorded, through the stores that own those
// tables; they are marked as come from the server and never go back up.
// Runs inside the caller's server transaction. A session's readings come
// in batches, a transaction of the journal each, so that the journal's
// other writers never wait long; the journal notes the session on its way
// and the next sync goes on from its last reading. A row that breaks a
// rule the journal keeps (a reading twice, a session without an end) is
// left out and told once.
class ServerDownload
{
public:
    // Tests come down in batches of this many, each in one transaction of
    // the journal.
    static constexpr int testsPerBatch = 500;
    // A session's readings, likewise: a batch holds the journal's write
    // lock for a small part of the time the window's writer waits for it,
    // even on a slow or busy machine.
    static constexpr int readingsPerBatch = 500;

    ServerDownload(QSqlDatabase journal, ServerConnection &server, std::function<bool(SyncStep)> step);

    // What transactions from `cursor` on wrote.
    [[nodiscard]] bool downloadSessions(const QString &cursor);
    [[nodiscard]] bool downloadTests(const QString &cursor);

    int sessions() const { return m_sessions; }
    int tests() const { return m_tests; }
    // A sentence for each row left out.
    QStringList notices() const { return m_notices; }
    QString errorString() const { return m_error; }

private:
    bool receiveSession(const JournalSession &session, qint64 knownId);
    bool receiveReadings(qint64 localSession, const QString &uuid, QString &wrong);
    bool finishSession(qint64 localSession);
    bool leaveOut(const JournalSession &session, qint64 localSession, const QString &why);
    bool failLocal(const QString &reason);
    bool failServer(const QSqlError &error);

    QSqlDatabase m_journal;
    ServerConnection &m_server;
    std::function<bool(SyncStep)> m_step;
    int m_sessions = 0;
    int m_tests = 0;
    QStringList m_notices;
    QString m_error;
};
