// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "app/settingskeys.h"
#include "support/tempworkdir.h"
#include "window/dlgsyncoptions.h"
#include "sync/syncsettings.h"

#include <QFile>
#include <QSettings>
#include <QTest>

// The team server's options in "options.ini": what is read back, what is
// refused, and that a password never gets there.
class TestSyncSettings : public QObject
{
    Q_OBJECT

private slots:
    void readBack_data();
    void readBack();
    void passwordStaysInMemory();
    void dialogKeepsThePasswordOfTheRun();
};

void TestSyncSettings::readBack_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("read");

    QTest::newRow("port in range") << SettingsKeys::syncPort << "6432" << "6432";
    QTest::newRow("port out of range") << SettingsKeys::syncPort << "70000" << "5432";
    QTest::newRow("port not a number") << SettingsKeys::syncPort << "five" << "5432";
    QTest::newRow("known TLS mode") << SettingsKeys::syncTls << "verify-full" << "verify-full";
    QTest::newRow("unknown TLS mode") << SettingsKeys::syncTls << "allow" << "verify-full";
    QTest::newRow("service name") << SettingsKeys::syncService << "plant-db" << "plant-db";
    // A service name goes among libpq's options: another option must not.
    QTest::newRow("service with options") << SettingsKeys::syncService << "x sslmode=disable" << "";
    QTest::newRow("host trimmed") << SettingsKeys::syncHost << " db.plant " << "db.plant";
}

void TestSyncSettings::readBack()
{
    QFETCH(QString, key);
    QFETCH(QString, written);
    QFETCH(QString, read);

    TempWorkDir dir;
    QVERIFY(dir.isValid());
    {
        QSettings options(QString::fromLatin1(SettingsKeys::fileName), QSettings::IniFormat);
        options.setValue(key, written);
    }
    const QSettings options(QString::fromLatin1(SettingsKeys::fileName), QSettings::IniFormat);
    const SyncSettings sync = SyncSettings::load(options);
    const QMap<QString, QString> values = {{SettingsKeys::syncPort, QString::number(sync.port)},
                                           {SettingsKeys::syncTls, sync.tls},
                                           {SettingsKeys::syncService, sync.service},
                                           {SettingsKeys::syncHost, sync.host}};
    QCOMPARE(values.value(key), read);
}

void TestSyncSettings::passwordStaysInMemory()
{
    TempWorkDir dir;
    SyncSettings sync;
    sync.enabled = true;
    sync.host = QStringLiteral("db.plant");
    sync.password = QStringLiteral("tech-secret");
    {
        QSettings options(QString::fromLatin1(SettingsKeys::fileName), QSettings::IniFormat);
        sync.save(options);
    }
    QFile file(dir.filePath(QString::fromLatin1(SettingsKeys::fileName)));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    QVERIFY(text.contains("db.plant"));
    QVERIFY(!text.contains("tech-secret"));
    const QSettings options(QString::fromLatin1(SettingsKeys::fileName), QSettings::IniFormat);
    QVERIFY(SyncSettings::load(options).password.isEmpty());
    QVERIFY(SyncSettings::load(options).isConfigured());
}

void TestSyncSettings::dialogKeepsThePasswordOfTheRun()
{
    SyncSettings sync;
    sync.host = QStringLiteral("db.plant");
    sync.password = QStringLiteral("asked once");
    sync.tls = QStringLiteral("verify-full");
    DlgSyncOptions dialog(sync);
    const SyncSettings back = dialog.settings();
    QCOMPARE(back.host, sync.host);
    QCOMPARE(back.tls, sync.tls);
    QCOMPARE(back.password, sync.password);
    QVERIFY(!back.enabled);
}

QTEST_MAIN(TestSyncSettings)
#include "tst_syncsettings.moc"
