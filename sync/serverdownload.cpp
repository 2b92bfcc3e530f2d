// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "sync/serverdownload.h"

#include "journal/readingstore.h"
#include "journal/scopedtransaction.h"
#include "journal/sessionstore.h"
#include "journal/teststore.h"
#include "sync/downloadbatches.h"
#include "sync/serverconnection.h"
#include "sync/syncjournal.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDebug>
#include <QLocale>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("ServerDownload", text);
}

// The session whose readings are on their way into the journal.
const QString receivingName = QStringLiteral("receiving");

// A row of the server's sessions, as downloadSessions() asks for it.
JournalSession sessionOf(const QSqlQuery &row)
{
    JournalSession session;
    session.uuid = row.value(0).toString();
    session.source = row.value(1).toString();
    session.startedMs = row.value(2).toLongLong();
    session.endedMs = row.value(3).isNull() ? -1 : row.value(3).toLongLong();
    session.cleanEnd = row.value(4).toBool();
    session.meterPath = row.value(5).toString();
    session.serialNumber = row.value(6).toString();
    session.manufacturer = row.value(7).toString();
    session.product = row.value(8).toString();
    session.programVersion = row.value(9).toString();
    return session;
}

// A row of the server's tests, as downloadTests() asks for it, in the
// journal's session of that uuid.
InsulationTest testOf(const QSqlQuery &row, qint64 sessionId)
{
    InsulationTest test;
    test.uuid = row.value(0).toString();
    test.sessionId = sessionId;
    test.firstSeq = row.value(2).toLongLong();
    test.lastSeq = row.value(3).toLongLong();
    test.mode = row.value(4).toInt();
    test.origin = row.value(5).toInt() == 1 ? InsulationTest::Origin::Memory : InsulationTest::Origin::Live;
    test.status = row.value(6).toInt() == 2 ? InsulationTest::Status::Interrupted : InsulationTest::Status::Completed;
    test.startedMs = row.value(7).toLongLong();
    test.endedMs = row.value(8).toLongLong();
    test.setVolts = row.value(9).toInt();
    return test;
}
} // namespace

ServerDownload::ServerDownload(QSqlDatabase journal, ServerConnection &server, std::function<bool(SyncStep)> step)
    : m_journal(std::move(journal))
    , m_server(server)
    , m_step(std::move(step))
{
}

bool ServerDownload::downloadSessions(const QString &cursor)
{
    // Not forward-only: the driver would stream it row by row, and the
    // readings asked for meanwhile would cut the stream off.
    QSqlQuery query(m_server.database());
    query.prepare(QStringLiteral("SELECT uuid, source, started_ms, ended_ms, clean_end, meter_path, serial_number,"
                                 " manufacturer, product, program_version FROM sessions"
                                 " WHERE change_xid >= ?::xid8 ORDER BY change_xid"));
    query.addBindValue(cursor);
    if (!query.exec())
        return failServer(query.lastError());
    const SessionStore sessions(m_journal);
    const QString receiving = SyncJournal(m_journal).value(receivingName);
    while (query.next()) {
        const JournalSession session = sessionOf(query);
        bool ok = true;
        const qint64 known = sessions.idOf(session.uuid, &ok);
        if (!ok)
            return failLocal(sessions.errorString());
        if (known >= 0 && session.uuid != receiving)
            continue;
        // A session here is one that ended; only this laptop's own may be
        // found unended, and restored.
        if (!session.hasEnded()) {
            if (!leaveOut(session, known, tr("it has no end")))
                return false;
            continue;
        }
        if (!receiveSession(session, known) || !m_step(SyncStep::Received))
            return false;
    }
    return true;
}

// The session first, noted as on its way; then its readings in batches;
// then what the journal derives from them, and the note goes.
bool ServerDownload::receiveSession(const JournalSession &session, qint64 knownId)
{
    qint64 id = knownId;
    if (id < 0) {
        ScopedTransaction transaction(m_journal);
        SessionStore sessions(m_journal);
        id = sessions.create(session, RowOrigin::Server);
        if (id < 0)
            return failLocal(sessions.errorString());
        SyncJournal journal(m_journal);
        if (!journal.setValue(receivingName, session.uuid))
            return failLocal(journal.errorString());
        if (!transaction.commit())
            return failLocal(m_journal.lastError().text());
    }
    QString wrong;
    if (!receiveReadings(id, session.uuid, wrong))
        return !wrong.isEmpty() && leaveOut(session, id, wrong);
    if (!finishSession(id))
        return false;
    ++m_sessions;
    return true;
}

bool ServerDownload::receiveReadings(qint64 localSession, const QString &uuid, QString &wrong)
{
    ReadingStore store(m_journal);
    const qint64 from = store.nextSeq(localSession);
    QSqlQuery readings(m_server.database());
    readings.setForwardOnly(true);
    readings.prepare(QStringLiteral("SELECT seq, kind, time_ms, frame FROM readings WHERE session_uuid = ?"
                                    " AND seq >= ? ORDER BY seq"));
    readings.addBindValue(uuid);
    readings.addBindValue(from);
    if (!readings.exec())
        return failServer(readings.lastError());
    DownloadBatches batches(m_journal, readingsPerBatch, m_step);
    qint64 previous = from - 1;
    JournalReading reading;
    const bool done = batches.receiveAll(readings, [&](const QSqlQuery &row) {
        const qint64 seq = row.value(0).toLongLong();
        if (seq <= previous) {
            wrong = tr("reading %1 is there twice").arg(seq);
            return false;
        }
        previous = seq;
        if (!batches.beginWrite())
            return failLocal(batches.errorString());
        reading.kind = row.value(1).toInt() == JournalReading::Stored ? JournalReading::Stored : JournalReading::Live;
        reading.timeMs = row.value(2).toLongLong();
        reading.frame = row.value(3).toByteArray();
        if (store.append(localSession, seq, reading))
            return true;
        if (DownloadBatches::breaksRule(store.errorString()))
            wrong = tr("reading %1: %2").arg(seq).arg(store.errorString());
        return failLocal(store.errorString());
    });
    if (!done && wrong.isEmpty() && m_error.isEmpty() && !batches.errorString().isEmpty())
        failLocal(batches.errorString());
    return done;
}

// The session is cut into tests already (its tests come down as they are),
// so nothing here cuts it again.
bool ServerDownload::finishSession(qint64 localSession)
{
    ScopedTransaction transaction(m_journal);
    SessionStore sessions(m_journal);
    TestStore tests(m_journal);
    SyncJournal journal(m_journal);
    if (!sessions.countReadings(localSession))
        return failLocal(sessions.errorString());
    if (!tests.setThroughSeq(localSession, ReadingStore(m_journal).nextSeq(localSession) - 1))
        return failLocal(tests.errorString());
    if (!journal.setValue(receivingName, QString()))
        return failLocal(journal.errorString());
    return transaction.commit() || failLocal(m_journal.lastError().text());
}

// What came of the session goes, and the journal is as before it; the
// user is told what it was, once: the cursor moves past it.
bool ServerDownload::leaveOut(const JournalSession &session, qint64 localSession, const QString &why)
{
    m_error.clear();
    qDebug() << "[sync] left out session" << session.uuid << why;
    if (localSession >= 0) {
        ScopedTransaction transaction(m_journal);
        SessionStore sessions(m_journal);
        SyncJournal journal(m_journal);
        if (!sessions.remove(localSession))
            return failLocal(sessions.errorString());
        if (!journal.setValue(receivingName, QString()))
            return failLocal(journal.errorString());
        if (!transaction.commit())
            return failLocal(m_journal.lastError().text());
    }
    const QString started = QLocale().toString(QDateTime::fromMSecsSinceEpoch(session.startedMs), QLocale::ShortFormat);
    m_notices << tr("A session from the server was left out: %1, started %2 (meter %3); %4.")
                     .arg(session.uuid, started, session.serialNumber.isEmpty() ? tr("unknown") : session.serialNumber,
                          why);
    return true;
}

bool ServerDownload::downloadTests(const QString &cursor)
{
    QSqlQuery query(m_server.database());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT uuid, session_uuid, first_seq, last_seq, mode, origin, status, started_ms,"
                                 " ended_ms, set_volts FROM tests WHERE change_xid >= ?::xid8 ORDER BY change_xid"));
    query.addBindValue(cursor);
    if (!query.exec())
        return failServer(query.lastError());
    const SessionStore sessions(m_journal);
    TestStore tests(m_journal);
    DownloadBatches batches(m_journal, testsPerBatch, m_step);
    const bool done = batches.receiveAll(query, [&](const QSqlQuery &row) {
        bool ok = true;
        if (tests.idOf(row.value(0).toString(), &ok) >= 0)
            return true;
        if (!ok)
            return failLocal(tests.errorString());
        const qint64 session = sessions.idOf(row.value(1).toString(), &ok);
        if (!ok)
            return failLocal(sessions.errorString());
        if (session < 0)
            return true;
        if (!batches.beginWrite())
            return failLocal(batches.errorString());
        InsulationTest test = testOf(row, session);
        if (!tests.add(test, RowOrigin::Server)) {
            if (!DownloadBatches::breaksRule(tests.errorString()))
                return failLocal(tests.errorString());
            qDebug() << "[sync] left out test" << test.uuid << tests.errorString();
            m_notices << tr("A test from the server was left out: %1 (%2).").arg(test.uuid, tests.errorString());
            return true;
        }
        ++m_tests;
        return true;
    });
    return done || failLocal(batches.errorString());
}

bool ServerDownload::failLocal(const QString &reason)
{
    if (m_error.isEmpty())
        m_error = reason;
    return false;
}

bool ServerDownload::failServer(const QSqlError &error)
{
    m_server.fail(error);
    return failLocal(m_server.errorString());
}
