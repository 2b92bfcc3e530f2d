// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "sync/syncengine.h"
#include "sync/syncsettings.h"

#include <QObject>
#include <QPointer>
#include <QThread>
#include <QTimer>

class QStatusBar;
class QWidget;
class SyncStatus;
class SyncWorker;

// Joins the window's journal to the team's server: a worker on its own
// thread syncs when sync is switched on, after each session and edit, and
// every few minutes; a failure is shown once and tried again. The state is
// shown in a status bar at the foot of the window, there only while sync
// is on. Nothing the window records waits for any of it.
class WindowSync : public QObject
{
    Q_OBJECT

public:
    WindowSync(const QString &journalFile, QWidget &window, QObject *parent = nullptr);
    ~WindowSync() override;

    const SyncSettings &settings() const { return m_settings; }
    SyncStatus *status() const;
    bool isSyncing() const { return m_busy; }

    static constexpr int syncIntervalMs = 5 * 60 * 1000;
    static constexpr int retryIntervalMs = 60 * 1000;

public slots:
    // Keeps the settings in "options.ini" and syncs with them.
    void applySettings(const SyncSettings &settings);
    void requestSync();
    // Opens the options of the team server.
    void showOptions(QWidget *parent);

signals:
    // The first failure after syncs worked, or after sync was switched on.
    void failureShown(const QString &reason);
    void synced(const SyncReport &report);
    // Every attempt, whatever its outcome.
    void attempted(bool ok);

private:
    void startWorker();
    void stopWorker();
    void showStatusBar(bool shown);
    void onFinished(bool ok, const SyncReport &report, const QString &error, int failure);
    bool askPassword(int failure);

    QString m_journalFile;
    QWidget &m_window;
    SyncSettings m_settings;
    QThread m_thread;
    QPointer<SyncWorker> m_worker;
    QPointer<QStatusBar> m_statusBar;
    QPointer<SyncStatus> m_status;
    QTimer m_timer;
    bool m_busy = false;
    bool m_again = false;
    bool m_failing = false;
    bool m_passwordAsked = false;
};
