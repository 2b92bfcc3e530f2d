// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "insulation/pipredictor.h"
#include "meter/dmmdata.h"
#include "meter/mydmm.h"
#include "sim/democycle.h"
#include "sim/demoscenario.h"

#include <QHash>
#include <QSet>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <cmath>
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

double megohms(const ValueBox &resistance)
{
    static const QHash<QString, double> perUnit{{"MΩ", 1.0}, {"GΩ", 1.0e3}, {"TΩ", 1.0e6}};
    return resistance.value * perUnit.value(resistance.unit, qQNaN());
}

double microamps(const ValueBox &current)
{
    static const QHash<QString, double> perUnit{{"nA", 1.0e-3}, {"uA", 1.0}, {"mA", 1.0e3}};
    return current.value * perUnit.value(current.unit, qQNaN());
}

int seconds(quint16 minutesSeconds)
{
    return (minutesSeconds >> 8) * 60 + (minutesSeconds & 0xFF);
}

// The meter's own test time; a comparison keeps none.
int elapsedSeconds(const DMMDataIR &record)
{
    if (const auto *timed = dynamic_cast<const DMMDataTime *>(&record))
        return seconds(timed->elapsedTime);
    return seconds(record.testTime);
}

// One insulation test as the meter ran it: its readings while testing, then
// the result it held.
struct Run
{
    int mode = -1;
    QList<QSharedPointer<DMMDataIR>> readings;
    QSharedPointer<DMMDataIR> held;
};

QList<Run> runsOf(const QList<QSharedPointer<DMMData>> &live)
{
    QList<Run> runs;
    bool running = false;
    for (const auto &record : live) {
        const auto insulation = record.dynamicCast<DMMDataIR>();
        const bool sameTest = running && insulation && runs.last().mode == record->mode;
        if (insulation && record->testing) {
            if (!sameTest)
                runs.append({record->mode, {}, {}});
            runs.last().readings.append(insulation);
        } else if (sameTest) {
            runs.last().held = insulation;
        }
        running = insulation && record->testing;
    }
    return runs;
}

QList<Run> runsOfRound(int round)
{
    return runsOf(decode(DemoCycle(round).liveFrames().join()).live);
}

Run runOfMode(const QList<Run> &runs, int mode)
{
    for (const Run &run : runs) {
        if (run.mode == mode)
            return run;
    }
    return {};
}

QSharedPointer<DMMDataIR> readingAt(const Run &run, int atSeconds)
{
    for (const auto &reading : run.readings) {
        if (elapsedSeconds(*reading) == atSeconds)
            return reading;
    }
    return {};
}

// What the curve says a ratio is; like the meter, nothing (0) when either
// reading is beyond the range.
double curveRatio(const DMMDataIR &first, const DMMDataIR &second)
{
    if (first.resistanceOverRange || second.resistanceOverRange)
        return 0.0;
    return megohms(second.resistance) / megohms(first.resistance);
}

bool agree(double meter, double curve)
{
    constexpr double tolerance = 0.02;
    return curve == 0.0 ? meter == 0.0 : std::abs(meter / curve - 1.0) <= tolerance;
}

int setSecondsOf(const DMMDataIR &held)
{
    if (const auto *ratio = dynamic_cast<const DMMDataPIDAR *>(&held))
        return seconds(ratio->setTime2);
    return seconds(static_cast<const DMMDataTime &>(held).setTime);
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
    void insulationCurvesRise_data();
    void insulationCurvesRise();
    void ratiosOfTheCurveAreTheMeters_data();
    void ratiosOfTheCurveAreTheMeters();
    void roundsShowAGoodAndADampWinding();
    void piTestsHaveSomethingTrueToPredict_data();
    void piTestsHaveSomethingTrueToPredict();
    void oneTestOfTheCycleIsInterrupted();
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
    // Watching a round at the meter's pace takes no more than a couple of minutes.
    QVERIFY(DemoScenario::liveInterval * cycle.liveFrames().size() <= std::chrono::minutes(2));
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

void TestDemoScenario::insulationCurvesRise_data()
{
    everyRoundDecodesIntoEveryMode_data();
}

// Insulation charges up while the meter tests it: the resistance climbs, and
// what it reads follows from the voltage and current it measures.
void TestDemoScenario::insulationCurvesRise()
{
    QFETCH(int, round);
    const QList<Run> runs = runsOfRound(round);
    // IR, TIME, PI, DAR and two comparisons.
    QCOMPARE(runs.size(), 6);
    for (const Run &run : runs) {
        const QByteArray name = DMMData::modeName(run.mode).toUtf8();
        QVERIFY2(run.readings.size() >= 5, name);
        QVERIFY2(run.held, name);
        for (int i = 1; i < run.readings.size(); ++i) {
            const DMMDataIR &before = *run.readings.at(i - 1);
            const DMMDataIR &reading = *run.readings.at(i);
            QVERIFY2(megohms(reading.resistance) >= megohms(before.resistance), name);
            if (run.mode != DMMData::dmCOMP)
                QVERIFY2(elapsedSeconds(reading) > elapsedSeconds(before), name);
        }
        for (const auto &reading : run.readings) {
            if (reading->resistanceOverRange)
                continue;
            // Tiny currents show few digits: one count of the last is allowed.
            const double expected = reading->outputVoltage.value / megohms(reading->resistance);
            const double lastDigit = microamps({QString(), 0.01, reading->leakageCurrent.unit});
            QVERIFY2(std::abs(microamps(reading->leakageCurrent) - expected) <= 0.02 * expected + lastDigit, name);
        }
    }
}

void TestDemoScenario::ratiosOfTheCurveAreTheMeters_data()
{
    everyRoundDecodesIntoEveryMode_data();
}

// A program working DAR (R60 / R30) and PI (R600 / R60) out from the curve
// finds the meter's own values, and the readings the meter took them from.
void TestDemoScenario::ratiosOfTheCurveAreTheMeters()
{
    QFETCH(int, round);
    const QList<Run> runs = runsOfRound(round);

    const Run pi = runOfMode(runs, DMMData::dmPI);
    const Run dar = runOfMode(runs, DMMData::dmDAR);
    const Run ir = runOfMode(runs, DMMData::dmIR);
    QVERIFY(pi.held && dar.held && ir.held);

    for (const int mark : {15, 30, 60, 600})
        QVERIFY2(readingAt(pi, mark), qPrintable(QStringLiteral("PI test at %1 s").arg(mark)));
    const auto piResult = pi.held.staticCast<DMMDataPI>();
    QVERIFY(agree(piResult->piRatio.value, curveRatio(*readingAt(pi, 60), *readingAt(pi, 600))));
    QCOMPARE(megohms(piResult->resistance), megohms(readingAt(pi, 60)->resistance));
    QCOMPARE(megohms(piResult->resistance2), megohms(readingAt(pi, 600)->resistance));
    QCOMPARE(piResult->resistance2OverRange, readingAt(pi, 600)->resistanceOverRange);

    QVERIFY(readingAt(dar, 30) && readingAt(dar, 60));
    const auto darResult = dar.held.staticCast<DMMDataDAR>();
    QVERIFY(agree(darResult->darRatio.value, curveRatio(*readingAt(dar, 30), *readingAt(dar, 60))));
    QCOMPARE(megohms(darResult->resistance), megohms(readingAt(dar, 30)->resistance));
    QCOMPARE(megohms(darResult->resistance2), megohms(readingAt(dar, 60)->resistance));

    QVERIFY(readingAt(ir, 30) && readingAt(ir, 60) && readingAt(ir, 600));
    QVERIFY(agree(ir.held->dar.value, curveRatio(*readingAt(ir, 30), *readingAt(ir, 60))));
    QVERIFY(agree(ir.held->pi.value, curveRatio(*readingAt(ir, 60), *readingAt(ir, 600))));
    // The IR test shows each ratio from the moment it can be worked out.
    for (const auto &reading : ir.readings) {
        QCOMPARE(reading->dar.value, elapsedSeconds(*reading) >= 60 ? ir.held->dar.value : 0.0);
        QCOMPARE(reading->pi.value, elapsedSeconds(*reading) >= 600 ? ir.held->pi.value : 0.0);
    }
}

// Among the rounds, a good winding and a damp one, by their PI.
void TestDemoScenario::roundsShowAGoodAndADampWinding()
{
    QList<double> indexes;
    for (int round = 0; round < rounds; ++round) {
        const Run pi = runOfMode(runsOfRound(round), DMMData::dmPI);
        QVERIFY(pi.held);
        indexes << pi.held.staticCast<DMMDataPI>()->piRatio.value;
    }
    QVERIFY(std::any_of(indexes.cbegin(), indexes.cend(), [](double pi) { return pi >= 2.5; }));
    QVERIFY(std::any_of(indexes.cbegin(), indexes.cend(), [](double pi) { return pi > 0.0 && pi <= 1.3; }));
}

void TestDemoScenario::piTestsHaveSomethingTrueToPredict_data()
{
    everyRoundDecodesIntoEveryMode_data();
}

// The PI test's curve follows the physics of charging insulation: predicted
// from its first three minutes, the band holds the PI the meter gives at
// ten. Where the resistance ends beyond the range the meter gives none, and
// the prediction either says so or reaches beyond the range.
void TestDemoScenario::piTestsHaveSomethingTrueToPredict()
{
    QFETCH(int, round);
    const Run pi = runOfMode(runsOfRound(round), DMMData::dmPI);
    QVERIFY(pi.held);
    QVector<CurvePoint> curve;
    for (const auto &reading : pi.readings) {
        CurvePoint point;
        point.seconds = elapsedSeconds(*reading);
        point.megohms = megohms(reading->resistance);
        point.overRange = reading->resistanceOverRange;
        curve.append(point);
    }
    const auto held = pi.held.staticCast<DMMDataPI>();
    const PiPrediction prediction = PiPredictor().predict(curve, 180.0);
    if (held->resistance2OverRange) {
        QVERIFY(prediction.isMade() ? prediction.r600High >= megohms(held->resistance2)
                                    : prediction.refusal == PiPrediction::Refusal::OverRange);
        return;
    }
    QVERIFY2(prediction.isMade(), qPrintable(prediction.reasonText()));
    const double meterPi = held->piRatio.value;
    QVERIFY2(prediction.piLow <= meterPi && meterPi <= prediction.piHigh,
             qPrintable(QStringLiteral("PI %1 to %2, the meter's %3").arg(prediction.piLow).arg(prediction.piHigh)
                            .arg(meterPi)));
    QVERIFY(std::abs(prediction.pi / meterPi - 1.0) <= 0.1);
}

// Every test ends in the result the meter holds, a comparison in a verdict;
// in each cycle of rounds the user stops one timed test before its set time.
void TestDemoScenario::oneTestOfTheCycleIsInterrupted()
{
    QList<QPair<int, int>> interrupted;
    for (int round = 0; round < rounds; ++round) {
        for (const Run &run : runsOfRound(round)) {
            QVERIFY(run.held && !run.held->testing);
            if (run.mode == DMMData::dmCOMP)
                QVERIFY(run.held.staticCast<DMMDataCOMP>()->result != 0);
            if (run.mode == DMMData::dmIR || run.mode == DMMData::dmCOMP)
                continue;
            const int setSeconds = setSecondsOf(*run.held);
            QVERIFY(elapsedSeconds(*run.held) <= setSeconds);
            if (elapsedSeconds(*run.held) < setSeconds)
                interrupted.append({round, run.mode});
        }
    }
    QCOMPARE(interrupted, (QList<QPair<int, int>>{{DemoCycle::interruptedRound, DMMData::dmTime}}));
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
