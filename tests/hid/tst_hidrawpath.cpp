// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "hid/hidrawpath.h"
#include "support/tempworkdir.h"

#include <QDir>
#include <QFile>
#include <QTest>

class TestHidrawPath : public QObject
{
    Q_OBJECT

private slots:
    void onlyHidrawDevicesAndMissingPathsPass_data();
    void onlyHidrawDevicesAndMissingPathsPass();
};

void TestHidrawPath::onlyHidrawDevicesAndMissingPathsPass_data()
{
    QTest::addColumn<QString>("path"); // relative paths are made by the test
    QTest::addColumn<bool>("openable");

    QTest::newRow("regular file") << "plain.bin" << false;
    QTest::newRow("directory") << "folder" << false;
    QTest::newRow("symbolic link to a regular file") << "link.bin" << false;
    QTest::newRow("/dev/null") << "/dev/null" << false;
    QTest::newRow("/dev/zero") << "/dev/zero" << false;
    QTest::newRow("missing path") << "/dev/hidraw-sim0" << true;
    QTest::newRow("missing directory on the way") << "plain.bin/hidraw0" << true;
    const QStringList hidraw = QDir(QStringLiteral("/dev")).entryList({QStringLiteral("hidraw*")}, QDir::System);
    QTest::newRow("real hidraw device") << (hidraw.isEmpty() ? QString() : "/dev/" + hidraw.constFirst()) << true;
}

void TestHidrawPath::onlyHidrawDevicesAndMissingPathsPass()
{
    QFETCH(QString, path);
    QFETCH(bool, openable);

    if (path.isEmpty())
        QSKIP("This machine has no /dev/hidraw* device to check against.");
    TempWorkDir dir;
    QVERIFY(dir.isValid());
    QFile plain(QStringLiteral("plain.bin"));
    QVERIFY(plain.open(QIODevice::WriteOnly) && plain.write("not a device") > 0);
    plain.close();
    QVERIFY(QDir().mkdir(QStringLiteral("folder")));
    QVERIFY(QFile::link(QStringLiteral("plain.bin"), QStringLiteral("link.bin")));

    QCOMPARE(HidrawPath::isOpenable(path), openable);
}

QTEST_GUILESS_MAIN(TestHidrawPath)
#include "tst_hidrawpath.moc"
