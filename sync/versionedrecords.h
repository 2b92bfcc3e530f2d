// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "sync/syncstep.h"
#include "sync/versionedtable.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <functional>
#include <optional>

class QSqlQuery;

class ServerConnection;

// Syncs the rows of the register or of the tests' details, which stay
// editable. An edit goes up when the server still has the version it was
// made on; when a colleague's newer edit got there first, the server's
// version stays, and this journal's edit is kept in the history on both
// sides (and becomes the server's own history, so nobody loses it). Each
// version the server replaces is kept in its history as well.
class VersionedRecords
{
public:
    // Rows come down in batches of this many, each in one transaction of
    // the journal: a few hundred keep its writers waiting no longer than a
    // moment.
    static constexpr int rowsPerBatch = 200;

    VersionedRecords(const VersionedTable &table, QSqlDatabase journal, ServerConnection &server,
                     std::function<bool(SyncStep)> step);

    // Every row edited here since it was last synced.
    [[nodiscard]] bool upload();
    // The rows changed on the server by transactions from `cursor` on; runs
    // inside the caller's server transaction.
    [[nodiscard]] bool download(const QString &cursor);

    int uploaded() const { return m_uploaded; }
    int downloaded() const { return m_downloaded; }
    int conflicts() const { return m_conflicts; }
    // A sentence for each lost edit and each row left out.
    QStringList notices() const { return m_notices; }
    // A row that came down waits for an edit here to go up first: the
    // server's changes from the same cursor must come down again.
    bool deferred() const { return m_deferred; }
    QString errorString() const { return m_error; }

private:
    struct LocalRow
    {
        qint64 localId = -1;
        QString key;
        QVariantList fields;
        QVariantList extras;
        int version = 0;
        int syncedVersion = 0;
        qint64 updatedMs = 0;
    };
    struct ServerRow
    {
        QString key;
        QVariantList fields;
        QVariantList kept; // the table's kept extras
        int version = 0;
        qint64 updatedMs = 0;
    };
    // Clash: the edit gives the row a natural key another row has.
    enum class Outcome { Inserted, Updated, Same, Conflict, Clash };
    // What the journal does with a row that came down.
    enum class Fit { Fits, Wait, LeaveOut };

    bool readPending(QList<LocalRow> &rows);
    bool uploadRow(const LocalRow &row);
    std::optional<ServerRow> lockServerRow(const QString &column, const QVariant &value, bool &ok);
    ServerRow serverRowOf(const QSqlQuery &query) const;
    bool insertOnServer(const LocalRow &row);
    bool replaceOnServer(const LocalRow &row, const ServerRow &current);
    bool keepOnServer(const LocalRow &row);
    bool markSent(const LocalRow &row, int serverVersion);
    bool takeServerVersion(const LocalRow &row, const ServerRow &current, bool keepLocalEdit);
    bool keepLocally(const LocalRow &row);
    bool keepReplaced(qint64 localId);
    bool otherHasKeyOnServer(const LocalRow &row, bool &ok);
    Fit fitsLocally(const ServerRow &row, qint64 localId);
    bool leaveOut(const ServerRow &row, const QString &why);
    QString describe(const QVariantList &fields) const;
    QString naturalKeyOf(const QVariantList &fields) const;
    bool receive(const ServerRow &row);
    bool insertLocally(const ServerRow &row);
    bool updateLocally(qint64 localId, int localVersion, const ServerRow &row);
    bool link(qint64 localId, const ServerRow &row);
    QVariant fieldOf(const QVariantList &fields, const QString &column) const;
    bool failLocal(const QString &reason);

    const VersionedTable &m_table;
    QSqlDatabase m_journal;
    ServerConnection &m_server;
    std::function<bool(SyncStep)> m_step;
    int m_uploaded = 0;
    int m_downloaded = 0;
    int m_conflicts = 0;
    QStringList m_notices;
    bool m_deferred = false;
    QString m_error;
};
