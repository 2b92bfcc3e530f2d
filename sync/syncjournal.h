// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QSqlDatabase>
#include <QString>

// What a journal knows of its syncs: the server it syncs with, how far that
// server's changes have come down, when the last sync finished, and what
// waits to go up.
class SyncJournal
{
public:
    explicit SyncJournal(QSqlDatabase journal);

    QString value(const QString &name, const QString &fallback = QString()) const;
    bool setValue(const QString &name, const QString &value);

    // Ended sessions, tests, register items and test details not on the
    // server yet; -1 when the journal cannot say.
    int waiting() const;
    // -1 before the first sync.
    qint64 lastSyncMs() const;
    // The server's changes from this cursor on have not come down yet.
    QString cursor() const;
    bool finishSync(const QString &nextCursor, qint64 finishedMs);

    // A journal moved to another server sends everything again and takes
    // that server's changes from the start.
    bool followServer(const QString &serverId);

    QString errorString() const { return m_error; }

private:
    bool forgetServer();

    QSqlDatabase m_journal;
    mutable QString m_error;
};
