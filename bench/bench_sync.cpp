// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
//
// The team server, on a PostgreSQL server of the benchmark's own: a session
// of a hundred thousand readings sent by the sync against a plain COPY of
// the same rows into the same table, and the questions asked of a
// department's lifetime (a hundred technicians, ten thousand items, ten
// million tests): an item's trend, the tests of a day, and a sync with
// nothing new.
#include "bench/appscoped.h"
#include "bench/benchfigures.h"
#include "journal/journaldatabase.h"
#include "journal/readingstore.h"
#include "journal/scopedtransaction.h"
#include "journal/sessionstore.h"
#include "sim/democycle.h"
#include "support/pgserver.h"
#include "sync/serverconnection.h"
#include "sync/serverqueries.h"
#include "sync/sessionupload.h"
#include "sync/syncengine.h"
#include "sync/syncjournal.h"
#include "sync/serverschema.h"

#include <QDir>
#include <QElapsedTimer>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

#include <benchmark/benchmark.h>
#include <libpq-fe.h>

#include <iterator>

namespace {
constexpr int readingsPerSession = 100000;
constexpr int technicians = 100;
constexpr int items = 10000;
constexpr qint64 lifetimeTests = 10000000;
constexpr qint64 testsPerSession = 100;
constexpr qint64 firstTestMs = 1136073600000; // 2006-01-01
constexpr qint64 minuteMs = 60000;

// The same uuid for the same number, so that the data set can be asked
// about without remembering what was made.
QString numberedUuid(qint64 number, int kind)
{
    return QStringLiteral("00000000-0000-4%1-8000-%2")
        .arg(kind, 3, 10, QLatin1Char('0'))
        .arg(number, 12, 16, QLatin1Char('0'));
}

class BenchServer
{
public:
    BenchServer()
    {
        m_ready = m_server.start()
                  && m_server.execute(QStringLiteral("postgres"),
                                      {QStringLiteral("CREATE ROLE tessra_technicians NOLOGIN"),
                                       QStringLiteral("CREATE ROLE tech LOGIN PASSWORD 'tech-secret'"),
                                       QStringLiteral("CREATE DATABASE plant OWNER tech")});
        if (!m_ready)
            qWarning("[bench] %s", qPrintable(m_server.errorString()));
    }

    bool isReady() const { return m_ready; }
    PgServer &server() { return m_server; }

    SyncSettings settings() const
    {
        SyncSettings sync;
        sync.enabled = true;
        sync.host = m_server.host();
        sync.port = m_server.port();
        sync.database = QStringLiteral("plant");
        sync.user = QStringLiteral("tech");
        sync.password = QStringLiteral("tech-secret");
        sync.tls = QStringLiteral("disable");
        // Making the department's lifetime takes statements of minutes.
        sync.answerSeconds = 0;
        return sync;
    }

    QByteArray conninfo() const
    {
        return QStringLiteral("host=%1 port=%2 dbname=plant user=tech password=tech-secret sslmode=disable")
            .arg(m_server.host())
            .arg(m_server.port())
            .toUtf8();
    }

private:
    PgServer m_server;
    bool m_ready = false;
};

// A journal with one ended session of a hundred thousand readings, the
// demonstration meter's frames over and over.
class UploadJournal
{
public:
    UploadJournal()
        : m_journal(QDir::current().filePath(QStringLiteral("upload.sqlite")))
    {
        if (!m_journal.open())
            return;
        QList<QByteArray> frames;
        for (int round = 0; round < int(std::size(DemoCycle::testVoltages)); ++round)
            frames += DemoCycle(round).liveFrames();
        JournalSession session;
        session.uuid = QUuid::createUuid().toString(QUuid::WithoutBraces);
        session.source = QStringLiteral("logger");
        session.startedMs = firstTestMs;
        SessionStore sessions(m_journal.connection());
        m_sessionId = sessions.create(session);
        m_uuid = session.uuid;
        {
            ScopedTransaction transaction(m_journal.connection());
            ReadingStore readings(m_journal.connection());
            for (int seq = 0; seq < readingsPerSession; ++seq) {
                JournalReading reading;
                reading.timeMs = firstTestMs + seq * 300;
                reading.frame = frames.at(seq % frames.size());
                m_copyText += QStringLiteral("%1\t%2\t0\t%3\t%4\t\\\\x%5\n")
                                  .arg(m_uuid)
                                  .arg(seq)
                                  .arg(reading.mode())
                                  .arg(reading.timeMs)
                                  .arg(QString::fromLatin1(reading.frame.toHex()))
                                  .toUtf8();
                if (!readings.append(m_sessionId, seq, reading))
                    return;
            }
            if (!transaction.commit())
                return;
        }
        m_ready = sessions.end(m_sessionId, firstTestMs + readingsPerSession * 300, true);
    }

    bool isReady() const { return m_ready; }
    QSqlDatabase database() const { return m_journal.connection(); }
    QString uuid() const { return m_uuid; }
    // The same rows in COPY's text form.
    const QByteArray &copyText() const { return m_copyText; }

    bool markUnsent()
    {
        QSqlQuery query(m_journal.connection());
        return query.exec(QStringLiteral("UPDATE sessions SET synced = 0"));
    }

private:
    JournalDatabase m_journal;
    qint64 m_sessionId = -1;
    QString m_uuid;
    QByteArray m_copyText;
    bool m_ready = false;
};

// Each run starts from a server that has none of the session.
bool emptyServer(BenchServer &server)
{
    return server.server().execute(QStringLiteral("plant"),
                                   {QStringLiteral("SET client_min_messages = warning"),
                                    QStringLiteral("TRUNCATE tessra.sessions CASCADE")});
}

bool prepareServerTables(BenchServer &server)
{
    ServerConnection connection(server.settings());
    return connection.open();
}

void SyncUpload(benchmark::State &state)
{
    BenchServer &server = appScoped<BenchServer>();
    UploadJournal &journal = appScoped<UploadJournal>();
    if (!server.isReady() || !journal.isReady() || !prepareServerTables(server)) {
        state.SkipWithError("no server or journal");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        const bool ready = emptyServer(server) && journal.markUnsent();
        ServerConnection connection(server.settings());
        if (!ready || !connection.open()) {
            state.SkipWithError("server not ready");
            return;
        }
        state.ResumeTiming();
        SessionUpload upload(journal.database(), connection, [](SyncStep) { return true; });
        if (!upload.uploadSessions() || upload.sessions() != 1) {
            state.SkipWithError(qPrintable(upload.errorString()));
            return;
        }
    }
}

void CopyReadings(benchmark::State &state)
{
    BenchServer &server = appScoped<BenchServer>();
    UploadJournal &journal = appScoped<UploadJournal>();
    if (!server.isReady() || !journal.isReady() || !prepareServerTables(server)) {
        state.SkipWithError("no server or journal");
        return;
    }
    const QByteArray &rows = journal.copyText();
    for (auto _ : state) {
        state.PauseTiming();
        PGconn *connection = PQconnectdb(server.conninfo().constData());
        ServerConnection sessions(server.settings());
        QSqlQuery session(sessions.open() ? sessions.database() : QSqlDatabase());
        session.prepare(QStringLiteral("INSERT INTO sessions (uuid, source, started_ms, ended_ms, clean_end)"
                                       " VALUES (?, 'logger', 0, 1, true)"));
        session.addBindValue(journal.uuid());
        const bool ready = emptyServer(server) && session.exec();
        if (!ready || PQstatus(connection) != CONNECTION_OK) {
            PQfinish(connection);
            state.SkipWithError("server not ready");
            return;
        }
        state.ResumeTiming();
        PQclear(PQexec(connection, "COPY tessra.readings (session_uuid, seq, kind, mode, time_ms, frame) FROM STDIN"));
        constexpr int chunk = 1 << 20;
        for (int at = 0; at < rows.size(); at += chunk)
            PQputCopyData(connection, rows.constData() + at, std::min(chunk, int(rows.size()) - at));
        PQputCopyEnd(connection, nullptr);
        PGresult *result = PQgetResult(connection);
        const bool copied = PQresultStatus(result) == PGRES_COMMAND_OK;
        PQclear(result);
        state.PauseTiming();
        PQfinish(connection);
        state.ResumeTiming();
        if (!copied) {
            state.SkipWithError("COPY failed");
            return;
        }
    }
}

// Ten million tests a minute apart from 2006 on, a hundred to a session,
// each session one technician's; each test's details name one of ten
// thousand items, spread over the whole span. Made once, on the server.
class Lifetime
{
public:
    Lifetime()
    {
        BenchServer &server = appScoped<BenchServer>();
        ServerConnection connection(server.settings());
        if (!server.isReady() || !connection.open())
            return;
        QElapsedTimer made;
        made.start();
        m_ready = run(connection, QStringLiteral("SET maintenance_work_mem = '512MB'"), {})
                  && run(connection, QStringLiteral("TRUNCATE sessions, equipment CASCADE"), {})
                  && run(connection,
                         QStringLiteral("INSERT INTO equipment (uuid, tag, tag_key, version, updated_ms)"
                                        " SELECT %1, 'M-' || i, 'm-' || i, 1, ?::bigint FROM generate_series(0, ?) AS i")
                             .arg(uuidOf(1, QStringLiteral("i"))),
                         {firstTestMs, items - 1})
                  && run(connection,
                         QStringLiteral("INSERT INTO sessions (uuid, source, started_ms, ended_ms, clean_end,"
                                        " uploaded_by) SELECT %1, 'window', ?::bigint + i * ?::bigint,"
                                        " ?::bigint + (i + 1) * ?::bigint, true, 'tech' || (i % ?)"
                                        " FROM generate_series(0, ?) AS i")
                             .arg(uuidOf(2, QStringLiteral("i"))),
                         {firstTestMs, testsPerSession * minuteMs, firstTestMs, testsPerSession * minuteMs,
                          technicians, lifetimeTests / testsPerSession - 1})
                  && run(connection,
                         QStringLiteral("INSERT INTO tests (uuid, session_uuid, first_seq, last_seq, mode, origin,"
                                        " status, started_ms, ended_ms, set_volts)"
                                        " SELECT %1, %2, 0, 99, 3, 0, 1, ?::bigint + i * ?::bigint,"
                                        " ?::bigint + i * ?::bigint + 50000, 1000"
                                        " FROM generate_series(0, ?) AS i")
                             .arg(uuidOf(3, QStringLiteral("i")), uuidOf(2, QStringLiteral("(i / 100)"))),
                         {firstTestMs, minuteMs, firstTestMs, minuteMs, lifetimeTests - 1})
                  && run(connection,
                         QStringLiteral("INSERT INTO test_details (test_uuid, started_ms, session_uuid, ended_ms,"
                                        " mode, set_volts, equipment, equipment_uuid, insulation_celsius, version,"
                                        " updated_ms)"
                                        " SELECT %1, ?::bigint + i * ?::bigint, %2, ?::bigint + i * ?::bigint + 50000,"
                                        " 3, 1000, 'M-' || ((i::bigint * 7919) % ?), %3, 20 + i % 15, 1, ?::bigint"
                                        " FROM generate_series(0, ?) AS i")
                             .arg(uuidOf(3, QStringLiteral("i")), uuidOf(2, QStringLiteral("(i / 100)")),
                                  uuidOf(1, QStringLiteral("((i::bigint * 7919) % %1)").arg(items))),
                         {firstTestMs, minuteMs, firstTestMs, minuteMs, items, firstTestMs, lifetimeTests - 1})
                  && run(connection, QStringLiteral("VACUUM ANALYZE"), {});
        m_madeSeconds = made.elapsed() / 1000.0;
    }

    bool isReady() const { return m_ready; }
    double madeSeconds() const { return m_madeSeconds; }
    static QString itemUuid(int number) { return numberedUuid(number, 1); }

private:
    // The uuid numbered by the expression, as numberedUuid() makes it.
    static QString uuidOf(int kind, const QString &number)
    {
        return QStringLiteral("('00000000-0000-4%1-8000-' || lpad(to_hex(%2), 12, '0'))::uuid")
            .arg(kind, 3, 10, QLatin1Char('0'))
            .arg(number);
    }

    static bool run(ServerConnection &connection, const QString &sql, const QVariantList &values)
    {
        // SET and VACUUM cannot be prepared: statements without values go as they are.
        QSqlQuery query(connection.database());
        bool done = false;
        if (values.isEmpty()) {
            done = query.exec(sql);
        } else {
            query.prepare(sql);
            for (const QVariant &value : values)
                query.addBindValue(value);
            done = query.exec();
        }
        if (done)
            return true;
        qWarning("[bench] %s: %s", qPrintable(sql), qPrintable(query.lastError().text()));
        return false;
    }

    bool m_ready = false;
    double m_madeSeconds = 0.0;
};

// Wall-clock milliseconds per run, as a counter the figures can take.
void countMilliseconds(benchmark::State &state, double seconds)
{
    state.counters["ms"] = benchmark::Counter(seconds * 1000.0, benchmark::Counter::kAvgIterations);
}

void ItemTrend(benchmark::State &state)
{
    const Lifetime &lifetime = appScoped<Lifetime>();
    ServerConnection connection(appScoped<BenchServer>().settings());
    if (!lifetime.isReady() || !connection.open()) {
        state.SkipWithError("no data set");
        return;
    }
    const ServerQueries queries(connection.database());
    int item = 0;
    int tests = 0;
    QElapsedTimer timer;
    double seconds = 0.0;
    for (auto _ : state) {
        timer.start();
        tests = queries.itemTrend(Lifetime::itemUuid(item)).size();
        seconds += timer.nsecsElapsed() / 1e9;
        item = (item + 7) % items;
    }
    countMilliseconds(state, seconds);
    state.counters["tests"] = tests;
    state.counters["madeSeconds"] = lifetime.madeSeconds();
}

void TestsOfADay(benchmark::State &state)
{
    const Lifetime &lifetime = appScoped<Lifetime>();
    ServerConnection connection(appScoped<BenchServer>().settings());
    if (!lifetime.isReady() || !connection.open()) {
        state.SkipWithError("no data set");
        return;
    }
    const ServerQueries queries(connection.database());
    constexpr qint64 dayMs = 24 * 3600 * 1000LL;
    qint64 day = 0;
    int tests = 0;
    QElapsedTimer timer;
    double seconds = 0.0;
    for (auto _ : state) {
        timer.start();
        const qint64 from = firstTestMs + day * dayMs;
        tests = queries.testsBetween(from, from + dayMs).size();
        seconds += timer.nsecsElapsed() / 1e9;
        day = (day + 97) % 6900;
    }
    countMilliseconds(state, seconds);
    state.counters["tests"] = tests;
}

// A laptop that has everything already: the whole sync, connection and
// all, asks what changed and finds nothing.
void SyncNothingNew(benchmark::State &state)
{
    const Lifetime &lifetime = appScoped<Lifetime>();
    BenchServer &server = appScoped<BenchServer>();
    const QString file = QDir::current().filePath(QStringLiteral("uptodate.sqlite"));
    JournalDatabase journal(file);
    ServerConnection connection(server.settings());
    if (!lifetime.isReady() || !journal.open() || !connection.open()) {
        state.SkipWithError("no data set");
        return;
    }
    QSqlQuery snapshot(connection.database());
    if (!snapshot.exec(QStringLiteral("SELECT pg_snapshot_xmin(pg_current_snapshot())::text")) || !snapshot.next()) {
        state.SkipWithError("no snapshot");
        return;
    }
    SyncJournal known(journal.connection());
    known.followServer(ServerSchema::serverId(connection.database()));
    known.finishSync(snapshot.value(0).toString(), firstTestMs);
    SyncEngine engine(file, server.settings());
    QElapsedTimer timer;
    double seconds = 0.0;
    for (auto _ : state) {
        timer.start();
        if (!engine.run() || engine.report().testsDown != 0) {
            state.SkipWithError(qPrintable(engine.errorString()));
            return;
        }
        seconds += timer.nsecsElapsed() / 1e9;
    }
    countMilliseconds(state, seconds);
}

BENCHMARK(SyncUpload)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(CopyReadings)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ItemTrend)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(TestsOfADay)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(SyncNothingNew)->Unit(benchmark::kMillisecond)->UseRealTime();

// The goals: the upload within twice a bare COPY; an item's trend among ten
// million tests in less than one redraw of the chart (5.7 ms, figure 3).
const bool figures =
    BenchFigures::addRealTimeRatio("sync upload / COPY, 100 000 readings (wall clock)", "SyncUpload",
                                   "CopyReadings", 2.0)
    && BenchFigures::addCounter("an item's trend among 10 000 000 tests, ms (wall clock)", "ItemTrend", "ms", 5.7,
                                false)
    && BenchFigures::addCounter("the tests of a day among 10 000 000, ms (wall clock)", "TestsOfADay", "ms", 0.0,
                                false)
    && BenchFigures::addCounter("a sync with nothing new, 10 000 000 tests, ms (wall clock)", "SyncNothingNew", "ms",
                                0.0, false);
} // namespace
