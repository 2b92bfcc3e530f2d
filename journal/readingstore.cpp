// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "journal/readingstore.h"

#include "insulation/testsegmenter.h"
#include "journal/sqlvalue.h"

#include <QSqlError>
#include <QVariant>

#include <limits>

ReadingStore::ReadingStore(QSqlDatabase database)
    : m_database(std::move(database))
    , m_insert(m_database)
{
}

bool ReadingStore::append(qint64 sessionId, qint64 seq, const JournalReading &reading)
{
    if (!m_prepared) {
        m_prepared = m_insert.prepare(QStringLiteral(
            "INSERT INTO readings (session_id, seq, kind, mode, time_ms, frame) VALUES (?, ?, ?, ?, ?, ?)"));
        if (!m_prepared) {
            m_error = m_insert.lastError().text();
            return false;
        }
    }
    m_insert.bindValue(0, sessionId);
    m_insert.bindValue(1, seq);
    m_insert.bindValue(2, int(reading.kind));
    m_insert.bindValue(3, reading.mode());
    m_insert.bindValue(4, reading.timeMs);
    m_insert.bindValue(5, reading.frame);
    if (m_insert.exec())
        return true;
    m_error = m_insert.lastError().text();
    return false;
}

int ReadingStore::storedCopies(const QByteArray &frame, const QString &serialNumber, const QString &manufacturer,
                               const QString &product) const
{
    QSqlQuery query(m_database);
    query.setForwardOnly(true);
    // "kind = 1" as a literal, so that the index of stored frames serves.
    query.prepare(QStringLiteral("SELECT count(*) FROM readings JOIN sessions ON sessions.id = readings.session_id"
                                 " WHERE readings.kind = 1 AND readings.frame = ? AND sessions.serial_number = ?"
                                 " AND (sessions.serial_number <> '' OR (sessions.manufacturer = ?"
                                 " AND sessions.product = ?))"));
    query.addBindValue(frame);
    query.addBindValue(SqlValue::ofText(serialNumber));
    query.addBindValue(SqlValue::ofText(manufacturer));
    query.addBindValue(SqlValue::ofText(product));
    if (!query.exec() || !query.next()) {
        m_error = query.lastError().text();
        return -1;
    }
    return query.value(0).toInt();
}

bool ReadingStore::forEach(qint64 sessionId, const std::function<bool(const JournalReading &)> &visit) const
{
    return forEachInRange(sessionId, 0, std::numeric_limits<qint64>::max(),
                          [&visit](const JournalReading &reading, qint64) { return visit(reading); });
}

bool ReadingStore::forEachInRange(qint64 sessionId, qint64 firstSeq, qint64 lastSeq,
                                  const std::function<bool(const JournalReading &, qint64 seq)> &visit) const
{
    QSqlQuery query(m_database);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT kind, time_ms, frame, seq FROM readings"
                                 " WHERE session_id = ? AND seq BETWEEN ? AND ? ORDER BY seq"));
    query.addBindValue(sessionId);
    query.addBindValue(firstSeq);
    query.addBindValue(lastSeq);
    if (!query.exec()) {
        m_error = query.lastError().text();
        return false;
    }
    JournalReading reading;
    while (query.next()) {
        reading.kind = query.value(0).toInt() == JournalReading::Stored ? JournalReading::Stored
                                                                         : JournalReading::Live;
        reading.timeMs = query.value(1).toLongLong();
        reading.frame = query.value(2).toByteArray();
        if (!visit(reading, query.value(3).toLongLong()))
            return true;
    }
    if (query.lastError().isValid()) {
        m_error = query.lastError().text();
        return false;
    }
    return true;
}

bool ReadingStore::segment(qint64 sessionId, qint64 firstSeq, qint64 lastSeq, TestSegmenter &segmenter) const
{
    return forEachInRange(sessionId, firstSeq, lastSeq, [&segmenter](const JournalReading &reading, qint64 seq) {
        const QSharedPointer<DMMData> record = reading.record();
        if (reading.kind == JournalReading::Stored)
            segmenter.addStored(record, seq);
        else
            segmenter.addLive(record, seq);
        return true;
    });
}

int ReadingStore::count(qint64 sessionId) const
{
    QSqlQuery query(m_database);
    query.prepare(QStringLiteral("SELECT count(*) FROM readings WHERE session_id = ?"));
    query.addBindValue(sessionId);
    return query.exec() && query.next() ? query.value(0).toInt() : 0;
}

qint64 ReadingStore::nextSeq(qint64 sessionId) const
{
    QSqlQuery query(m_database);
    query.prepare(QStringLiteral("SELECT max(seq) FROM readings WHERE session_id = ?"));
    query.addBindValue(sessionId);
    if (!query.exec() || !query.next() || query.value(0).isNull())
        return 0;
    return query.value(0).toLongLong() + 1;
}
