// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "sync/syncengine.h"

#include <QLabel>

// The sync's state in the window's status area: when it last finished, what
// waits to go up, and why the last attempt failed while it keeps trying.
class SyncStatus : public QLabel
{
    Q_OBJECT

public:
    explicit SyncStatus(QWidget *parent = nullptr);

    void showSyncing();
    void showWaiting(int waiting, qint64 lastSyncMs);
    void showFinished(bool ok, const SyncReport &report, const QString &error);

private:
    QString lastSyncText(qint64 lastSyncMs) const;
    QString waitingText(int waiting) const;

    int m_waiting = -1;
    qint64 m_lastSyncMs = -1;
};
