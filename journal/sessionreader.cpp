// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "journal/sessionreader.h"

#include "journal/journaldatabase.h"
#include "journal/readingstore.h"
#include "journal/sessionstore.h"

#include <QCoreApplication>

SessionReader::SessionReader(const QString &journalFile)
    : m_fileName(journalFile)
{
}

SessionReader::~SessionReader()
{
    m_readings.reset();
    m_sessions.reset();
    m_database.reset();
}

bool SessionReader::open()
{
    m_database = std::make_unique<JournalDatabase>(m_fileName);
    if (!m_database->open()) {
        m_error = m_database->errorString();
        m_database.reset();
        return false;
    }
    m_sessions = std::make_unique<SessionStore>(m_database->connection());
    m_readings = std::make_unique<ReadingStore>(m_database->connection());
    return true;
}

QSqlDatabase SessionReader::database() const
{
    return m_database ? m_database->connection() : QSqlDatabase();
}

QList<JournalSession> SessionReader::sessions(qint64 fromMs, qint64 toMs) const
{
    return m_sessions ? m_sessions->list(fromMs, toMs) : QList<JournalSession>();
}

std::optional<JournalSession> SessionReader::session(qint64 id) const
{
    return m_sessions ? m_sessions->find(id) : std::nullopt;
}

bool SessionReader::forEachReading(qint64 sessionId, const std::function<bool(const JournalReading &)> &visit)
{
    if (!m_readings)
        return false;
    if (m_readings->forEach(sessionId, visit))
        return true;
    m_error = m_readings->errorString();
    return false;
}

bool SessionReader::readRecords(qint64 sessionId, Records &records, BackgroundJob::Context *context)
{
    if (!m_readings)
        return false;
    const qint64 total = m_readings->count(sessionId);
    qint64 done = 0;
    Records read;
    const bool complete = forEachReading(sessionId, [&](const JournalReading &reading) {
        if (context && context->isCancelled())
            return false;
        if (const QSharedPointer<DMMData> record = reading.record())
            (reading.kind == JournalReading::Live ? read.live : read.stored).append(record);
        if (context)
            context->setProgress(++done, total);
        return true;
    });
    if (!complete || (context && context->isCancelled()))
        return false;
    records = std::move(read);
    return true;
}
