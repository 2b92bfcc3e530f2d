// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "sync/syncengine.h"

#include "journal/journaldatabase.h"
#include "journal/scopedtransaction.h"
#include "journal/journalupkeep.h"
#include "sync/serverdownload.h"
#include "sync/serverschema.h"
#include "sync/serverwatch.h"
#include "sync/sessionupload.h"
#include "sync/syncjournal.h"
#include "sync/versionedrecords.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDebug>
#include <QSqlError>
#include <QSqlQuery>

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("SyncEngine", text);
}
} // namespace

SyncEngine::SyncEngine(const QString &journalFile, const SyncSettings &settings, std::shared_ptr<ServerWatch> watch)
    : m_journalFile(journalFile)
    , m_settings(settings)
    , m_watch(watch ? std::move(watch) : std::make_shared<ServerWatch>())
{
}

SyncEngine::~SyncEngine() = default;

bool SyncEngine::openJournal()
{
    if (m_journal && m_journal->isOpen())
        return true;
    m_journal = std::make_unique<JournalDatabase>(m_journalFile);
    if (!m_journal->open())
        return fail(ServerConnection::Failure::Other,
                    tr("Cannot use the journal %1: %2").arg(m_journalFile, m_journal->errorString()));
    // What comes down must be written.
    if (m_journal->isReadOnly())
        return fail(ServerConnection::Failure::Other,
                    tr("Cannot use the journal %1: %2").arg(m_journalFile, JournalDatabase::readOnlyText()));
    // The window's writer holds the file for a moment at a time, and waits
    // longer than any batch of the sync takes; the sync waits for it too.
    QSqlQuery(m_journal->connection()).exec(QStringLiteral("PRAGMA busy_timeout = 2000"));
    // Sessions nobody cut into tests yet (an older logger's) are cut before they go.
    JournalUpkeep::catchUp(m_journal->connection());
    return true;
}

bool SyncEngine::run()
{
    m_report = SyncReport();
    m_error.clear();
    m_heldBack.clear();
    m_failure = ServerConnection::Failure::None;
    m_heldBackFailure = ServerConnection::Failure::None;
    m_stopped = false;
    if (!openJournal())
        return false;
    ServerConnection server(m_settings, m_watch.get());
    if (!server.open())
        return fail(server.failure(), server.errorString());
    SyncJournal journal(m_journal->connection());
    if (!journal.followServer(ServerSchema::serverId(server.database())))
        return fail(ServerConnection::Failure::Other, journal.errorString());
    if (!upload(server) || !download(server))
        return false;
    if (m_report.sessionsDown + m_report.testsDown + m_report.detailsDown + m_report.itemsDown > 0)
        JournalUpkeep::catchUp(m_journal->connection());
    m_report.waiting = journal.waiting();
    if (!m_heldBack.isEmpty())
        return fail(m_heldBackFailure, m_heldBack);
    qDebug() << "[sync] done:" << m_report.sessionsUp << "sessions up," << m_report.sessionsDown << "down,"
             << m_report.waiting << "waiting";
    return true;
}

bool SyncEngine::upload(ServerConnection &server)
{
    const auto stepper = [this](SyncStep at) { return step(at); };
    VersionedRecords items(VersionedTable::equipment(), m_journal->connection(), server, stepper);
    SessionUpload sessions(m_journal->connection(), server, stepper);
    VersionedRecords details(VersionedTable::testDetails(), m_journal->connection(), server, stepper);
    // The register's edits go first, so that tests' details find their
    // items; one the server refuses holds back nothing else.
    const bool done = (items.upload() || holdBack(server, items.errorString()))
                      && (sessions.uploadSessions() || fail(server.failure(), sessions.errorString()))
                      && (sessions.uploadTests() || fail(server.failure(), sessions.errorString()))
                      && (details.upload() || holdBack(server, details.errorString()));
    m_report.itemsUp = items.uploaded();
    m_report.sessionsUp = sessions.sessions();
    m_report.testsUp = sessions.tests();
    m_report.detailsUp = details.uploaded();
    m_report.conflicts = items.conflicts() + details.conflicts();
    m_report.notices << items.notices() << details.notices();
    return done;
}

// One snapshot of the server for the whole download: the cursor taken in it
// marks the oldest transaction that may still have been running, and what
// such a transaction wrote comes down next time.
bool SyncEngine::download(ServerConnection &server)
{
    QSqlDatabase database = server.database();
    ScopedTransaction transaction(database);
    QSqlQuery query(database);
    if (!transaction.isActive()
        || !query.exec(QStringLiteral("SET TRANSACTION ISOLATION LEVEL REPEATABLE READ, READ ONLY"))
        || !query.exec(QStringLiteral("SELECT pg_snapshot_xmin(pg_current_snapshot())::text")) || !query.next()) {
        server.fail(query.lastError().isValid() ? query.lastError() : database.lastError());
        return fail(server.failure(), server.errorString());
    }
    const QString nextCursor = query.value(0).toString();
    SyncJournal journal(m_journal->connection());
    const QString cursor = journal.cursor();

    const auto stepper = [this](SyncStep at) { return step(at); };
    VersionedRecords items(VersionedTable::equipment(), m_journal->connection(), server, stepper);
    ServerDownload sessions(m_journal->connection(), server, stepper);
    VersionedRecords details(VersionedTable::testDetails(), m_journal->connection(), server, stepper);
    const bool done = (items.download(cursor) || fail(server.failure(), items.errorString()))
                      && (sessions.downloadSessions(cursor) || fail(server.failure(), sessions.errorString()))
                      && (sessions.downloadTests(cursor) || fail(server.failure(), sessions.errorString()))
                      && (details.download(cursor) || fail(server.failure(), details.errorString()));
    m_report.itemsDown = items.downloaded();
    m_report.sessionsDown = sessions.sessions();
    m_report.testsDown = sessions.tests();
    m_report.detailsDown = details.downloaded();
    m_report.notices << items.notices() << sessions.notices() << details.notices();
    if (!done)
        return false;
    if (!transaction.commit()) {
        server.fail(database.lastError());
        return fail(server.failure(), server.errorString());
    }
    m_report.finishedMs = QDateTime::currentMSecsSinceEpoch();
    // A row that waits for an edit here to go up first comes down again
    // next time, and so does all that came after it.
    const bool deferred = items.deferred() || details.deferred();
    return journal.finishSync(deferred ? cursor : nextCursor, m_report.finishedMs)
           || fail(ServerConnection::Failure::Other, journal.errorString());
}

bool SyncEngine::holdBack(const ServerConnection &server, const QString &reason)
{
    if (m_stopped || server.failure() == ServerConnection::Failure::Unreachable)
        return fail(server.failure(), reason);
    qDebug() << "[sync] held back:" << reason;
    if (m_heldBack.isEmpty()) {
        m_heldBack = reason;
        m_heldBackFailure = server.failure() == ServerConnection::Failure::None ? ServerConnection::Failure::Other
                                                                                 : server.failure();
    }
    return true;
}

bool SyncEngine::step(SyncStep at)
{
    if (!m_hook || m_hook(at))
        return true;
    m_stopped = true;
    return false;
}

int SyncEngine::waiting()
{
    return openJournal() ? SyncJournal(m_journal->connection()).waiting() : -1;
}

qint64 SyncEngine::lastSyncMs()
{
    return openJournal() ? SyncJournal(m_journal->connection()).lastSyncMs() : -1;
}

bool SyncEngine::fail(ServerConnection::Failure failure, const QString &reason)
{
    if (!m_error.isEmpty())
        return false;
    m_failure = m_stopped ? ServerConnection::Failure::None : failure;
    m_error = m_stopped ? tr("The sync was stopped; what was not sent goes with the next one.") : reason;
    // A failed commit leaves no text on the statement that ran before it:
    // the journal's own last error says what it was (a full disk).
    if (m_error.trimmed().isEmpty() && m_journal)
        m_error = m_journal->connection().lastError().text().trimmed();
    if (m_error.isEmpty())
        m_error = tr("The journal or the server failed without saying why.");
    return false;
}
