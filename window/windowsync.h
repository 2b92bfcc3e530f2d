// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "sync/syncengine.h"
#include "sync/syncscheduler.h"
#include "sync/syncsettings.h"

#include <QObject>
#include <QPointer>

class QStatusBar;
class QWidget;
class SyncStatus;

// The team server's sync as the window shows it: its state in a status bar
// at the foot of the window, there only while sync is on, a failure shown
// once, the password asked for when the server wants one, and the options
// dialog. The syncing itself runs in the background.
class WindowSync : public QObject
{
    Q_OBJECT

public:
    WindowSync(const QString &journalFile, QWidget &window, QObject *parent = nullptr);

    const SyncSettings &settings() const { return m_scheduler.settings(); }
    SyncStatus *status() const;
    bool isSyncing() const { return m_scheduler.isSyncing(); }

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
    // What a sync tells once (lost edits kept in history, rows of the
    // server's left out), shown in the status bar.
    void noticesShown(const QStringList &notices);

private:
    void showStatusBar(bool shown);
    void onFinished(bool ok, const SyncReport &report, const QString &error, int failure);
    void askPassword(int failure);

    QWidget &m_window;
    SyncScheduler m_scheduler;
    QPointer<QStatusBar> m_statusBar;
    QPointer<SyncStatus> m_status;
    bool m_failing = false;
    bool m_passwordAsked = false;
};
