// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "sync/serverconnection.h"
#include "sync/syncsettings.h"
#include "sync/syncstep.h"

#include <QMetaType>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class JournalDatabase;
class ServerWatch;

// What one sync did.
struct SyncReport
{
    int sessionsUp = 0;
    int testsUp = 0;
    int itemsUp = 0;
    int detailsUp = 0;
    int sessionsDown = 0;
    int testsDown = 0;
    int itemsDown = 0;
    int detailsDown = 0;
    // Edits here that lost to newer ones on the server, kept in history.
    int conflicts = 0;
    // What the user is told once, a sentence each: an edit of theirs that
    // lost and is kept in history, a row from the server left out.
    QStringList notices;
    // What still waits to go up; -1 when unknown.
    int waiting = -1;
    qint64 finishedMs = -1;
};

Q_DECLARE_METATYPE(SyncReport)

// One journal's sync with the team's server, run to the end on the thread
// that calls it: the register's edits, ended sessions with their readings,
// tests and their details go up; what others sent comes down. Every step is
// safe to repeat, so a sync cut short anywhere is simply run again.
class SyncEngine
{
public:
    // `watch` cuts the server off when it falls silent, or when asked to
    // from another thread; one of its own when none is given.
    SyncEngine(const QString &journalFile, const SyncSettings &settings,
               std::shared_ptr<ServerWatch> watch = nullptr);
    ~SyncEngine();

    SyncEngine(const SyncEngine &) = delete;
    SyncEngine &operator=(const SyncEngine &) = delete;

    void setSettings(const SyncSettings &settings) { m_settings = settings; }
    // Asked at each step; false stops the sync there.
    void setStepHook(std::function<bool(SyncStep)> hook) { m_hook = std::move(hook); }

    // Connects, syncs once and disconnects. False with errorString().
    [[nodiscard]] bool run();
    const SyncReport &report() const { return m_report; }
    QString errorString() const { return m_error; }
    ServerConnection::Failure failure() const { return m_failure; }
    bool wasStopped() const { return m_stopped; }

    // Needs no server.
    int waiting();
    qint64 lastSyncMs();

private:
    bool openJournal();
    bool upload(ServerConnection &server);
    bool download(ServerConnection &server);
    bool step(SyncStep step);
    bool fail(ServerConnection::Failure failure, const QString &reason);
    // A failure that ends only its own part: the rest of the sync goes on,
    // unless the connection is gone or the sync was stopped.
    bool holdBack(const ServerConnection &server, const QString &reason);

    QString m_journalFile;
    SyncSettings m_settings;
    std::shared_ptr<ServerWatch> m_watch;
    std::unique_ptr<JournalDatabase> m_journal;
    std::function<bool(SyncStep)> m_hook;
    SyncReport m_report;
    QString m_error;
    QString m_heldBack;
    ServerConnection::Failure m_failure = ServerConnection::Failure::None;
    ServerConnection::Failure m_heldBackFailure = ServerConnection::Failure::None;
    bool m_stopped = false;
};
