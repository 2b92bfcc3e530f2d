// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "sync/windowsync.h"

#include "app/settingskeys.h"
#include "sync/dlgsyncoptions.h"
#include "sync/serverconnection.h"
#include "sync/syncstatus.h"
#include "sync/syncworker.h"

#include <QDebug>
#include <QGridLayout>
#include <QInputDialog>
#include <QLineEdit>
#include <QSettings>
#include <QStatusBar>
#include <QWidget>

WindowSync::WindowSync(const QString &journalFile, QWidget &window, QObject *parent)
    : QObject(parent)
    , m_journalFile(journalFile)
    , m_window(window)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &WindowSync::requestSync);
    const QSettings options(QString::fromLatin1(SettingsKeys::fileName), QSettings::IniFormat);
    m_settings = SyncSettings::load(options);
    if (m_settings.isConfigured()) {
        startWorker();
        requestSync();
    }
}

// The sync running stops at its next step; what it sent is safe.
WindowSync::~WindowSync()
{
    stopWorker();
}

SyncStatus *WindowSync::status() const
{
    return m_status;
}

void WindowSync::startWorker()
{
    showStatusBar(true);
    if (m_worker)
        return;
    auto *worker = new SyncWorker(m_journalFile);
    worker->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, worker, &QObject::deleteLater);
    connect(worker, &SyncWorker::syncing, this, [this] {
        if (m_status)
            m_status->showSyncing();
    });
    connect(worker, &SyncWorker::finished, this, &WindowSync::onFinished);
    connect(worker, &SyncWorker::waitingCounted, this, [this](int waiting, qint64 lastSyncMs) {
        if (m_status)
            m_status->showWaiting(waiting, lastSyncMs);
    });
    m_worker = worker;
    m_thread.setObjectName(QStringLiteral("sync"));
    m_thread.start();
    const SyncSettings settings = m_settings;
    QMetaObject::invokeMethod(worker, [worker, settings] { worker->configure(settings); }, Qt::QueuedConnection);
    QMetaObject::invokeMethod(worker, &SyncWorker::countWaiting, Qt::QueuedConnection);
}

void WindowSync::stopWorker()
{
    m_timer.stop();
    if (m_worker)
        m_worker->stop();
    m_thread.quit();
    m_thread.wait();
    m_busy = false;
    m_again = false;
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
    const bool serverChanged = settings.host != m_settings.host || settings.port != m_settings.port
                               || settings.database != m_settings.database || settings.user != m_settings.user
                               || settings.service != m_settings.service;
    m_settings = settings;
    if (serverChanged) {
        m_settings.password.clear();
        m_passwordAsked = false;
    }
    QSettings options(QString::fromLatin1(SettingsKeys::fileName), QSettings::IniFormat);
    m_settings.save(options);
    m_failing = false;
    if (!m_settings.isConfigured()) {
        stopWorker();
        showStatusBar(false);
        return;
    }
    startWorker();
    const SyncSettings current = m_settings;
    QPointer<SyncWorker> worker = m_worker;
    QMetaObject::invokeMethod(worker.data(), [worker, current] { worker->configure(current); }, Qt::QueuedConnection);
    requestSync();
}

// One sync at a time; a request while one runs makes one more follow it.
void WindowSync::requestSync()
{
    if (!m_worker || !m_settings.isConfigured())
        return;
    if (m_busy) {
        m_again = true;
        return;
    }
    m_busy = true;
    m_timer.stop();
    QMetaObject::invokeMethod(m_worker, &SyncWorker::syncNow, Qt::QueuedConnection);
}

void WindowSync::showOptions(QWidget *parent)
{
    DlgSyncOptions dialog(m_settings, parent);
    if (dialog.exec() == QDialog::Accepted)
        applySettings(dialog.settings());
}

void WindowSync::onFinished(bool ok, const SyncReport &report, const QString &error, int failure)
{
    m_busy = false;
    if (m_status)
        m_status->showFinished(ok, report, error);
    if (ok) {
        m_failing = false;
        emit synced(report);
    } else if (!m_failing) {
        m_failing = true;
        qDebug() << "[sync] failed:" << error;
        if (m_statusBar)
            m_statusBar->showMessage(error.section(QLatin1Char('\n'), 0, 0).trimmed(), retryIntervalMs);
        emit failureShown(error);
    }
    if (!ok && askPassword(failure))
        m_again = true;
    emit attempted(ok);
    if (m_again) {
        m_again = false;
        requestSync();
        return;
    }
    m_timer.start(ok ? syncIntervalMs : retryIntervalMs);
}

// Asked once per run, and only when libpq found none or the one it had
// was refused; kept in memory alone.
bool WindowSync::askPassword(int failure)
{
    const auto why = ServerConnection::Failure(failure);
    if (m_passwordAsked || !m_window.isVisible()
        || (why != ServerConnection::Failure::PasswordNeeded && why != ServerConnection::Failure::Authentication))
        return false;
    m_passwordAsked = true;
    bool given = false;
    const QString password = QInputDialog::getText(
        &m_window, tr("Team server"), tr("Password of %1 on %2:").arg(m_settings.user, m_settings.serverName()),
        QLineEdit::Password, QString(), &given);
    if (!given || password.isEmpty() || !m_worker)
        return false;
    m_settings.password = password;
    const SyncSettings current = m_settings;
    QPointer<SyncWorker> worker = m_worker;
    QMetaObject::invokeMethod(worker.data(), [worker, current] { worker->configure(current); }, Qt::QueuedConnection);
    return true;
}
