// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "journal/journalcheckpointer.h"

#include <QAtomicInt>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTimer>

#include <functional>
#include <future>

namespace {
// Runs `work` on the thread of `context` and waits for it. A promise rather
// than a blocking queued call: the standard library's synchronisation is
// what ThreadSanitizer can see.
void runThere(QObject *context, const std::function<void()> &work)
{
    std::promise<void> done;
    std::future<void> finished = done.get_future();
    QMetaObject::invokeMethod(
        context,
        [&work, &done] {
            work();
            done.set_value();
        },
        Qt::QueuedConnection);
    finished.wait();
}
} // namespace

class JournalCheckpointer::Worker : public QObject
{
public:
    Worker(const QString &fileName, std::shared_ptr<std::atomic<quint64>> writes)
        : m_fileName(fileName)
        , m_writes(std::move(writes))
    {
        static QAtomicInt counter;
        m_connectionName = QStringLiteral("tessra-checkpoint-%1").arg(counter.fetchAndAddRelaxed(1));
    }

    // On the worker's thread, where the connection is used.
    bool start()
    {
        QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
        database.setDatabaseName(m_fileName);
        database.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=1000"));
        if (!database.open())
            return false;
        m_timer = std::make_unique<QTimer>();
        m_timer->setInterval(intervalMs);
        QObject::connect(m_timer.get(), &QTimer::timeout, [this] { checkpointIfWritten(); });
        m_timer->start();
        return true;
    }

    void checkpointIfWritten()
    {
        const quint64 writes = m_writes->load();
        if (writes == m_checkpointed)
            return;
        QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
        if (query.exec(QStringLiteral("PRAGMA wal_checkpoint(PASSIVE)")))
            m_checkpointed = writes;
    }

    void stop()
    {
        m_timer.reset();
        checkpointIfWritten();
        {
            QSqlDatabase database = QSqlDatabase::database(m_connectionName, false);
            database.close();
        }
        QSqlDatabase::removeDatabase(m_connectionName);
    }

private:
    QString m_fileName;
    QString m_connectionName;
    std::shared_ptr<std::atomic<quint64>> m_writes;
    quint64 m_checkpointed = 0;
    std::unique_ptr<QTimer> m_timer;
};

JournalCheckpointer::JournalCheckpointer(const QString &fileName, QObject *parent)
    : QObject(parent)
    , m_writes(std::make_shared<std::atomic<quint64>>(0))
{
    m_worker = new Worker(fileName, m_writes);
    m_worker->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    m_thread.start();
    bool started = false;
    runThere(m_worker, [this, &started] { started = m_worker->start(); });
    m_running = started;
}

JournalCheckpointer::~JournalCheckpointer()
{
    runThere(m_worker, [this] { m_worker->stop(); });
    m_thread.quit();
    m_thread.wait();
}

void JournalCheckpointer::noteWrite()
{
    m_writes->fetch_add(1, std::memory_order_relaxed);
}

void JournalCheckpointer::checkpointNow()
{
    if (!m_running)
        return;
    runThere(m_worker, [this] { m_worker->checkpointIfWritten(); });
}
