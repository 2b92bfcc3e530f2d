// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "sync/syncstep.h"

#include <QSqlDatabase>
#include <QString>

#include <functional>

class QSqlError;
class ServerConnection;

// Sends the journal's ended sessions with their readings, and its tests, to
// the server. Each session goes in one server transaction, keyed by its
// uuid, so that sending it again after any interruption adds nothing twice.
class SessionUpload
{
public:
    SessionUpload(QSqlDatabase journal, ServerConnection &server, std::function<bool(SyncStep)> step);

    [[nodiscard]] bool uploadSessions();
    // Tests of sessions the server has.
    [[nodiscard]] bool uploadTests();

    int sessions() const { return m_sessions; }
    int tests() const { return m_tests; }
    QString errorString() const { return m_error; }

    // Readings sent in one statement.
    static constexpr int batchSize = 5000;

private:
    bool uploadSession(qint64 sessionId);
    bool sendSession(qint64 sessionId, QString &uuid);
    bool sendReadings(qint64 sessionId, const QString &uuid);
    bool markSynced(const QString &table, const QList<qint64> &ids);
    bool failLocal(const QString &reason);
    bool failServer(const QSqlError &error);

    QSqlDatabase m_journal;
    ServerConnection &m_server;
    std::function<bool(SyncStep)> m_step;
    int m_sessions = 0;
    int m_tests = 0;
    QString m_error;
};
