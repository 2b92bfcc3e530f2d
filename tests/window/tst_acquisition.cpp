// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "meter/mydmm.h"
#include "models/datamodel.h"
#include "sim/framebuilder.h"
#include "sim/simulatedhid.h"
#include "sim/virtualhiddevice.h"
#include "support/modalscript.h"
#include "support/samplerecords.h"
#include "support/windowfixture.h"
#include "window/templatewindow.h"

#include <QAction>
#include <QLabel>
#include <QSettings>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>

#include <qcustomplot.h>

namespace {
const QString firstPath = QStringLiteral("/dev/hidraw-first");
const QString secondPath = QStringLiteral("/dev/hidraw-second");

// Counts the timer events the window receives: the sample timer is its only one.
class TickCounter : public QObject
{
public:
    explicit TickCounter(QObject *watched) { watched->installEventFilter(this); }
    int ticks = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Timer)
            ++ticks;
        return false;
    }
};

QSharedPointer<DMMData> voltReading(int volts)
{
    auto record = SampleRecords::volt();
    record->voltage.value = volts;
    return record;
}

QSharedPointer<DMMData> irReading(bool testing)
{
    auto record = SampleRecords::ir();
    record->testing = testing;
    return record;
}

int liveRows(const WindowFixture &fixture)
{
    return fixture.liveModel()->rowCount(QModelIndex());
}

void feedIr(const WindowFixture &fixture, int count)
{
    for (int i = 0; i < count; ++i)
        fixture.live(SampleRecords::irAt(i, 10 + i));
}

void waitForTick(const TickCounter &counter)
{
    const int before = counter.ticks;
    QTRY_VERIFY_WITH_TIMEOUT(counter.ticks > before, 10000);
}
} // namespace

class TestAcquisition : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void startWithoutMeterWarns();
    void startWithOneMeterOpensItWithoutAsking();
    void startWithTwoMetersAsks_data();
    void startWithTwoMetersAsks();
    void failedOpenWarnsAndStaysClosed();
    void startWhileOpenClosesTheMeter();

    void samplePointsLimitEachTable_data();
    void samplePointsLimitEachTable();
    void fullTableStopsOnlyItsOwnMode();
    void intervalRecordsOneReadingPerTick();
    void intervalWithoutTicksRecordsNothing();
    void storedTabInFrontRecordsOnTheTick();
    void pauseDropsAPendingTick();
    void recordAtTesttime_data();
    void recordAtTesttime();

    void closingStopsEverythingAndSaves();
};

void TestAcquisition::init()
{
    SimulatedHid::reset();
}

void TestAcquisition::startWithoutMeterWarns()
{
    WindowFixture fixture;
    ModalScript script;
    const auto &box = script.messageBox(QMessageBox::Ok);
    fixture.find<QAction>("actionStart")->trigger();
    QVERIFY(box.shown);
    QVERIFY(box.title.isEmpty());
    QCOMPARE(box.text, QStringLiteral("No valid device found."));
    QCOMPARE(box.icon, QMessageBox::Warning);
    QCOMPARE(SimulatedHid::openCount(), 0);
    QVERIFY(!fixture.find<QAction>("actionStart")->isCheckable());
}

// The window is then destroyed with the meter still open, as a program that
// ends without closing its window does.
void TestAcquisition::startWithOneMeterOpensItWithoutAsking()
{
    SimulatedHid::addDevice(VirtualHidDevice::meter(firstPath));
    WindowFixture fixture;
    ModalScript script;
    auto *start = fixture.find<QAction>("actionStart");
    start->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(start->isChecked(), 10000);
    QVERIFY(fixture.meter()->actived());
    QCOMPARE(script.answered(), 0);

    QVERIFY(SimulatedHid::queueStream(firstPath, FrameBuilder::liveFrame(*voltReading(231))));
    QTRY_COMPARE_WITH_TIMEOUT(liveRows(fixture), 1, 10000);
    QCOMPARE(fixture.label("lcdTop1")->text(), QStringLiteral("VOLT"));
}

void TestAcquisition::startWithTwoMetersAsks_data()
{
    QTest::addColumn<int>("choice");
    QTest::addColumn<QString>("opened");

    QTest::newRow("first accepted") << 0 << firstPath;
    QTest::newRow("second chosen") << 1 << secondPath;
    QTest::newRow("cancelled opens nothing") << -1 << QString();
}

// Each meter says which one it is by the voltage it streams.
void TestAcquisition::startWithTwoMetersAsks()
{
    QFETCH(int, choice);
    QFETCH(QString, opened);
    SimulatedHid::addDevice(VirtualHidDevice::meter(firstPath));
    SimulatedHid::addDevice(VirtualHidDevice::meter(secondPath));
    WindowFixture fixture;
    QSignalSpy records(fixture.meter(), &MyDMM::updateLiveData);
    ModalScript script;
    const auto &chooser = script.itemDialog(choice);

    fixture.find<QAction>("actionStart")->trigger();
    QVERIFY(chooser.shown);
    QCOMPARE(chooser.title, QStringLiteral("Choose the Device"));
    QCOMPARE(chooser.label, QStringLiteral("Devices"));
    QCOMPARE(chooser.items, (QStringList{firstPath, secondPath}));
    QCOMPARE(chooser.currentItem, 0);

    if (opened.isEmpty()) {
        QCOMPARE(SimulatedHid::openCount(), 0);
        QVERIFY(!fixture.meter()->actived());
        return;
    }
    QVERIFY(fixture.meter()->actived());
    QCOMPARE(SimulatedHid::openCount(), 1);
    QVERIFY(SimulatedHid::queueStream(firstPath, FrameBuilder::liveFrame(*voltReading(1))));
    QVERIFY(SimulatedHid::queueStream(secondPath, FrameBuilder::liveFrame(*voltReading(2))));
    QTRY_COMPARE_WITH_TIMEOUT(records.count(), 1, 10000);
    const auto record = records.first().first().value<QSharedPointer<DMMData>>().dynamicCast<DMMDataVOLT>();
    QCOMPARE(record->voltage.value, opened == firstPath ? 1.0 : 2.0);
}

void TestAcquisition::failedOpenWarnsAndStaysClosed()
{
    SimulatedHid::addDevice(VirtualHidDevice::meter(firstPath));
    QVERIFY(SimulatedHid::setOpenFails(firstPath, true));
    WindowFixture fixture;
    ModalScript script;
    const auto &box = script.messageBox(QMessageBox::Ok);
    auto *start = fixture.find<QAction>("actionStart");
    start->trigger();
    QVERIFY(box.shown);
    QVERIFY(box.title.isEmpty());
    QCOMPARE(box.text, QStringLiteral("Failed to open device."));
    QCOMPARE(box.icon, QMessageBox::Warning);
    QVERIFY(!fixture.meter()->actived());
    QVERIFY(!start->isCheckable());

    QVERIFY(SimulatedHid::setOpenFails(firstPath, false));
    start->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(start->isChecked(), 10000);
}

void TestAcquisition::startWhileOpenClosesTheMeter()
{
    SimulatedHid::addDevice(VirtualHidDevice::meter(firstPath));
    WindowFixture fixture;
    auto *start = fixture.find<QAction>("actionStart");
    start->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(start->isChecked(), 10000);
    start->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(!start->isCheckable(), 10000);
    QVERIFY(!start->isChecked());
    QVERIFY(!fixture.meter()->actived());
    QCOMPARE(SimulatedHid::openHandleCount(), 0);
}

void TestAcquisition::samplePointsLimitEachTable_data()
{
    QTest::addColumn<int>("samplePoints");
    QTest::addColumn<int>("rowsKept");

    QTest::newRow("five") << 5 << 5;
    QTest::newRow("one") << 1 << 1;
    QTest::newRow("no limit") << -1 << 8;
}

void TestAcquisition::samplePointsLimitEachTable()
{
    QFETCH(int, samplePoints);
    QFETCH(int, rowsKept);
    WindowFixture fixture({{"SamplePoints", samplePoints}});
    feedIr(fixture, 8);
    QCOMPARE(liveRows(fixture), rowsKept);
    QCOMPARE(fixture.keys().size(), rowsKept);
    if (samplePoints == -1)
        return;

    ModalScript script;
    script.messageBox(QMessageBox::Yes);
    fixture.find<QAction>("actionClear")->trigger();
    QCOMPARE(liveRows(fixture), 0);
    feedIr(fixture, 1);
    QCOMPARE(liveRows(fixture), 1);
}

// A full table of one mode holds back only readings of that mode: turning
// the meter to another mode records again, and the IR rows stay.
void TestAcquisition::fullTableStopsOnlyItsOwnMode()
{
    WindowFixture fixture({{"SamplePoints", 5}});
    feedIr(fixture, 5);
    DataModel *ir = fixture.liveModel();
    fixture.live(voltReading(12));
    QCOMPARE(fixture.graph()->name(), QStringLiteral("VOLT"));
    QCOMPARE(liveRows(fixture), 1);
    QCOMPARE(fixture.label("lcdTop1")->text(), QStringLiteral("VOLT"));

    fixture.live(SampleRecords::irAt(9, 99));
    QCOMPARE(fixture.graph()->name(), QStringLiteral("VOLT"));
    QCOMPARE(ir->rowCount(QModelIndex()), 5);
}

void TestAcquisition::intervalRecordsOneReadingPerTick()
{
    WindowFixture fixture({{"SampleInterval", 20}});
    const TickCounter counter(&fixture.window());
    waitForTick(counter);
    feedIr(fixture, 3);
    QCOMPARE(liveRows(fixture), 1);
    waitForTick(counter);
    feedIr(fixture, 3);
    QCOMPARE(liveRows(fixture), 2);
}

void TestAcquisition::intervalWithoutTicksRecordsNothing()
{
    WindowFixture fixture({{"SampleInterval", 3600000}});
    feedIr(fixture, 3);
    QCoreApplication::processEvents();
    feedIr(fixture, 3);
    QCOMPARE(liveRows(fixture), 0);
    QVERIFY(fixture.keys().isEmpty());
}

// A reading recorded behind the stored table uses up its tick like any other.
void TestAcquisition::storedTabInFrontRecordsOnTheTick()
{
    WindowFixture fixture({{"SampleInterval", 20}});
    const TickCounter counter(&fixture.window());
    waitForTick(counter);
    fixture.tables()->setCurrentIndex(1);
    feedIr(fixture, 1);
    fixture.tables()->setCurrentIndex(0);
    feedIr(fixture, 1);
    QCOMPARE(liveRows(fixture), 1);
    waitForTick(counter);
    feedIr(fixture, 1);
    QCOMPARE(liveRows(fixture), 2);
}

void TestAcquisition::pauseDropsAPendingTick()
{
    WindowFixture fixture({{"SampleInterval", 20}});
    const TickCounter counter(&fixture.window());
    auto *pause = fixture.find<QAction>("actionPause");
    waitForTick(counter);
    pause->trigger();
    pause->trigger();
    feedIr(fixture, 1);
    QCOMPARE(liveRows(fixture), 0);
    waitForTick(counter);
    feedIr(fixture, 1);
    QCOMPARE(liveRows(fixture), 1);
}

void TestAcquisition::recordAtTesttime_data()
{
    QTest::addColumn<bool>("onlyAtTesttime");
    QTest::addColumn<QSharedPointer<DMMData>>("reading");
    QTest::addColumn<bool>("recorded");

    QTest::newRow("IR idle, only at test time") << true << irReading(false) << false;
    QTest::newRow("IR testing, only at test time") << true << irReading(true) << true;
    QTest::newRow("VOLT idle, only at test time") << true << voltReading(5) << true;
    QTest::newRow("IR idle, always") << false << irReading(false) << true;
}

void TestAcquisition::recordAtTesttime()
{
    QFETCH(bool, onlyAtTesttime);
    QFETCH(QSharedPointer<DMMData>, reading);
    QFETCH(bool, recorded);
    WindowFixture fixture({{"RecordAtTesttime", onlyAtTesttime}});
    fixture.live(reading);
    QCOMPARE(fixture.graph()->name(), DMMData::modeName(reading->mode));
    QCOMPARE(liveRows(fixture), recorded ? 1 : 0);
    QCOMPARE(fixture.keys().size(), recorded ? 1 : 0);
}

void TestAcquisition::closingStopsEverythingAndSaves()
{
    SimulatedHid::addDevice(VirtualHidDevice::meter(firstPath));
    WindowFixture fixture({{"SampleInterval", 20}});
    auto *start = fixture.find<QAction>("actionStart");
    start->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(start->isChecked(), 10000);
    QFile::remove(fixture.dir().filePath("options.ini"));

    const TickCounter counter(&fixture.window());
    fixture.window().close();
    QCOMPARE(SimulatedHid::openHandleCount(), 0);
    QVERIFY(!fixture.meter()->actived());
    const QStringList keys = QSettings("options.ini", QSettings::IniFormat).allKeys();
    QCOMPARE(QSet<QString>(keys.begin(), keys.end()),
             (QSet<QString>{"geometry", "Language", "SamplePoints", "SampleInterval", "RecordAtTesttime"}));
    QCOMPARE(fixture.setting("SampleInterval").toInt(), 20);
    QCOMPARE(fixture.setting("Language").toString(), QStringLiteral("0"));
    QTest::qWait(100);
    QCOMPARE(counter.ticks, 0);
}

QTEST_MAIN(TestAcquisition)
#include "tst_acquisition.moc"
