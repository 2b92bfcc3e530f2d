// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "journal/journalreading.h"
#include "journal/journalsession.h"
#include "meter/dmmdata.h"
#include "util/backgroundjob.h"

#include <QList>
#include <QSharedPointer>
#include <QSqlDatabase>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class JournalDatabase;
class ReadingStore;
class SessionStore;

// Reads sessions back from a journal on a connection of its own, so that it
// can work on any thread: a session's readings, or its records decoded again.
class SessionReader
{
public:
    struct Records
    {
        QList<QSharedPointer<DMMData>> live;
        QList<QSharedPointer<DMMData>> stored;
    };

    explicit SessionReader(const QString &journalFile);
    ~SessionReader();

    SessionReader(const SessionReader &) = delete;
    SessionReader &operator=(const SessionReader &) = delete;

    [[nodiscard]] bool open();
    QString errorString() const { return m_error; }
    // The reader's connection, for the tables it does not read itself.
    QSqlDatabase database() const;

    QList<JournalSession> sessions(qint64 fromMs = -1, qint64 toMs = -1) const;
    std::optional<JournalSession> session(qint64 id) const;

    // Every reading of the session in order, until `visit` returns false.
    bool forEachReading(qint64 sessionId, const std::function<bool(const JournalReading &)> &visit);
    // The session's records, decoded and stamped as they were first; with a
    // job's context, progress is reported and a cancel stops the reading
    // (false, with nothing half-read returned).
    bool readRecords(qint64 sessionId, Records &records, BackgroundJob::Context *context = nullptr);

private:
    QString m_fileName;
    QString m_error;
    std::unique_ptr<JournalDatabase> m_database;
    std::unique_ptr<SessionStore> m_sessions;
    std::unique_ptr<ReadingStore> m_readings;
};
