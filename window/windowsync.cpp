// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "window/windowsync.h"

#include "sync/serverconnection.h"
#include "window/dlgsyncoptions.h"
#include "window/syncstatus.h"

#include <QDebug>
#include <QGridLayout>
#include <QInputDialog>
#include <QLineEdit>
#include <QStatusBar>
#include <QWidget>

WindowSync::WindowSync(const QString &journalFile, QWidget &window, QObject *parent)
    : QObject(parent)
    , m_window(window)
    , m_scheduler(journalFile)
{
    connect(&m_scheduler, &SyncScheduler::syncing, this, [this] {
        if (m_status)
            m_status->showSyncing();
    });
    connect(&m_scheduler, &SyncScheduler::waitingCounted, this, [this](int waiting, qint64 lastSyncMs) {
        if (m_status)
            m_status->showWaiting(waiting, lastSyncMs);
    });
    connect(&m_scheduler, &SyncScheduler::finished, this, &WindowSync::onFinished);
    if (m_scheduler.settings().isConfigured())
        showStatusBar(true);
}

SyncStatus *WindowSync::status() const
{
    return m_status;
}

void WindowSync::showStatusBar(bool shown)
{
    if (!m_statusBar && shown) {
        auto *grid = qobject_cast<QGridLayout *>(m_window.layout());
        m_statusBar = new QStatusBar(&m_window);
        m_statusBar->setObjectName(QStringLiteral("statusBarSync"));
        m_statusBar->setSizeGripEnabled(false);
        m_status = new SyncStatus(m_statusBar);
        // At the right, at its own width: the left keeps room for the
        // reason of a failure, shown there for a while.
        m_statusBar->addPermanentWidget(m_status);
        if (grid)
            grid->addWidget(m_statusBar, grid->rowCount(), 0, 1, qMax(1, grid->columnCount()));
        else if (m_window.layout())
            m_window.layout()->addWidget(m_statusBar);
    }
    if (m_statusBar)
        m_statusBar->setVisible(shown);
}

void WindowSync::applySettings(const SyncSettings &settings)
{
    const SyncSettings &before = m_scheduler.settings();
    if (settings.host != before.host || settings.port != before.port || settings.database != before.database
        || settings.user != before.user || settings.service != before.service)
        m_passwordAsked = false;
    m_failing = false;
    m_scheduler.applySettings(settings);
    showStatusBar(m_scheduler.settings().isConfigured());
}

void WindowSync::requestSync()
{
    m_scheduler.requestSync();
}

void WindowSync::showOptions(QWidget *parent)
{
    DlgSyncOptions dialog(m_scheduler.settings(), parent);
    if (dialog.exec() == QDialog::Accepted)
        applySettings(dialog.settings());
}

void WindowSync::onFinished(bool ok, const SyncReport &report, const QString &error, int failure)
{
    if (m_status)
        m_status->showFinished(ok, report, error);
    // Told once, whatever became of the rest of the sync: an edit that lost
    // and is kept in history, a row of the server's left out.
    if (!report.notices.isEmpty()) {
        qDebug() << "[sync] notices:" << report.notices;
        if (m_statusBar)
            m_statusBar->showMessage(report.notices.join(QLatin1Char(' ')), SyncScheduler::syncIntervalMs);
        emit noticesShown(report.notices);
    }
    if (ok) {
        m_failing = false;
        emit synced(report);
    } else if (!m_failing) {
        m_failing = true;
        qDebug() << "[sync] failed:" << error;
        if (m_statusBar)
            m_statusBar->showMessage(error.section(QLatin1Char('\n'), 0, 0).trimmed(),
                                     SyncScheduler::retryIntervalMs);
        emit failureShown(error);
    }
    if (!ok)
        askPassword(failure);
    emit attempted(ok);
}

// Asked once per run, and only when libpq found none or the one it had
// was refused; kept in memory alone.
void WindowSync::askPassword(int failure)
{
    const auto why = ServerConnection::Failure(failure);
    if (m_passwordAsked || !m_window.isVisible()
        || (why != ServerConnection::Failure::PasswordNeeded && why != ServerConnection::Failure::Authentication))
        return;
    m_passwordAsked = true;
    const SyncSettings &settings = m_scheduler.settings();
    bool given = false;
    const QString password = QInputDialog::getText(
        &m_window, tr("Team server"), tr("Password of %1 on %2:").arg(settings.user, settings.serverName()),
        QLineEdit::Password, QString(), &given);
    if (given && !password.isEmpty())
        m_scheduler.setPassword(password);
}
