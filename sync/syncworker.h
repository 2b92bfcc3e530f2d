// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "sync/syncengine.h"
#include "sync/syncsettings.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <memory>

class ServerWatch;

// Runs syncs on a thread of its own, where it opens both its connections:
// the server's and its own to the journal file. Started by queued calls,
// stopped between steps by an atomic flag, and at once when it waits on
// the server: its socket is cut.
class SyncWorker : public QObject
{
    Q_OBJECT

public:
    explicit SyncWorker(const QString &journalFile, QObject *parent = nullptr);
    ~SyncWorker() override;

    // From any thread: the sync running stops at its next step, or at once
    // when it waits on the server.
    void stop();

public slots:
    void configure(const SyncSettings &settings);
    void syncNow();
    // Counts what waits, without the server.
    void countWaiting();

signals:
    void syncing();
    // `failure` is a ServerConnection::Failure.
    void finished(bool ok, const SyncReport &report, const QString &error, int failure);
    void waitingCounted(int waiting, qint64 lastSyncMs);

private:
    SyncEngine &engine();

    QString m_journalFile;
    SyncSettings m_settings;
    std::shared_ptr<ServerWatch> m_watch;
    std::unique_ptr<SyncEngine> m_engine;
    std::atomic<bool> m_stopping{false};
};
