// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "sync/serverdownload.h"

#include "journal/readingstore.h"
#include "journal/scopedtransaction.h"
#include "journal/sessionstore.h"
#include "journal/teststore.h"
#include "sync/downloadbatches.h"
#include "sync/serverconnection.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {
// A row of the server's sessions, as downloadSessions() asks for it.
JournalSession sessionOf(const QSqlQuery &row)
{
    JournalSession session;
    session.uuid = row.value(0).toString();
    session.source = row.value(1).toString();
    session.startedMs = row.value(2).toLongLong();
    session.endedMs = row.value(3).toLongLong();
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
    while (query.next()) {
        bool ok = true;
        if (sessions.idOf(query.value(0).toString(), &ok) >= 0)
            continue;
        if (!ok)
            return failLocal(sessions.errorString());
        if (!receiveSession(sessionOf(query)) || !m_step(SyncStep::Received))
            return false;
    }
    return true;
}

// A session and all its readings in one transaction of the journal: a
// session seen here is whole. It is cut into tests already (its tests come
// down as they are), so nothing here cuts it again.
bool ServerDownload::receiveSession(const JournalSession &session)
{
    ScopedTransaction transaction(m_journal);
    SessionStore sessions(m_journal);
    const qint64 id = sessions.create(session, RowOrigin::Server);
    if (id < 0)
        return failLocal(sessions.errorString());
    ReadingStore readings(m_journal);
    TestStore tests(m_journal);
    if (!receiveReadings(id, session.uuid, readings))
        return false;
    if (!sessions.countReadings(id))
        return failLocal(sessions.errorString());
    if (!tests.setThroughSeq(id, readings.nextSeq(id) - 1))
        return failLocal(tests.errorString());
    if (!transaction.commit())
        return failLocal(m_journal.lastError().text());
    ++m_sessions;
    return true;
}

bool ServerDownload::receiveReadings(qint64 localSession, const QString &uuid, ReadingStore &store)
{
    QSqlQuery readings(m_server.database());
    readings.setForwardOnly(true);
    readings.prepare(QStringLiteral("SELECT seq, kind, time_ms, frame FROM readings WHERE session_uuid = ?"
                                    " ORDER BY seq"));
    readings.addBindValue(uuid);
    if (!readings.exec())
        return failServer(readings.lastError());
    JournalReading reading;
    while (readings.next()) {
        reading.kind = readings.value(1).toInt() == JournalReading::Stored ? JournalReading::Stored
                                                                            : JournalReading::Live;
        reading.timeMs = readings.value(2).toLongLong();
        reading.frame = readings.value(3).toByteArray();
        if (!store.append(localSession, readings.value(0).toLongLong(), reading))
            return failLocal(store.errorString());
    }
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
        if (!tests.add(test, RowOrigin::Server))
            return failLocal(tests.errorString());
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
