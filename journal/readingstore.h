// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "journal/journalreading.h"

#include <QSqlDatabase>
#include <QSqlQuery>

#include <functional>

class TestSegmenter;

// The readings table of a journal.
class ReadingStore
{
public:
    explicit ReadingStore(QSqlDatabase database);

    // One statement, prepared once, for as many readings as come.
    [[nodiscard]] bool append(qint64 sessionId, qint64 seq, const JournalReading &reading);

    // Hands the session's readings to `visit` in order until it returns
    // false; false when reading the journal failed.
    bool forEach(qint64 sessionId, const std::function<bool(const JournalReading &)> &visit) const;
    // The readings numbered from `firstSeq` to `lastSeq`, with their numbers.
    bool forEachInRange(qint64 sessionId, qint64 firstSeq, qint64 lastSeq,
                        const std::function<bool(const JournalReading &, qint64 seq)> &visit) const;
    // The readings of that range handed to the segmenter as they were
    // recorded, so that it cuts them as it did then.
    bool segment(qint64 sessionId, qint64 firstSeq, qint64 lastSeq, TestSegmenter &segmenter) const;
    int count(qint64 sessionId) const;
    // How many readings from the memory of the meter with that serial number
    // (or, without one, of that maker and product) are this very frame; -1
    // when reading the journal failed.
    int storedCopies(const QByteArray &frame, const QString &serialNumber, const QString &manufacturer,
                     const QString &product) const;
    // The sequence number that follows the session's last reading.
    qint64 nextSeq(qint64 sessionId) const;

    QString errorString() const { return m_error; }

private:
    QSqlDatabase m_database;
    QSqlQuery m_insert;
    bool m_prepared = false;
    mutable QString m_error;
};
