// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "sync/syncengine.h"
#include "sync/syncsettings.h"

#include <QObject>
#include <QPointer>
#include <QThread>
#include <QTimer>

class SyncWorker;

// Keeps a journal in step with the team's server without anyone waiting:
// a worker on its own thread syncs when sync is switched on, after each
// session and edit, and every few minutes, one sync at a time; a failed
// sync is tried again sooner.
class SyncScheduler : public QObject
{
    Q_OBJECT

public:
    explicit SyncScheduler(const QString &journalFile, QObject *parent = nullptr);
    ~SyncScheduler() override;

    const SyncSettings &settings() const { return m_settings; }
    bool isSyncing() const { return m_busy; }

    static constexpr int syncIntervalMs = 5 * 60 * 1000;
    static constexpr int retryIntervalMs = 60 * 1000;

public slots:
    // Keeps the settings in "options.ini" and syncs with them.
    void applySettings(const SyncSettings &settings);
    void requestSync();
    // For this run only; the sync that asked for it is tried again at once.
    void setPassword(const QString &password);

signals:
    void syncing();
    void waitingCounted(int waiting, qint64 lastSyncMs);
    // Every attempt, whatever its outcome; `failure` is a ServerConnection::Failure.
    // A password given from here on is tried at once.
    void finished(bool ok, const SyncReport &report, const QString &error, int failure);

private:
    void startWorker();
    void stopWorker();
    void configureWorker();
    void onFinished(bool ok, const SyncReport &report, const QString &error, int failure);

    QString m_journalFile;
    SyncSettings m_settings;
    QThread m_thread;
    QPointer<SyncWorker> m_worker;
    QTimer m_timer;
    bool m_busy = false;
    bool m_again = false;
    bool m_finishing = false;
};
