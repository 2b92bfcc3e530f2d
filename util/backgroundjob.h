// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>

class QThread;

// Long work on a thread of its own (loading or exporting a session of many
// readings): it reports its progress, can be cancelled, and tells when it is
// done. The work function runs on that thread and must touch nothing of the
// GUI; what it makes is taken by the caller after finished().
class BackgroundJob : public QObject
{
    Q_OBJECT

public:
    // What the work sees of its job, on the job's thread.
    class Context
    {
    public:
        bool isCancelled() const;
        // Fractions of the work done; reported at most once per percent.
        void setProgress(qint64 done, qint64 total);
        // Says why the work failed; it then returns false.
        void setError(const QString &reason);

    private:
        friend class BackgroundJob;
        explicit Context(BackgroundJob &job);
        BackgroundJob &m_job;
        int m_percent = -1;
    };

    using Work = std::function<bool(Context &)>;

    explicit BackgroundJob(Work work, QObject *parent = nullptr);
    // Cancels the work and waits for it to stop.
    ~BackgroundJob() override;

    void start();
    void cancel();
    bool isRunning() const;
    bool wasCancelled() const { return m_cancelled; }
    QString errorString() const { return m_error; }

signals:
    void progressed(int percent);
    // True when the work ran to its end; false when it failed or was cancelled.
    void finished(bool succeeded);

private:
    void reportProgress(int percent);

    Work m_work;
    std::unique_ptr<QThread> m_thread;
    std::atomic<bool> m_cancelled{false};
    bool m_succeeded = false; // written by the work's thread before it finishes
    QString m_error;          // likewise
};
