// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "meter/dmmdata.h"
#include "meter/mydmm.h"
#include "sim/framebuilder.h"
#include "sim/simulatedhid.h"

#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <memory>

namespace {
const QString meterPath = QStringLiteral("/dev/hidraw-sim0");
constexpr int waitMs = 10000;

// Every signal of the connection in the order it came, with actived() at
// that moment.
class SignalLog : public QObject
{
public:
    explicit SignalLog(MyDMM &dmm)
    {
        const auto note = [this, &dmm](const char *name) {
            return [this, &dmm, name] {
                m_entries.append(QStringLiteral("%1:%2").arg(QLatin1String(name)).arg(dmm.actived()));
            };
        };
        connect(&dmm, &MyDMM::opened, this, note("opened"));
        connect(&dmm, &MyDMM::closed, this, note("closed"));
        connect(&dmm, &MyDMM::communicationTimeout, this, note("communicationTimeout"));
        connect(&dmm, &MyDMM::updateLiveData, this, note("updateLiveData"));
        connect(&dmm, &MyDMM::updateStoreData, this, note("updateStoreData"));
    }

    QStringList entries() const { return m_entries; }
    void clear() { m_entries.clear(); }

private:
    QStringList m_entries;
};

QByteArray liveVoltFrame(int volts)
{
    DMMDataVOLT record;
    record.voltage.value = volts;
    record.voltage.unit = QStringLiteral("V");
    record.acdc = QStringLiteral("AC");
    return FrameBuilder::liveFrame(record);
}

QByteArray storedResFrame(double ohms)
{
    DMMDataRES record;
    record.resistance.value = ohms;
    record.resistance.unit = QStringLiteral("Ω");
    return FrameBuilder::storedFrame(record);
}
} // namespace

class TestConnection : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void signalsFollowTheStateTable_data();
    void signalsFollowTheStateTable();
    void badPathThenGoodPath();
    void meterStreamBecomesRecordsOnTheGuiThread();
    void bytesArrivingWhileInactiveAreDecoded();
    void pauseDoesNotStopRecords();
    void unplugKeepsEarlierRecordsAndStartWorksOnceTheMeterIsBack();
    void destroyingAnActiveConnectionReleasesTheMeter();
};

void TestConnection::init()
{
    SimulatedHid::reset();
    SimulatedHid::addDevice(VirtualHidDevice::meter(meterPath));
}

void TestConnection::signalsFollowTheStateTable_data()
{
    QTest::addColumn<bool>("startActive");
    QTest::addColumn<QString>("event");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QStringList>("signalLog");
    QTest::addColumn<bool>("endActive");

    QTest::newRow("inactive, open succeeds")
        << false << "open" << true << QStringList{"opened:0", "opened:1"} << true;
    QTest::newRow("inactive, open fails") << false << "open bad path" << false << QStringList{} << false;
    QTest::newRow("active, open") << true << "open" << false << QStringList{} << true;
    QTest::newRow("active, close") << true << "close" << true << QStringList{"closed:1", "closed:0"} << false;
    QTest::newRow("inactive, close") << false << "close" << true << QStringList{} << false;
    QTest::newRow("active, controller time-out")
        << true << "time-out" << true << QStringList{"closed:1", "closed:0", "communicationTimeout:0"} << false;
    QTest::newRow("inactive, controller time-out")
        << false << "time-out" << true << QStringList{"communicationTimeout:0"} << false;
    QTest::newRow("active, meter unplugged")
        << true << "unplug" << true << QStringList{"closed:1", "closed:0", "communicationTimeout:0"} << false;
    QTest::newRow("active, reads interrupted, then a frame")
        << true << "interrupted reads" << true << QStringList{"updateLiveData:1"} << true;
}

void TestConnection::signalsFollowTheStateTable()
{
    QFETCH(bool, startActive);
    QFETCH(QString, event);
    QFETCH(bool, result);
    QFETCH(QStringList, signalLog);
    QFETCH(bool, endActive);

    MyDMM dmm;
    if (startActive)
        QVERIFY(dmm.open(meterPath));
    SignalLog log(dmm);

    bool returned = true;
    if (event == QLatin1String("open"))
        returned = dmm.open(meterPath);
    else if (event == QLatin1String("open bad path"))
        returned = dmm.open(QStringLiteral("/dev/no-such-meter"));
    else if (event == QLatin1String("close"))
        dmm.close();
    else if (event == QLatin1String("unplug"))
        returned = SimulatedHid::unplug(meterPath) && QSignalSpy(&dmm, &MyDMM::communicationTimeout).wait(waitMs);
    else if (event == QLatin1String("interrupted reads"))
        returned = SimulatedHid::failReads(meterPath, 3) && SimulatedHid::queueStream(meterPath, liveVoltFrame(230))
                   && QSignalSpy(&dmm, &MyDMM::updateLiveData).wait(waitMs);
    else
        dmm.sltCommunicationTimeout();

    QCOMPARE(returned, result);
    QCOMPARE(log.entries(), signalLog);
    QCOMPARE(dmm.actived(), endActive);
    dmm.close();
    QCOMPARE(SimulatedHid::openHandleCount(), 0);
}

void TestConnection::badPathThenGoodPath()
{
    MyDMM dmm;
    QVERIFY(!dmm.open(QStringLiteral("/dev/no-such-meter")));
    QVERIFY(!dmm.actived());
    QVERIFY(SimulatedHid::setOpenFails(meterPath, true));
    QVERIFY(!dmm.open(meterPath));
    QVERIFY(!dmm.actived());
    QVERIFY(SimulatedHid::setOpenFails(meterPath, false));
    QVERIFY(dmm.open(meterPath));
    QVERIFY(dmm.actived());
    dmm.close();
}

void TestConnection::meterStreamBecomesRecordsOnTheGuiThread()
{
    MyDMM dmm;
    QList<QSharedPointer<DMMData>> live;
    QList<QSharedPointer<DMMData>> stored;
    bool onGuiThread = true;
    connect(&dmm, &MyDMM::updateLiveData, this, [&](const QSharedPointer<DMMData> &record) {
        onGuiThread = onGuiThread && QThread::currentThread() == thread();
        live.append(record);
    });
    connect(&dmm, &MyDMM::updateStoreData, this, [&](const QSharedPointer<DMMData> &record) {
        onGuiThread = onGuiThread && QThread::currentThread() == thread();
        stored.append(record);
    });

    // Frames back to back, so that reports cut through them.
    QByteArray stream;
    for (int volts = 200; volts < 210; ++volts)
        stream += liveVoltFrame(volts) + storedResFrame(volts / 10.0);
    QVERIFY(SimulatedHid::queueStream(meterPath, stream));
    QVERIFY(dmm.open(meterPath));

    QTRY_COMPARE_WITH_TIMEOUT(live.size() + stored.size(), 20, waitMs);
    dmm.close();
    QVERIFY(onGuiThread);
    for (int i = 0; i < 10; ++i) {
        QCOMPARE(live.at(i)->mode, DMMData::dmVOLT);
        QCOMPARE(live.at(i).staticCast<DMMDataVOLT>()->voltage.value, 200.0 + i);
        QCOMPARE(stored.at(i)->mode, DMMData::dmRES);
    }
}

void TestConnection::bytesArrivingWhileInactiveAreDecoded()
{
    MyDMM dmm;
    QSignalSpy live(&dmm, &MyDMM::updateLiveData);
    QSignalSpy storedRecords(&dmm, &MyDMM::updateStoreData);
    const QByteArray stream = liveVoltFrame(230) + storedResFrame(1.5);

    dmm.slotSerialDeviceRead(reinterpret_cast<const uint8_t *>(stream.constData()), uint(stream.size()));
    QCOMPARE(live.count(), 1);
    QCOMPARE(storedRecords.count(), 1);
    QVERIFY(!dmm.actived());
}

void TestConnection::pauseDoesNotStopRecords()
{
    MyDMM dmm;
    QSignalSpy live(&dmm, &MyDMM::updateLiveData);
    QVERIFY(dmm.open(meterPath));
    dmm.setPause(true);

    QVERIFY(SimulatedHid::queueStream(meterPath, liveVoltFrame(12)));
    QVERIFY(live.wait(waitMs));
    dmm.setPause(false);
    QVERIFY(SimulatedHid::queueStream(meterPath, liveVoltFrame(13)));
    QTRY_COMPARE_WITH_TIMEOUT(live.count(), 2, waitMs);
    dmm.close();
}

void TestConnection::unplugKeepsEarlierRecordsAndStartWorksOnceTheMeterIsBack()
{
    MyDMM dmm;
    SignalLog log(dmm);
    QByteArray stream;
    for (int volts = 1; volts <= 5; ++volts)
        stream += liveVoltFrame(volts);
    QVERIFY(SimulatedHid::queueStream(meterPath, stream));
    QVERIFY(dmm.open(meterPath));
    QTRY_COMPARE_WITH_TIMEOUT(log.entries().count(QStringLiteral("updateLiveData:1")), 5, waitMs);

    QVERIFY(SimulatedHid::unplug(meterPath));
    QTRY_VERIFY_WITH_TIMEOUT(log.entries().contains(QStringLiteral("communicationTimeout:0")), waitMs);
    QVERIFY(!dmm.actived());
    QCOMPARE(SimulatedHid::openHandleCount(), 0);
    QVERIFY(!dmm.open(meterPath));

    SimulatedHid::addDevice(VirtualHidDevice::meter(meterPath));
    QVERIFY(SimulatedHid::queueStream(meterPath, liveVoltFrame(6)));
    log.clear();
    QVERIFY(dmm.open(meterPath));
    QTRY_COMPARE_WITH_TIMEOUT(log.entries(), (QStringList{"opened:0", "opened:1", "updateLiveData:1"}), waitMs);
    dmm.close();
}

void TestConnection::destroyingAnActiveConnectionReleasesTheMeter()
{
    auto dmm = std::make_unique<MyDMM>();
    QVERIFY(dmm->open(meterPath));
    QSignalSpy closed(dmm.get(), &MyDMM::closed);
    dmm.reset();

    QCOMPARE(closed.count(), 2);
    QCOMPARE(SimulatedHid::openHandleCount(), 0);
    QVERIFY(!SimulatedHid::initialized());
}

QTEST_GUILESS_MAIN(TestConnection)
#include "tst_connection.moc"
