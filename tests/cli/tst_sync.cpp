// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "cli/loggerrun.h"
#include "journal/journaldatabase.h"
#include "loggerharness.h"
#include "support/pgserver.h"
#include "support/tempworkdir.h"
#include "sync/syncengine.h"
#include "sync/syncsettings.h"
#include "testpaths.h"

#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QSqlQuery>
#include <QTest>

// The logger's --sync, run as the real program: the bench's journal goes up
// when the run is done, or stays waiting when the server cannot take it.
class TestCliSync : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void runThenSync_data();
    void runThenSync();
    void syncNeedsAJournal();

private:
    int serverSessions();

    PgServer m_server;
};

void TestCliSync::initTestCase()
{
    QVERIFY2(m_server.start(), qPrintable(m_server.errorString()));
    // The login owns the database and makes the tables itself; the group
    // the tables grant their rights to must be there.
    QVERIFY2(m_server.execute(QStringLiteral("postgres"),
                              {QStringLiteral("CREATE ROLE tessra_technicians NOLOGIN"),
                               QStringLiteral("CREATE ROLE tech LOGIN PASSWORD 'tech-secret'"),
                               QStringLiteral("CREATE DATABASE plant OWNER tech")}),
             qPrintable(m_server.errorString()));
}

void TestCliSync::cleanupTestCase()
{
    QVERIFY(m_server.stop());
}

int TestCliSync::serverSessions()
{
    QSqlDatabase connection = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("count"));
    connection.setHostName(m_server.host());
    connection.setPort(m_server.port());
    connection.setDatabaseName(QStringLiteral("plant"));
    connection.setUserName(PgServer::adminUser());
    connection.setPassword(PgServer::adminPassword());
    int count = -1;
    if (connection.open()) {
        QSqlQuery query(connection);
        if (query.exec(QStringLiteral("SELECT count(*) FROM tessra.sessions")) && query.next())
            count = query.value(0).toInt();
    }
    connection = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("count"));
    return count;
}

void TestCliSync::runThenSync_data()
{
    QTest::addColumn<bool>("reachable");
    QTest::addColumn<QString>("password");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");

    QTest::newRow("server reachable") << true << QStringLiteral("tech-secret") << int(LoggerRun::Success)
                                      << QStringLiteral("Synced with");
    QTest::newRow("wrong password") << true << QStringLiteral("guess") << int(LoggerRun::NotSynced)
                                    << QStringLiteral("password");
    QTest::newRow("server unreachable") << false << QStringLiteral("tech-secret") << int(LoggerRun::NotSynced)
                                        << QStringLiteral("cannot be reached");
}

// The server schema is the program's own to make on the first connection:
// this user owns the database.
void TestCliSync::runThenSync()
{
    QFETCH(bool, reachable);
    QFETCH(QString, password);
    QFETCH(int, status);
    QFETCH(QString, message);

    TempWorkDir dir;
    QVERIFY(dir.isValid());
    SyncSettings sync;
    sync.enabled = true;
    sync.host = m_server.host();
    sync.port = reachable ? m_server.port() : PgServer::freePort();
    sync.database = QStringLiteral("plant");
    sync.user = QStringLiteral("tech");
    sync.tls = QStringLiteral("disable");
    {
        QSettings options(QStringLiteral("options.ini"), QSettings::IniFormat);
        sync.save(options);
    }
    QVERIFY(writeFile(QStringLiteral("stream.bin"), demoStream()));
    const int before = serverSessions();

    QProcess logger;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PGPASSWORD"), password);
    environment.insert(QStringLiteral("PGPASSFILE"), dir.filePath(QStringLiteral("none")));
    logger.setProcessEnvironment(environment);
    logger.start(QStringLiteral(TESSRA_CLI_PROGRAM),
                 {QStringLiteral("--replay"), QStringLiteral("stream.bin"), QStringLiteral("--db"),
                  QStringLiteral("bench.sqlite"), QStringLiteral("--output"), QStringLiteral("/dev/null"),
                  QStringLiteral("--sync")});
    QVERIFY(logger.waitForFinished(120000));
    const QString err = QString::fromUtf8(logger.readAllStandardError());
    QCOMPARE(logger.exitCode(), status);
    QVERIFY2(err.contains(message), qPrintable(err));
    QCOMPARE(serverSessions(), qMax(before, 0) + (status == LoggerRun::Success ? 1 : 0));

    SyncEngine engine(dir.filePath(QStringLiteral("bench.sqlite")), sync);
    QCOMPARE(engine.waiting() > 0, status != LoggerRun::Success);
}

void TestCliSync::syncNeedsAJournal()
{
    TempWorkDir dir;
    const Outcome outcome = runLogger({QStringLiteral("--replay"), QStringLiteral("stream.bin"), QStringLiteral("--sync")});
    QCOMPARE(outcome.status, int(LoggerRun::UsageError));
    QVERIFY(outcome.err.contains(QStringLiteral("--sync")));
}

QTEST_GUILESS_MAIN(TestCliSync)
#include "tst_sync.moc"
