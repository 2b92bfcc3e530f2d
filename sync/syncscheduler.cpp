// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "sync/syncscheduler.h"

#include "app/settingskeys.h"
#include "sync/syncworker.h"

#include <QSettings>

SyncScheduler::SyncScheduler(const QString &journalFile, QObject *parent)
    : QObject(parent)
    , m_journalFile(journalFile)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &SyncScheduler::requestSync);
    const QSettings options(QString::fromLatin1(SettingsKeys::fileName), QSettings::IniFormat);
    m_settings = SyncSettings::load(options);
    if (m_settings.isConfigured()) {
        startWorker();
        requestSync();
    }
}

// The sync running stops at its next step; what it sent is safe.
SyncScheduler::~SyncScheduler()
{
    stopWorker();
}

void SyncScheduler::startWorker()
{
    if (m_worker)
        return;
    auto *worker = new SyncWorker(m_journalFile);
    worker->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, worker, &QObject::deleteLater);
    connect(worker, &SyncWorker::syncing, this, &SyncScheduler::syncing);
    connect(worker, &SyncWorker::finished, this, &SyncScheduler::onFinished);
    connect(worker, &SyncWorker::waitingCounted, this, &SyncScheduler::waitingCounted);
    m_worker = worker;
    m_thread.setObjectName(QStringLiteral("sync"));
    m_thread.start();
    configureWorker();
    QMetaObject::invokeMethod(worker, &SyncWorker::countWaiting, Qt::QueuedConnection);
}

void SyncScheduler::stopWorker()
{
    m_timer.stop();
    if (m_worker)
        m_worker->stop();
    m_thread.quit();
    m_thread.wait();
    m_busy = false;
    m_again = false;
}

void SyncScheduler::configureWorker()
{
    const SyncSettings current = m_settings;
    QPointer<SyncWorker> worker = m_worker;
    QMetaObject::invokeMethod(worker.data(), [worker, current] { worker->configure(current); }, Qt::QueuedConnection);
}

void SyncScheduler::applySettings(const SyncSettings &settings)
{
    const bool serverChanged = settings.host != m_settings.host || settings.port != m_settings.port
                               || settings.database != m_settings.database || settings.user != m_settings.user
                               || settings.service != m_settings.service;
    m_settings = settings;
    if (serverChanged)
        m_settings.password.clear();
    QSettings options(QString::fromLatin1(SettingsKeys::fileName), QSettings::IniFormat);
    m_settings.save(options);
    if (!m_settings.isConfigured()) {
        stopWorker();
        return;
    }
    startWorker();
    configureWorker();
    requestSync();
}

// One sync at a time; a request while one runs makes one more follow it.
void SyncScheduler::requestSync()
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

void SyncScheduler::setPassword(const QString &password)
{
    if (!m_worker)
        return;
    m_settings.password = password;
    configureWorker();
    if (m_finishing)
        m_again = true;
    else
        requestSync();
}

void SyncScheduler::onFinished(bool ok, const SyncReport &report, const QString &error, int failure)
{
    m_busy = false;
    m_finishing = true;
    emit finished(ok, report, error, failure);
    m_finishing = false;
    if (m_again) {
        m_again = false;
        requestSync();
        return;
    }
    m_timer.start(ok ? syncIntervalMs : retryIntervalMs);
}
