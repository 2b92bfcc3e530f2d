// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>
#include <QThread>

#include <atomic>
#include <memory>

// Moves the journal's write-ahead log into the database file on a thread of
// its own, about twice a second after writes. Each checkpoint first makes
// the log durable, so a power cut loses at most the last moment's readings,
// and the thread that writes readings never waits for the disk.
class JournalCheckpointer : public QObject
{
    Q_OBJECT

public:
    static constexpr int intervalMs = 500;

    explicit JournalCheckpointer(const QString &fileName, QObject *parent = nullptr);
    ~JournalCheckpointer() override;

    // False when the thread could not open its own connection; the writer
    // then checkpoints for itself.
    bool isRunning() const { return m_running; }
    void noteWrite();
    // Checkpoints now and waits for it, as at the end of a session.
    void checkpointNow();


private:
    class Worker;

    QThread m_thread;
    Worker *m_worker = nullptr; // lives on m_thread, deleted when it finishes
    std::shared_ptr<std::atomic<quint64>> m_writes;
    bool m_running = false;
};
