// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "meter/dmmdata.h"
#include "meter/mydmm.h"
#include "sim/democycle.h"
#include "sim/demoscenario.h"

#include <QSet>
#include <QTest>

#include <iterator>

namespace {
constexpr int rounds = static_cast<int>(std::size(DemoCycle::testVoltages));

struct Decoded
{
    QList<QSharedPointer<DMMData>> live;
    QList<QSharedPointer<DMMData>> stored;
};

Decoded decode(const QByteArray &stream)
{
    Decoded decoded;
    MyDMM dmm;
    QObject::connect(&dmm, &MyDMM::updateLiveData,
                     [&decoded](const QSharedPointer<DMMData> &record) { decoded.live.append(record); });
    QObject::connect(&dmm, &MyDMM::updateStoreData,
                     [&decoded](const QSharedPointer<DMMData> &record) { decoded.stored.append(record); });
    dmm.slotSerialDeviceRead(reinterpret_cast<const uint8_t *>(stream.constData()), uint(stream.size()));
    return decoded;
}

Decoded decodeRounds()
{
    QByteArray stream;
    for (int round = 0; round < rounds; ++round) {
        const DemoCycle cycle(round);
        stream += cycle.liveFrames().join() + cycle.storedFrames().join();
    }
    return decode(stream);
}

QSet<int> modesOf(const QList<QSharedPointer<DMMData>> &records)
{
    QSet<int> modes;
    for (const auto &record : records)
        modes.insert(record->mode);
    return modes;
}

template <typename Record>
QList<QSharedPointer<Record>> ofMode(const QList<QSharedPointer<DMMData>> &records, DMMData::DataMode mode)
{
    QList<QSharedPointer<Record>> found;
    for (const auto &record : records) {
        if (record->mode == mode)
            found.append(record.staticCast<Record>());
    }
    return found;
}
} // namespace

class TestDemoScenario : public QObject
{
    Q_OBJECT

private slots:
    void everyRoundDecodesIntoEveryMode_data();
    void everyRoundDecodesIntoEveryMode();
    void insulationReadingsArePlausible();
    void roundsShowOverRangeVerdictsAndTestStates();
    void bothPacesSendTheSameStream();
    void downloadsComeAfterTheFirstRoundThenRarely();
};

void TestDemoScenario::everyRoundDecodesIntoEveryMode_data()
{
    QTest::addColumn<int>("round");
    for (int round = 0; round < rounds; ++round)
        QTest::addRow("round %d at %d V", round, DemoCycle::testVoltages[round]) << round;
}

void TestDemoScenario::everyRoundDecodesIntoEveryMode()
{
    QFETCH(int, round);
    const DemoCycle cycle(round);
    const Decoded decoded = decode(cycle.liveFrames().join() + cycle.storedFrames().join());

    QCOMPARE(decoded.live.size(), cycle.liveFrames().size());
    QCOMPARE(decoded.stored.size(), cycle.storedFrames().size());
    const QSet<int> everyMode{0, 1, 2, 3, 4, 5, 6, 7};
    QCOMPARE(modesOf(decoded.live), everyMode);
    QCOMPARE(modesOf(decoded.stored), everyMode);
}

void TestDemoScenario::insulationReadingsArePlausible()
{
    const Decoded decoded = decodeRounds();
    const QStringList resistanceUnits{"MΩ", "GΩ", "TΩ"};
    const QStringList currentUnits{"nA", "uA"};
    QSet<int> setVoltages;
    for (const auto &record : decoded.live + decoded.stored) {
        const auto *insulation = dynamic_cast<const DMMDataIR *>(record.data());
        if (!insulation || insulation->outputVoltage.value == 0)
            continue;
        setVoltages.insert(insulation->setVoltage.value);
        QVERIFY2(resistanceUnits.contains(insulation->resistance.unit), qPrintable(insulation->resistance.unit));
        QVERIFY2(currentUnits.contains(insulation->leakageCurrent.unit),
                 qPrintable(insulation->leakageCurrent.unit));
        QVERIFY(insulation->resistance.value > 0.0 && insulation->resistance.value < 1000.0);
    }
    QCOMPARE(setVoltages, (QSet<int>{250, 500, 1000, 2500, 5000}));

    // Beyond the range there is no ratio to give.
    for (const auto &record : ofMode<DMMDataPI>(decoded.stored, DMMData::dmPI)) {
        if (!record->resistanceOverRange && !record->resistance2OverRange)
            QVERIFY(record->piRatio.value >= 1.0 && record->piRatio.value <= 4.0);
    }
    for (const auto &record : ofMode<DMMDataDAR>(decoded.stored, DMMData::dmDAR)) {
        if (!record->resistanceOverRange && !record->resistance2OverRange)
            QVERIFY(record->darRatio.value >= 1.0 && record->darRatio.value <= 2.0);
    }
    for (const auto &record : ofMode<DMMDataCAP>(decoded.live, DMMData::dmCAP))
        QCOMPARE(record->capacitance.unit, QStringLiteral("μF"));
}

void TestDemoScenario::roundsShowOverRangeVerdictsAndTestStates()
{
    const Decoded decoded = decodeRounds();

    QSet<bool> irTesting;
    bool irOverRange = false;
    for (const auto &record : ofMode<DMMDataIR>(decoded.live, DMMData::dmIR)) {
        irTesting.insert(record->testing);
        irOverRange = irOverRange || record->resistanceOverRange;
    }
    QCOMPARE(irTesting, (QSet<bool>{false, true}));
    QVERIFY(irOverRange);

    QSet<int> verdicts;
    for (const auto &record : ofMode<DMMDataCOMP>(decoded.live, DMMData::dmCOMP))
        verdicts.insert(record->result);
    QCOMPARE(verdicts, (QSet<int>{0, 1, 2}));

    QSet<QString> statusTexts;
    for (const auto &record : ofMode<DMMDataVOLT>(decoded.live, DMMData::dmVOLT))
        statusTexts.insert(record->voltage.text);
    for (const auto &record : ofMode<DMMDataRES>(decoded.live, DMMData::dmRES))
        statusTexts.insert(record->resistance.text);
    for (const auto &record : ofMode<DMMDataCAP>(decoded.live, DMMData::dmCAP))
        statusTexts.insert(record->overRange ? QStringLiteral(">") : record->capacitance.text);
    for (const char *status : {"OL", "LO", "----", "-48", ">"})
        QVERIFY2(statusTexts.contains(QLatin1String(status)), status);

    quint16 lastElapsed = 0;
    bool counted = false;
    for (const auto &record : ofMode<DMMDataTime>(decoded.live, DMMData::dmTime)) {
        counted = counted || record->elapsedTime > lastElapsed;
        lastElapsed = record->elapsedTime;
    }
    QVERIFY(counted);
}

void TestDemoScenario::bothPacesSendTheSameStream()
{
    DemoScenario realTime(DemoScenario::Pace::RealTime);
    DemoScenario fast(DemoScenario::Pace::Fast);
    const QByteArray round = fast.nextChunk().bytes;
    QByteArray paced;
    while (paced.size() < round.size())
        paced += realTime.nextChunk().bytes;
    QCOMPARE(paced, round);
}

// A download brings the window's stored table forward; after the first one,
// the live table must stay in sight for minutes at a time.
void TestDemoScenario::downloadsComeAfterTheFirstRoundThenRarely()
{
    using std::chrono::milliseconds;
    DemoScenario meter(DemoScenario::Pace::RealTime);
    const milliseconds firstRound = DemoScenario::liveInterval * DemoCycle(0).liveFrames().size();
    QList<milliseconds> downloads;
    milliseconds clock{0};
    while (clock < std::chrono::minutes(20)) {
        const StreamSource::Chunk chunk = meter.nextChunk();
        clock += chunk.delay;
        if (!decode(chunk.bytes).stored.isEmpty())
            downloads << clock;
    }

    QVERIFY(downloads.size() >= 3);
    QCOMPARE(downloads.first(), firstRound + DemoScenario::downloadDelay);
    for (int i = 1; i < downloads.size(); ++i)
        QVERIFY(downloads.at(i) - downloads.at(i - 1) >= std::chrono::minutes(3));
}

QTEST_GUILESS_MAIN(TestDemoScenario)
#include "tst_demoscenario.moc"
