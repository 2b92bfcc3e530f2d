// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "sync/syncworker.h"

#include "sync/serverwatch.h"

SyncWorker::SyncWorker(const QString &journalFile, QObject *parent)
    : QObject(parent)
    , m_journalFile(journalFile)
    , m_watch(std::make_shared<ServerWatch>())
{
    qRegisterMetaType<SyncReport>();
    qRegisterMetaType<SyncSettings>();
}

SyncWorker::~SyncWorker() = default;

void SyncWorker::stop()
{
    m_stopping = true;
    m_watch->cut();
}

// Made on first use, on the worker's thread, which its connections belong to.
SyncEngine &SyncWorker::engine()
{
    if (!m_engine) {
        m_engine = std::make_unique<SyncEngine>(m_journalFile, m_settings, m_watch);
        m_engine->setStepHook([this](SyncStep) { return !m_stopping.load(); });
    }
    return *m_engine;
}

void SyncWorker::configure(const SyncSettings &settings)
{
    m_settings = settings;
    if (m_engine)
        m_engine->setSettings(settings);
}

void SyncWorker::syncNow()
{
    if (m_stopping || !m_settings.isConfigured())
        return;
    emit syncing();
    SyncEngine &sync = engine();
    const bool ok = sync.run();
    SyncReport report = sync.report();
    if (!ok)
        report.waiting = sync.waiting();
    report.finishedMs = ok ? report.finishedMs : sync.lastSyncMs();
    emit finished(ok, report, sync.errorString(), int(sync.failure()));
}

void SyncWorker::countWaiting()
{
    if (m_stopping)
        return;
    SyncEngine &sync = engine();
    emit waitingCounted(sync.waiting(), sync.lastSyncMs());
}
