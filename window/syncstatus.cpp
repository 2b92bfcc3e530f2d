// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "window/syncstatus.h"

#include <QDateTime>
#include <QLocale>

SyncStatus::SyncStatus(QWidget *parent)
    : QLabel(parent)
{
    setObjectName(QStringLiteral("syncStatus"));
    setText(tr("Team server: not synced yet"));
}

void SyncStatus::showSyncing()
{
    setText(tr("Team server: syncing…") + waitingText(m_waiting));
}

void SyncStatus::showWaiting(int waiting, qint64 lastSyncMs)
{
    m_waiting = waiting;
    m_lastSyncMs = lastSyncMs;
    setText(lastSyncText(lastSyncMs) + waitingText(waiting));
}

void SyncStatus::showFinished(bool ok, const SyncReport &report, const QString &error)
{
    m_waiting = report.waiting;
    if (ok)
        m_lastSyncMs = report.finishedMs;
    setText(ok ? lastSyncText(m_lastSyncMs) + waitingText(m_waiting)
               : tr("Team server: sync failed, trying again") + waitingText(m_waiting));
    setToolTip(ok ? QString() : error);
}

QString SyncStatus::lastSyncText(qint64 lastSyncMs) const
{
    if (lastSyncMs < 0)
        return tr("Team server: not synced yet");
    const QDateTime when = QDateTime::fromMSecsSinceEpoch(lastSyncMs);
    return tr("Team server: synced %1").arg(QLocale().toString(when, QLocale::ShortFormat));
}

QString SyncStatus::waitingText(int waiting) const
{
    return waiting > 0 ? tr(", %n waiting", nullptr, waiting) : QString();
}
