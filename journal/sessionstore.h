// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "journal/journalsession.h"

#include <QList>
#include <QSqlDatabase>

#include <optional>

// The sessions table of a journal.
class SessionStore
{
public:
    explicit SessionStore(QSqlDatabase database);

    // The new session's id, or -1.
    qint64 create(const JournalSession &session);
    // Ends a session and counts its readings by kind and mode.
    bool end(qint64 id, qint64 endedMs, bool clean);
    bool remove(qint64 id);

    std::optional<JournalSession> find(qint64 id) const;
    // The session started last, if any.
    std::optional<JournalSession> latest() const;
    // Sessions started from `fromMs` up to, not including, `toMs`, the
    // newest first; -1 leaves a side open.
    QList<JournalSession> list(qint64 fromMs = -1, qint64 toMs = -1) const;
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
