// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "util/backgroundjob.h"

#include <QThread>

BackgroundJob::Context::Context(BackgroundJob &job)
    : m_job(job)
{
}

bool BackgroundJob::Context::isCancelled() const
{
    return m_job.m_cancelled;
}

void BackgroundJob::Context::setProgress(qint64 done, qint64 total)
{
    const int percent = total > 0 ? int(qBound<qint64>(0, done * 100 / total, 100)) : 0;
    if (percent == m_percent)
        return;
    m_percent = percent;
    QMetaObject::invokeMethod(
        &m_job, [job = &m_job, percent] { job->reportProgress(percent); }, Qt::QueuedConnection);
}

void BackgroundJob::Context::setError(const QString &reason)
{
    m_job.m_error = reason;
}

BackgroundJob::BackgroundJob(Work work, QObject *parent)
    : QObject(parent)
    , m_work(std::move(work))
{
}

BackgroundJob::~BackgroundJob()
{
    cancel();
    if (m_thread)
        m_thread->wait();
}

// The thread's finished() reaches this object through the event loop, after
// the work's last progress report, and the thread has written its results.
void BackgroundJob::start()
{
    if (m_thread)
        return;
    m_thread.reset(QThread::create([this] {
        Context context(*this);
        m_succeeded = m_work(context) && !m_cancelled;
    }));
    connect(m_thread.get(), &QThread::finished, this, [this] { emit finished(m_succeeded); });
    m_thread->start();
}

void BackgroundJob::cancel()
{
    m_cancelled = true;
}

bool BackgroundJob::isRunning() const
{
    return m_thread && m_thread->isRunning();
}

void BackgroundJob::reportProgress(int percent)
{
    if (!m_cancelled)
        emit progressed(percent);
}
