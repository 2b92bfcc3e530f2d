// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "app/settingskeys.h"
#include "journal/journaldatabase.h"
#include "journal/sessionstore.h"
#include "support/pgserver.h"
#include "support/tempworkdir.h"
#include "window/syncstatus.h"
#include "window/windowsync.h"

#include <QFile>
#include <QGridLayout>
#include <QSettings>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QStatusBar>
#include <QTest>
#include <QUuid>

// The window's sync on its worker thread, against a real server: the
// password comes from libpq's own file, never from "options.ini".
class TestWindowSync : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void syncsInTheBackgroundAndShowsIt();
    void failureIsShownOnceAndRetried();
    void switchedOffHidesItsState();

private:
    SyncSettings settings(int port) const;
    void writeOptions(const SyncSettings &sync);
    bool addEndedSession();

    PgServer m_server;
    std::unique_ptr<TempWorkDir> m_dir;
    std::unique_ptr<QWidget> m_window;
};

void TestWindowSync::initTestCase()
{
    QVERIFY2(m_server.start(), qPrintable(m_server.errorString()));
    // The login owns the schema and makes the tables itself; the group
    // the tables grant their rights to must be there.
    QVERIFY2(m_server.execute(QStringLiteral("postgres"),
                              {QStringLiteral("CREATE ROLE tessra_technicians NOLOGIN"),
                               QStringLiteral("CREATE ROLE tech LOGIN PASSWORD 'tech-secret'"),
                               QStringLiteral("CREATE DATABASE plant")}),
             qPrintable(m_server.errorString()));
    QVERIFY(m_server.execute(QStringLiteral("plant"), {QStringLiteral("CREATE SCHEMA tessra AUTHORIZATION tech")}));
}

void TestWindowSync::cleanupTestCase()
{
    QVERIFY(m_server.stop());
}

void TestWindowSync::init()
{
    m_dir = std::make_unique<TempWorkDir>();
    QVERIFY(m_dir->isValid());
    QFile passwords(m_dir->filePath(QStringLiteral("pgpass")));
    QVERIFY(passwords.open(QIODevice::WriteOnly));
    passwords.write("127.0.0.1:*:plant:tech:tech-secret\n");
    passwords.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    passwords.close();
    qputenv("PGPASSFILE", QFile::encodeName(passwords.fileName()));
    m_window = std::make_unique<QWidget>();
    new QGridLayout(m_window.get());
    QVERIFY(addEndedSession());
}

void TestWindowSync::cleanup()
{
    m_window.reset();
    m_dir.reset();
}

SyncSettings TestWindowSync::settings(int port) const
{
    SyncSettings sync;
    sync.enabled = true;
    sync.host = m_server.host();
    sync.port = port;
    sync.database = QStringLiteral("plant");
    sync.user = QStringLiteral("tech");
    sync.tls = QStringLiteral("disable");
    return sync;
}

void TestWindowSync::writeOptions(const SyncSettings &sync)
{
    QSettings options(QString::fromLatin1(SettingsKeys::fileName), QSettings::IniFormat);
    sync.save(options);
}

bool TestWindowSync::addEndedSession()
{
    JournalDatabase journal(m_dir->filePath(QStringLiteral("tessra.sqlite")));
    if (!journal.open())
        return false;
    JournalSession session;
    session.uuid = QUuid::createUuid().toString(QUuid::WithoutBraces);
    session.source = QStringLiteral("window");
    session.startedMs = 1765360000000LL;
    SessionStore sessions(journal.connection());
    const qint64 id = sessions.create(session);
    return id > 0 && sessions.end(id, session.startedMs + 1000, true);
}

void TestWindowSync::syncsInTheBackgroundAndShowsIt()
{
    writeOptions(settings(m_server.port()));
    WindowSync sync(m_dir->filePath(QStringLiteral("tessra.sqlite")), *m_window);
    QSignalSpy synced(&sync, &WindowSync::synced);
    QVERIFY(synced.wait(60000));
    const SyncReport report = synced.first().first().value<SyncReport>();
    QCOMPARE(report.sessionsUp, 1);
    QCOMPARE(report.waiting, 0);
    QVERIFY(sync.status());
    QTRY_VERIFY_WITH_TIMEOUT(sync.status()->text().contains(QStringLiteral("synced")), 10000);
    QVERIFY(!sync.status()->text().contains(QStringLiteral("waiting")));
    const QSettings options(QString::fromLatin1(SettingsKeys::fileName), QSettings::IniFormat);
    for (const QString &key : options.allKeys())
        QVERIFY2(!options.value(key).toString().contains(QStringLiteral("secret")), qPrintable(key));
}

void TestWindowSync::failureIsShownOnceAndRetried()
{
    writeOptions(settings(PgServer::freePort()));
    WindowSync sync(m_dir->filePath(QStringLiteral("tessra.sqlite")), *m_window);
    QSignalSpy shown(&sync, &WindowSync::failureShown);
    QSignalSpy attempted(&sync, &WindowSync::attempted);
    QVERIFY(attempted.wait(60000));
    for (int again = 0; again < 2; ++again) {
        sync.requestSync();
        QVERIFY(attempted.wait(60000));
    }
    QCOMPARE(attempted.count(), 3);
    QCOMPARE(shown.count(), 1);
    QVERIFY(shown.first().first().toString().contains(QStringLiteral("cannot be reached")));
    QVERIFY(sync.status()->text().contains(QStringLiteral("1 waiting")));

    QSignalSpy synced(&sync, &WindowSync::synced);
    sync.applySettings(settings(m_server.port()));
    QVERIFY(synced.wait(60000));
    QVERIFY(sync.status()->toolTip().isEmpty());
}

void TestWindowSync::switchedOffHidesItsState()
{
    writeOptions(settings(m_server.port()));
    WindowSync sync(m_dir->filePath(QStringLiteral("tessra.sqlite")), *m_window);
    QSignalSpy attempted(&sync, &WindowSync::attempted);
    QVERIFY(attempted.wait(60000));
    auto *bar = m_window->findChild<QStatusBar *>(QStringLiteral("statusBarSync"));
    QVERIFY(bar && !bar->isHidden());
    SyncSettings off = sync.settings();
    off.enabled = false;
    sync.applySettings(off);
    QVERIFY(bar->isHidden());
    const QSettings options(QString::fromLatin1(SettingsKeys::fileName), QSettings::IniFormat);
    QCOMPARE(options.value(SettingsKeys::syncEnabled).toBool(), false);
}

QTEST_MAIN(TestWindowSync)
#include "tst_windowsync.moc"
