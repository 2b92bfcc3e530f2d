// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "journal/journalsession.h"
#include "journal/roworigin.h"

#include <QList>
#include <QSqlDatabase>

#include <optional>

// The sessions table of a journal.
class SessionStore
{
public:
    explicit SessionStore(QSqlDatabase database);

    // The new session's id, or -1. A session that came from the server
    // comes ended, and is on the server already.
    qint64 create(const JournalSession &session, RowOrigin origin = RowOrigin::Here);
    // Ends a session and counts its readings by kind and mode.
    bool end(qint64 id, qint64 endedMs, bool clean);
    // Counts an ended session's readings by kind and mode again, inside the
    // caller's transaction.
    bool countReadings(qint64 id);
    bool remove(qint64 id);

    std::optional<JournalSession> find(qint64 id) const;
    // The id of the session of that uuid, or -1; `ok` is false when the
    // journal could not be read.
    qint64 idOf(const QString &uuid, bool *ok = nullptr) const;
    // The session started last, if any; with RowOrigin::Here, the last of
    // those recorded in this journal, not come down from the server.
    std::optional<JournalSession> latest() const;
    std::optional<JournalSession> latest(RowOrigin origin) const;
    // Sessions started from `fromMs` up to, not including, `toMs`, the
    // newest first; -1 leaves a side open.
    QList<JournalSession> list(qint64 fromMs = -1, qint64 toMs = -1) const;
    // Sessions recorded here that never ended; one come down from the
    // server is another laptop's, whatever it says.
    QList<JournalSession> unended() const;

    // The time of the session's last reading, or -1 when it has none.
    qint64 lastReadingTime(qint64 id) const;

    QString errorString() const { return m_error; }

private:
    QList<JournalSession> select(const QString &where, const QVariantList &values) const;
    void fillCounts(JournalSession &session) const;

    QSqlDatabase m_database;
    mutable QString m_error;
};
