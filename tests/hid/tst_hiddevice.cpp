// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "hid/hiddevice.h"
#include "hid/hiddevicep.h"
#include "sim/simulatedhid.h"
#include "support/messagecollector.h"
#include "support/pacedloop.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <limits>

namespace {
const QString meterPath = QStringLiteral("/dev/hidraw-sim0");
constexpr int waitMs = 10000;

// Waits for the worker without turning the event loop, so that what it
// emits stays queued.
template <typename Condition>
bool waitWithoutEvents(Condition condition)
{
    const QDeadlineTimer deadline(waitMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(1);
    }
    return true;
}

constexpr int readsFailingForever = std::numeric_limits<int>::max();

// A meter that never falls silent: a report is ready at every read.
class Chatter : public StreamSource
{
public:
    Chunk nextChunk() override { return {QByteArray(SimulatedHid::maxStreamBytes, 'x'), {}}; }
};

QByteArray receivedBytes(const QSignalSpy &spy)
{
    QByteArray bytes;
    for (const QList<QVariant> &arguments : spy)
        bytes.append(arguments.at(0).toByteArray());
    return bytes;
}
} // namespace

class TestHidDevice : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void enumerationConvertsEveryMatchingDevice_data();
    void enumerationConvertsEveryMatchingDevice();
    void invalidPathFailsAndLeavesTheFrontClosed();
    void secondOpenIsRefused();
    void streamArrivesOnTheGuiThreadInOrder();
    void countByteIsClampedToTheReport_data();
    void countByteIsClampedToTheReport();
    void closeWhileIdleEndsTheLoopAndEmitsClosedOnce();
    void closeWhileClosedOnlyEmitsClosed();
    void unplugEndsTheLoopAndReportsTheLossOnce();
    void reportsReadBeforeTheUnplugArriveFirst();
    void lossOfAnEarlierConnectionIsNotReported();
    void interruptedReadsKeepTheConnection_data();
    void interruptedReadsKeepTheConnection();
    void readBetweenFailuresEndsTheirRun();
    void readsThatKeepFailingEndInALoss();
    void readLoopPausesBetweenPasses_data();
    void readLoopPausesBetweenPasses();
    void openAndCloseRepeatedly();
    void libraryIsReleasedWithTheLastWorker();
};

void TestHidDevice::init()
{
    SimulatedHid::reset();
}

void TestHidDevice::enumerationConvertsEveryMatchingDevice_data()
{
    QTest::addColumn<QList<VirtualHidDevice>>("meters");

    VirtualHidDevice detailed = VirtualHidDevice::meter(QStringLiteral("/dev/hidraw3"));
    detailed.serialNumber = QStringLiteral("Ω-0042");
    detailed.releaseNumber = 0x0210;
    detailed.usagePage = 0xFFA0;
    detailed.usage = 2;

    QTest::newRow("none") << QList<VirtualHidDevice>{};
    QTest::newRow("one") << QList<VirtualHidDevice>{detailed};
    QTest::newRow("two") << QList<VirtualHidDevice>{VirtualHidDevice::meter(QStringLiteral("/dev/hidraw1")),
                                                    VirtualHidDevice::meter(QStringLiteral("/dev/hidraw2"))};
}

void TestHidDevice::enumerationConvertsEveryMatchingDevice()
{
    QFETCH(QList<VirtualHidDevice>, meters);

    VirtualHidDevice keyboard;
    keyboard.path = QStringLiteral("/dev/hidraw0");
    keyboard.vendorId = 0x046D;
    keyboard.productId = 0xC31C;
    SimulatedHid::addDevice(keyboard);
    for (const VirtualHidDevice &meter : meters)
        SimulatedHid::addDevice(meter);

    const QList<HIDDevInfo> found = HIDDeviceP::enumerate(0x1A86, 0xE429);
    QCOMPARE(found.size(), meters.size());
    for (int i = 0; i < found.size(); ++i) {
        const HIDDevInfo &info = found.at(i);
        const VirtualHidDevice &meter = meters.at(i);
        QCOMPARE(info.path, meter.path);
        QCOMPARE(info.vendorId, meter.vendorId);
        QCOMPARE(info.productId, meter.productId);
        QCOMPARE(info.serialNumber, meter.serialNumber);
        QCOMPARE(info.releaseNumber, meter.releaseNumber);
        QCOMPARE(info.manufacturer, meter.manufacturer);
        QCOMPARE(info.product, meter.product);
        QCOMPARE(info.usagePage, meter.usagePage);
        QCOMPARE(info.usage, meter.usage);
    }
}

void TestHidDevice::invalidPathFailsAndLeavesTheFrontClosed()
{
    SimulatedHid::addDevice(VirtualHidDevice::meter(meterPath));
    HIDDevice front;
    QSignalSpy opened(&front, &HIDDevice::opened);

    QVERIFY(!front.open(QStringLiteral("/dev/no-such-meter")));
    QCOMPARE(opened.count(), 0);
    QCOMPARE(SimulatedHid::openHandleCount(), 0);

    QVERIFY(front.open(meterPath));
    QCOMPARE(opened.count(), 1);
    front.close();
    QCOMPARE(SimulatedHid::openHandleCount(), 0);
}

void TestHidDevice::secondOpenIsRefused()
{
    SimulatedHid::addDevice(VirtualHidDevice::meter(meterPath));
    HIDDevice front;
    QSignalSpy opened(&front, &HIDDevice::opened);

    QVERIFY(front.open(meterPath));
    QVERIFY(!front.open(meterPath));
    QCOMPARE(opened.count(), 1);
    QCOMPARE(SimulatedHid::openCount(), 1);
    front.close();
}

void TestHidDevice::streamArrivesOnTheGuiThreadInOrder()
{
    SimulatedHid::addDevice(VirtualHidDevice::meter(meterPath));
    HIDDevice front;
    QSignalSpy received(&front, &HIDDevice::readyRead);
    bool allOnGuiThread = true;
    connect(&front, &HIDDevice::readyRead, this, [&allOnGuiThread] {
        allOnGuiThread = allOnGuiThread && QThread::currentThread() == QCoreApplication::instance()->thread();
    });

    QByteArray stream;
    for (int i = 0; i < 200; ++i)
        stream.append(static_cast<char>(i));
    QVERIFY(SimulatedHid::queueStream(meterPath, stream));
    QVERIFY(front.open(meterPath));

    QTRY_COMPARE_WITH_TIMEOUT(receivedBytes(received).size(), stream.size(), waitMs);
    QCOMPARE(receivedBytes(received), stream);
    QCOMPARE(received.count(), 4);
    QVERIFY(allOnGuiThread);
    front.close();
}

void TestHidDevice::countByteIsClampedToTheReport_data()
{
    QTest::addColumn<QByteArray>("report");
    QTest::addColumn<QByteArray>("stream");

    // A full report of stream bytes 0x01, 0x02, ... behind the count `count`.
    const auto fullReport = [](int count) {
        QByteArray report(SimulatedHid::reportSize, '\0');
        report[0] = static_cast<char>(count);
        for (int i = 1; i < report.size(); ++i)
            report[i] = static_cast<char>(i);
        return report;
    };
    const QByteArray all63 = fullReport(0).mid(1);

    QTest::newRow("count 0") << fullReport(0) << QByteArray();
    QTest::newRow("count within the report") << QByteArray("\x02\x10\x11\x12", 4) << QByteArray("\x10\x11", 2);
    QTest::newRow("count beyond the bytes read") << QByteArray("\x0a\x01\x02\x03", 4) << QByteArray("\x01\x02\x03", 3);
    QTest::newRow("count 63, the most a report holds") << fullReport(63) << all63;
    QTest::newRow("count 64, one past") << fullReport(64) << all63;
    QTest::newRow("count 255") << fullReport(255) << all63;
}

void TestHidDevice::countByteIsClampedToTheReport()
{
    QFETCH(QByteArray, report);
    QFETCH(QByteArray, stream);

    SimulatedHid::addDevice(VirtualHidDevice::meter(meterPath));
    QVERIFY(SimulatedHid::queueRawReport(meterPath, report));
    HIDDevice front;
    QSignalSpy received(&front, &HIDDevice::readyRead);
    QVERIFY(front.open(meterPath));

    QVERIFY(received.wait(waitMs));
    QCOMPARE(received.count(), 1);
    QCOMPARE(received.at(0).at(0).toByteArray(), stream);
    front.close();
}

void TestHidDevice::closeWhileIdleEndsTheLoopAndEmitsClosedOnce()
{
    SimulatedHid::addDevice(VirtualHidDevice::meter(meterPath));
    HIDDevice front;
    QSignalSpy closed(&front, &HIDDevice::closed);
    QSignalSpy received(&front, &HIDDevice::readyRead);
    QVERIFY(front.open(meterPath));
    QTRY_VERIFY_WITH_TIMEOUT(SimulatedHid::readCount() >= 1, waitMs);

    front.close();
    QCOMPARE(closed.count(), 1);
    QCOMPARE(SimulatedHid::openHandleCount(), 0);
    QCOMPARE(SimulatedHid::closeCount(), 1);
    QCOMPARE(received.count(), 0);
}

void TestHidDevice::closeWhileClosedOnlyEmitsClosed()
{
    HIDDevice front;
    QSignalSpy closed(&front, &HIDDevice::closed);
    QSignalSpy opened(&front, &HIDDevice::opened);
    front.close();
    QCOMPARE(closed.count(), 1);
    QCOMPARE(opened.count(), 0);
    QCOMPARE(SimulatedHid::closeCount(), 0);
}

void TestHidDevice::unplugEndsTheLoopAndReportsTheLossOnce()
{
    SimulatedHid::addDevice(VirtualHidDevice::meter(meterPath));
    HIDDevice front;
    QSignalSpy lost(&front, &HIDDevice::deviceLost);
    QSignalSpy closed(&front, &HIDDevice::closed);
    const MessageCollector messages;
    QVERIFY(front.open(meterPath));
    QTRY_VERIFY_WITH_TIMEOUT(SimulatedHid::readCount() >= 1, waitMs);

    QVERIFY(SimulatedHid::unplug(meterPath));
    QVERIFY(lost.wait(waitMs));
    // The loop closed the handle itself and read no more.
    QCOMPARE(SimulatedHid::openHandleCount(), 0);
    const int readsAtLoss = SimulatedHid::readCount();
    QTest::qWait(100);
    QCOMPARE(SimulatedHid::readCount(), readsAtLoss);
    QCOMPARE(lost.count(), 1);
    QCOMPARE(closed.count(), 0);
    // One line for the only failed read, as an unplugged meter is given up
    // at once, and one for the loop's end.
    QCOMPARE(messages.countStartingWith(QStringLiteral("doRead")), 2);
    QVERIFY(messages.contains(QStringLiteral("doRead false")));

    // Still open until its owner closes it; then open again once replugged.
    QVERIFY(!front.open(meterPath));
    front.close();
    QCOMPARE(closed.count(), 1);
    SimulatedHid::addDevice(VirtualHidDevice::meter(meterPath));
    QVERIFY(SimulatedHid::queueReport(meterPath, QByteArray("back")));
    QSignalSpy received(&front, &HIDDevice::readyRead);
    QVERIFY(front.open(meterPath));
    QVERIFY(received.wait(waitMs));
    QCOMPARE(received.at(0).at(0).toByteArray(), QByteArray("back"));
    front.close();
    QCOMPARE(lost.count(), 1);
}

void TestHidDevice::reportsReadBeforeTheUnplugArriveFirst()
{
    SimulatedHid::addDevice(VirtualHidDevice::meter(meterPath));
    HIDDevice front;
    QStringList events;
    connect(&front, &HIDDevice::readyRead, this, [&events](const QByteArray &bytes) {
        events.append(QString::fromLatin1(bytes));
    });
    connect(&front, &HIDDevice::deviceLost, this, [&events] { events.append(QStringLiteral("lost")); });
    QVERIFY(SimulatedHid::queueReport(meterPath, QByteArray("one")));
    QVERIFY(SimulatedHid::queueReport(meterPath, QByteArray("two")));
    QVERIFY(front.open(meterPath));

    // The worker reads both reports and waits in a third read when the meter
    // goes; nothing it emitted has been delivered yet.
    QVERIFY(waitWithoutEvents([] { return SimulatedHid::readCount() >= 3; }));
    QVERIFY(SimulatedHid::unplug(meterPath));

    QTRY_VERIFY_WITH_TIMEOUT(events.contains(QStringLiteral("lost")), waitMs);
    QCOMPARE(events, (QStringList{"one", "two", "lost"}));
    front.close();
}

void TestHidDevice::lossOfAnEarlierConnectionIsNotReported()
{
    SimulatedHid::addDevice(VirtualHidDevice::meter(meterPath));
    HIDDevice front;
    QSignalSpy lost(&front, &HIDDevice::deviceLost);
    QVERIFY(front.open(meterPath));
    QTRY_VERIFY_WITH_TIMEOUT(SimulatedHid::readCount() >= 1, waitMs);

    // The loss is queued, but the user closes and reopens before the event
    // loop turns again.
    QVERIFY(SimulatedHid::unplug(meterPath));
    QVERIFY(waitWithoutEvents([] { return SimulatedHid::openHandleCount() == 0; }));
    front.close();
    SimulatedHid::addDevice(VirtualHidDevice::meter(meterPath));
    QVERIFY(front.open(meterPath));
    QTest::qWait(100);

    QCOMPARE(lost.count(), 0);
    QCOMPARE(SimulatedHid::openHandleCount(), 1);
    front.close();
}

void TestHidDevice::interruptedReadsKeepTheConnection_data()
{
    QTest::addColumn<int>("failures");

    QTest::newRow("one read interrupted") << 1;
    QTest::newRow("several in a row") << 5;
}

void TestHidDevice::interruptedReadsKeepTheConnection()
{
    QFETCH(int, failures);

    SimulatedHid::addDevice(VirtualHidDevice::meter(meterPath));
    HIDDevice front;
    QSignalSpy lost(&front, &HIDDevice::deviceLost);
    QSignalSpy received(&front, &HIDDevice::readyRead);
    const MessageCollector messages;
    QVERIFY(front.open(meterPath));
    QTRY_VERIFY_WITH_TIMEOUT(SimulatedHid::readCount() >= 1, waitMs);

    // The failures come first, whichever read they catch; the report after them.
    QVERIFY(SimulatedHid::failReads(meterPath, failures));
    QVERIFY(SimulatedHid::queueReport(meterPath, QByteArray("after")));
    QVERIFY(received.wait(waitMs));
    QCOMPARE(received.at(0).at(0).toByteArray(), QByteArray("after"));
    QCOMPARE(SimulatedHid::openHandleCount(), 1);
    QCOMPARE(messages.messages().count(QStringLiteral("doRead \"Interrupted system call\"")), failures);
    QCOMPARE(lost.count(), 0);
    front.close();
}

void TestHidDevice::readBetweenFailuresEndsTheirRun()
{
    SimulatedHid::addDevice(VirtualHidDevice::meter(meterPath));
    QVERIFY(SimulatedHid::failReads(meterPath, 1));
    HIDDevice front;
    QSignalSpy lost(&front, &HIDDevice::deviceLost);
    QSignalSpy received(&front, &HIDDevice::readyRead);
    QVERIFY(front.open(meterPath));

    // A third read begins only after the second has waited out its time-out,
    // longer than a run of failures may last.
    QTRY_VERIFY_WITH_TIMEOUT(SimulatedHid::readCount() >= 3, waitMs);
    QVERIFY(SimulatedHid::failReads(meterPath, 1));
    QVERIFY(SimulatedHid::queueReport(meterPath, QByteArray("after")));
    QVERIFY(received.wait(waitMs));
    QCOMPARE(lost.count(), 0);
    front.close();
}

void TestHidDevice::readsThatKeepFailingEndInALoss()
{
    SimulatedHid::addDevice(VirtualHidDevice::meter(meterPath));
    QVERIFY(SimulatedHid::failReads(meterPath, readsFailingForever));
    HIDDevice front;
    QSignalSpy lost(&front, &HIDDevice::deviceLost);
    QSignalSpy closed(&front, &HIDDevice::closed);
    const MessageCollector messages;
    QVERIFY(front.open(meterPath));

    // The meter is still listed, so only the run's length gives it up.
    QVERIFY(lost.wait(waitMs));
    QCOMPARE(HIDDeviceP::enumerate(0, 0).size(), 1);
    QCOMPARE(SimulatedHid::openHandleCount(), 0);
    QVERIFY(messages.contains(QStringLiteral("doRead false")));
    QCOMPARE(lost.count(), 1);
    QCOMPARE(closed.count(), 0);
    front.close();
}

void TestHidDevice::readLoopPausesBetweenPasses_data()
{
    QTest::addColumn<bool>("failing");

    QTest::newRow("a report at every read") << false;
    QTest::newRow("every read fails") << true;
}

// Reads that return at once leave only the loop's own pause between passes.
void TestHidDevice::readLoopPausesBetweenPasses()
{
    QFETCH(bool, failing);

    SimulatedHid::addDevice(VirtualHidDevice::meter(meterPath));
    QVERIFY(SimulatedHid::attachSource(meterPath, std::make_shared<Chatter>()));
    QVERIFY(SimulatedHid::failReads(meterPath, failing ? readsFailingForever : 0));
    HIDDevice front;
    QElapsedTimer clock;
    clock.start();
    QVERIFY(front.open(meterPath));
    QTRY_VERIFY_WITH_TIMEOUT(SimulatedHid::readCount() >= 1, waitMs);
    PacedLoop::watch();
    front.close();

    const qint64 elapsedMs = clock.elapsed();
    const auto reads = static_cast<quint64>(SimulatedHid::readCount());
    QVERIFY2(reads <= PacedLoop::mostPasses(elapsedMs, HIDDeviceP::readPauseMs),
             qPrintable(QStringLiteral("%1 reads in %2 ms").arg(reads).arg(elapsedMs)));
}

void TestHidDevice::openAndCloseRepeatedly()
{
    // A chattering meter, so that no close waits for a time-out.
    SimulatedHid::addDevice(VirtualHidDevice::meter(meterPath));
    QVERIFY(SimulatedHid::attachSource(meterPath, std::make_shared<Chatter>()));
    HIDDevice front;
    QSignalSpy opened(&front, &HIDDevice::opened);
    QSignalSpy closed(&front, &HIDDevice::closed);
    QSignalSpy received(&front, &HIDDevice::readyRead);

    // Closing at once often beats the loop's start; the stop must win then too.
    constexpr int rounds = 50;
    for (int round = 0; round < rounds; ++round) {
        QVERIFY(front.open(meterPath));
        front.close();
        QCOMPARE(SimulatedHid::openHandleCount(), 0);
    }
    QCOMPARE(opened.count(), rounds);
    QCOMPARE(closed.count(), rounds);

    // No start left over from those rounds disturbs a connection that reads.
    QVERIFY(front.open(meterPath));
    received.clear();
    QTRY_VERIFY_WITH_TIMEOUT(received.count() >= 3, waitMs);
    front.close();
    QCOMPARE(SimulatedHid::openHandleCount(), 0);
}

void TestHidDevice::libraryIsReleasedWithTheLastWorker()
{
    auto first = std::make_unique<HIDDevice>();
    auto second = std::make_unique<HIDDevice>();
    QVERIFY(SimulatedHid::initialized());

    first.reset();
    QVERIFY(SimulatedHid::initialized());
    QCOMPARE(SimulatedHid::exitCount(), 0);

    second.reset();
    QVERIFY(!SimulatedHid::initialized());
    QCOMPARE(SimulatedHid::exitCount(), 1);
}

QTEST_GUILESS_MAIN(TestHidDevice)
#include "tst_hiddevice.moc"
