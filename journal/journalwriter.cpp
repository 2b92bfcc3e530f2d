// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "journal/journalwriter.h"

#include "journal/journalcheckpointer.h"
#include "journal/journaldatabase.h"
#include "journal/journalupkeep.h"
#include "journal/readingstore.h"
#include "journal/scopedtransaction.h"
#include "journal/sessioncutter.h"
#include "journal/sessionstore.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

#include <algorithm>

JournalWriter::JournalWriter(const QString &fileName, const QString &source, QObject *parent)
    : QObject(parent)
    , m_fileName(fileName)
    , m_source(source)
{
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, &JournalWriter::retry);
}

JournalWriter::~JournalWriter()
{
    if (isOpen())
        endSession();
    m_checkpointer.reset();
    m_readings.reset();
    m_sessions.reset();
    m_database.reset();
}

bool JournalWriter::open()
{
    m_database = std::make_unique<JournalDatabase>(m_fileName);
    if (!m_database->open() || m_database->isReadOnly()) {
        m_error = m_database->isOpen() ? JournalDatabase::readOnlyText() : m_database->errorString();
        m_database.reset();
        return false;
    }
    // A sync writes what came down a batch to a transaction, each far
    // shorter than this: the writer waits for it instead of failing.
    QSqlQuery(m_database->connection()).exec(QStringLiteral("PRAGMA busy_timeout = %1").arg(busyWaitMs));
    m_sessions = std::make_unique<SessionStore>(m_database->connection());
    m_readings = std::make_unique<ReadingStore>(m_database->connection());
    m_checkpointer = std::make_unique<JournalCheckpointer>(m_fileName);
    // With a thread of its own making the log durable, a commit here is an
    // append to the log and never waits for the disk.
    if (m_checkpointer->isRunning())
        QSqlQuery(m_database->connection()).exec(QStringLiteral("PRAGMA wal_autocheckpoint = 0"));
    JournalUpkeep::catchUp(m_database->connection());
    return true;
}

bool JournalWriter::isOpen() const
{
    return m_database != nullptr;
}

void JournalWriter::beginSession(const HIDDevInfo &meter)
{
    if (!isOpen())
        return;
    if (hasSession())
        endSession();
    m_session = JournalSession();
    m_session.uuid = QUuid::createUuid().toString(QUuid::WithoutBraces);
    m_session.source = m_source;
    m_session.startedMs = QDateTime::currentMSecsSinceEpoch();
    m_session.meterPath = meter.path;
    m_session.serialNumber = meter.serialNumber;
    m_session.manufacturer = meter.manufacturer;
    m_session.product = meter.product;
    m_session.programVersion = m_programVersion.isEmpty() ? QCoreApplication::applicationVersion() : m_programVersion;
    m_nextSeq = 0;
    lockSession();
    flush();
}

// What could not be written by now stays unwritten: the session ends with
// what the journal holds.
void JournalWriter::endSession()
{
    if (!isOpen() || !hasSession())
        return;
    m_retry.stop();
    flush();
    if (m_session.id >= 0) {
        const qint64 last = m_sessions->lastReadingTime(m_session.id);
        const qint64 ended = std::max({QDateTime::currentMSecsSinceEpoch(), last, m_session.startedMs});
        if (!m_sessions->end(m_session.id, ended, m_pending.isEmpty()))
            reportFailure(m_sessions->errorString());
        SessionCutter::cut(m_database->connection(), m_session.id);
    }
    if (!m_pending.isEmpty())
        qDebug() << "JournalWriter" << m_pending.size() << "readings could not be written";
    m_lost += m_pending.size();
    m_pending.clear();
    m_session = JournalSession();
    if (m_sessionLock)
        m_sessionLock->unlock();
    m_sessionLock.reset();
    m_checkpointer->noteWrite();
    m_checkpointer->checkpointNow();
}

qint64 JournalWriter::write(const JournalReading &reading)
{
    if (!isOpen())
        return -1;
    if (!hasSession())
        beginSession(HIDDevInfo());
    const qint64 seq = m_nextSeq++;
    if (m_pending.size() >= maxPending) {
        ++m_lost;
        return seq;
    }
    m_pending.append({seq, reading});
    // While the journal fails, readings wait for the next try instead of
    // each trying again with all that waits.
    if (!m_retry.isActive() && !flush())
        scheduleRetry();
    return seq;
}

void JournalWriter::scheduleRetry()
{
    m_retryMs = std::clamp(m_retryMs * 2, firstRetryMs, lastRetryMs);
    m_retry.start(m_retryMs);
}

void JournalWriter::retry()
{
    if (!flush())
        scheduleRetry();
}

QList<JournalSession> JournalWriter::closeAbandonedSessions()
{
    QList<JournalSession> abandoned;
    if (!isOpen())
        return abandoned;
    for (JournalSession session : m_sessions->unended()) {
        if (session.uuid == m_session.uuid)
            continue;
        // A program that still runs holds its session's lock; a lock left
        // by one that died is taken over.
        QLockFile lock(lockFileName(m_fileName, session.uuid));
        if (!lock.tryLock(0))
            continue;
        const qint64 last = m_sessions->lastReadingTime(session.id);
        if (m_sessions->end(session.id, std::max(last, session.startedMs), false)) {
            SessionCutter::cut(m_database->connection(), session.id);
            if (const auto ended = m_sessions->find(session.id))
                abandoned.append(*ended);
        }
        lock.unlock();
    }
    return abandoned;
}

SessionStore &JournalWriter::sessions()
{
    return *m_sessions;
}

ReadingStore &JournalWriter::readings()
{
    return *m_readings;
}

QSqlDatabase JournalWriter::database() const
{
    return m_database ? m_database->connection() : QSqlDatabase();
}

QString JournalWriter::lockFileName(const QString &journalFile, const QString &sessionUuid)
{
    const QFileInfo journal(journalFile);
    return journal.absoluteDir().filePath(QStringLiteral(".%1.%2.lock").arg(journal.fileName(), sessionUuid));
}

bool JournalWriter::flush()
{
    ++m_attempts;
    if (!createSession() || !writePending())
        return false;
    m_retryMs = 0;
    if (m_failing) {
        m_failing = false;
        emit resumed();
    }
    return true;
}

bool JournalWriter::createSession()
{
    if (m_session.id >= 0)
        return true;
    m_session.id = m_sessions->create(m_session);
    if (m_session.id >= 0)
        return true;
    reportFailure(m_sessions->errorString());
    return false;
}

// Usually one reading, in a transaction of its own; readings that waited go
// in together.
bool JournalWriter::writePending()
{
    if (m_pending.isEmpty())
        return true;
    std::unique_ptr<ScopedTransaction> transaction;
    if (m_pending.size() > 1)
        transaction = std::make_unique<ScopedTransaction>(m_database->connection());
    for (const auto &[seq, reading] : qAsConst(m_pending)) {
        if (!m_readings->append(m_session.id, seq, reading)) {
            reportFailure(m_readings->errorString());
            return false;
        }
    }
    if (transaction && !transaction->commit()) {
        reportFailure(m_database->connection().lastError().text());
        return false;
    }
    m_pending.clear();
    m_checkpointer->noteWrite();
    return true;
}

void JournalWriter::reportFailure(const QString &reason)
{
    m_error = reason;
    if (m_failing)
        return;
    m_failing = true;
    qDebug() << "JournalWriter" << reason;
    emit failed(reason);
}

// Without a lock file (a directory that may not be written) the session is
// still kept; another program would only take it for abandoned too soon.
void JournalWriter::lockSession()
{
    m_sessionLock = std::make_unique<QLockFile>(lockFileName(m_fileName, m_session.uuid));
    m_sessionLock->setStaleLockTime(0);
    if (!m_sessionLock->tryLock(0))
        m_sessionLock.reset();
}
