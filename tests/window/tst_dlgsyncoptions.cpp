// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "support/tempworkdir.h"
#include "sync/syncsettings.h"
#include "ui_dlgsyncoptions.h"
#include "window/dlgsyncoptions.h"

#include <QDir>
#include <QFile>
#include <QTest>

class TestDlgSyncOptions : public QObject
{
    Q_OBJECT

private slots:
    void recommendedFirstOthersWarned_data();
    void recommendedFirstOthersWarned();
};

void TestDlgSyncOptions::recommendedFirstOthersWarned_data()
{
    QTest::addColumn<QString>("tls");
    QTest::addColumn<bool>("rootCertificate");
    QTest::addColumn<QString>("warning"); // empty: none shown

    QTest::newRow("server checked, certificate in place") << "verify-full" << true << QString();
    QTest::newRow("server checked, no certificate yet") << "verify-full" << false << "it is not there yet";
    QTest::newRow("encrypted, any server") << "require" << true << "pose as the server";
    QTest::newRow("encrypted if offered") << "prefer" << true << "plain text";
    QTest::newRow("not encrypted") << "disable" << true << "plain text";
}

void TestDlgSyncOptions::recommendedFirstOthersWarned()
{
    QFETCH(QString, tls);
    QFETCH(bool, rootCertificate);
    QFETCH(QString, warning);
    TempWorkDir dir;
    const QString certificate = dir.filePath(QStringLiteral("root.crt"));
    qputenv("PGSSLROOTCERT", certificate.toUtf8());
    if (rootCertificate) {
        QFile file(certificate);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

    // A team server set up for the first time is checked unless the user
    // chooses otherwise.
    QCOMPARE(SyncSettings().tls, QStringLiteral("verify-full"));
    SyncSettings settings;
    settings.enabled = true;
    settings.tls = tls;
    DlgSyncOptions dialog(settings);
    QCOMPARE(dialog.ui->cbbTls->itemData(0).toString(), QStringLiteral("verify-full"));
    QVERIFY(dialog.ui->cbbTls->itemText(0).contains(QLatin1String("recommended")));
    QCOMPARE(dialog.settings().tls, tls);
    QCOMPARE(dialog.ui->labelTlsWarning->isVisibleTo(&dialog), !warning.isEmpty());
    QVERIFY2(dialog.ui->labelTlsWarning->text().contains(warning), qPrintable(dialog.ui->labelTlsWarning->text()));
    qunsetenv("PGSSLROOTCERT");
}

QTEST_MAIN(TestDlgSyncOptions)
#include "tst_dlgsyncoptions.moc"
