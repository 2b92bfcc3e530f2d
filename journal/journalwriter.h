// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "hid/hiddevinfo.h"
#include "journal/journalreading.h"
#include "journal/journalsession.h"

#include <QList>
#include <QObject>
#include <QPair>
#include <QSqlDatabase>
#include <QString>
#include <QTimer>

#include <memory>

class JournalCheckpointer;
class JournalDatabase;
class QLockFile;
class ReadingStore;
class SessionStore;

// Keeps what a program records in its journal, each reading committed the
// moment it is written, so that nothing on screen is lost to a crash. A
// journal that cannot be written (a full disk, a read-only file) is
// reported once; the readings wait in memory, up to a bound, and go in when
// it takes them again, tried after pauses that grow.
class JournalWriter : public QObject
{
    Q_OBJECT

public:
    // `source` names the program in its sessions: "window" or "logger".
    JournalWriter(const QString &fileName, const QString &source, QObject *parent = nullptr);
    ~JournalWriter() override;

    [[nodiscard]] bool open();
    // What the sessions record as the program's version; the application's
    // version unless set.
    void setProgramVersion(const QString &version) { m_programVersion = version; }
    bool isOpen() const;
    QString fileName() const { return m_fileName; }
    QString errorString() const { return m_error; }

    // Ends a running session cleanly, then starts one with this meter.
    void beginSession(const HIDDevInfo &meter);
    void endSession();
    bool hasSession() const { return m_session.startedMs > 0; }
    // -1 until the session is in the journal.
    qint64 sessionId() const { return m_session.id; }

    // Starts a session of an unknown meter when none runs. Returns the
    // reading's number in its session, which the journal keeps it under.
    qint64 write(const JournalReading &reading);
    // Readings waiting for the journal to take them; at most maxPending wait.
    // Lost to the journal: those that came while that many waited, and those
    // still waiting when their session ended.
    int unwritten() const { return m_pending.size(); }
    int lost() const { return m_lost; }
    // How often the writer went to the journal: a failing one is tried again
    // after a pause that grows, not on every reading.
    int attempts() const { return m_attempts; }

    static constexpr int maxPending = 50000;
    // How long a write waits for another writer of the file (a sync's
    // batch of rows that came down, a checkpoint) before it is kept back.
    static constexpr int busyWaitMs = 5000;
    static constexpr int firstRetryMs = 100;
    static constexpr int lastRetryMs = 5000;

    // Sessions whose program ended without ending them (it crashed or was
    // killed): each is ended now, not cleanly, and returned.
    QList<JournalSession> closeAbandonedSessions();

    SessionStore &sessions();
    ReadingStore &readings();
    // The writer's connection, for the tables it does not write itself.
    QSqlDatabase database() const;

    static QString lockFileName(const QString &journalFile, const QString &sessionUuid);

signals:
    // The first failure after writing worked; `reason` says what failed.
    void failed(const QString &reason);
    // Writing works again, and every reading that waited is in.
    void resumed();

private:
    bool flush();
    void scheduleRetry();
    void retry();
    bool createSession();
    bool writePending();
    void reportFailure(const QString &reason);
    void lockSession();

    QString m_fileName;
    QString m_source;
    QString m_programVersion;
    QString m_error;
    std::unique_ptr<JournalDatabase> m_database;
    std::unique_ptr<SessionStore> m_sessions;
    std::unique_ptr<ReadingStore> m_readings;
    std::unique_ptr<JournalCheckpointer> m_checkpointer;
    std::unique_ptr<QLockFile> m_sessionLock;
    JournalSession m_session;
    qint64 m_nextSeq = 0;
    QList<QPair<qint64, JournalReading>> m_pending;
    bool m_failing = false;
    QTimer m_retry;
    int m_retryMs = 0;
    int m_lost = 0;
    int m_attempts = 0;
};
