// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "insulation/curveanalysis.h"
#include "insulation/testsegmenter.h"
#include "meter/framedecoder.h"
#include "sim/democycle.h"
#include "support/curvepoints.h"
#include "support/samplerecords.h"

#include <QTest>

#include <limits>

#include <cmath>
#include <iterator>

namespace {
// One thing that happens to the segmenter: a live reading, the clock moving
// on without one, or the end of the session.
struct Step
{
    enum Kind { Reading, Advance, Finish };
    Kind kind = Reading;
    int mode = DMMData::dmIR;
    bool testing = true;
    qint64 atMs = 0; // after SampleRecords::baseTime()
    int clock = 0;   // the meter's test or elapsed time, in seconds
    int result = 0;  // COMP: the meter's verdict
};
using Script = QVector<Step>;

Step testing(int mode, qint64 atMs, int clock = 0)
{
    return {Step::Reading, mode, true, atMs, clock, 0};
}

Step stopped(int mode, qint64 atMs, int clock = 0, int result = 0)
{
    return {Step::Reading, mode, false, atMs, clock, result};
}

Step advanceTo(qint64 atMs)
{
    return {Step::Advance, 0, false, atMs, 0, 0};
}

Step finishSession()
{
    return {Step::Finish, 0, false, 0, 0, 0};
}

quint16 minutesSeconds(int seconds)
{
    return quint16(((seconds / 60) << 8) | (seconds % 60));
}

qint64 baseMs()
{
    return SampleRecords::baseTime().toMSecsSinceEpoch();
}

// Sample records keep their values; the tests set the clock and the flags.
// DAR tests take 30 s and 1 min, PI tests 1 min and 10 min, TIME tests 10 min.
QSharedPointer<DMMData> recordOf(const Step &step)
{
    const bool beyondTheModes = step.mode >= DMMData::modeCount;
    QSharedPointer<DMMData> record =
        SampleRecords::ofMode(beyondTheModes ? DMMData::dmIR : DMMData::DataMode(step.mode));
    record->mode = DMMData::DataMode(step.mode);
    record->testing = step.testing;
    record->dateTime = SampleRecords::baseTime().addMSecs(step.atMs);
    if (auto *dar = dynamic_cast<DMMDataDAR *>(record.data())) {
        dar->setTime = minutesSeconds(30);
        dar->setTime2 = minutesSeconds(60);
    }
    if (auto *timed = dynamic_cast<DMMDataTime *>(record.data()))
        timed->elapsedTime = minutesSeconds(step.clock);
    else if (auto *ir = dynamic_cast<DMMDataIR *>(record.data()))
        ir->testTime = minutesSeconds(step.clock);
    if (auto *comp = dynamic_cast<DMMDataCOMP *>(record.data()))
        comp->result = quint8(step.result);
    return record;
}

QString statusName(InsulationTest::Status status)
{
    switch (status) {
    case InsulationTest::Status::Running:
        return QStringLiteral("Running");
    case InsulationTest::Status::Completed:
        return QStringLiteral("Completed");
    case InsulationTest::Status::Interrupted:
        return QStringLiteral("Interrupted");
    }
    return QString();
}

// "IR Completed 0-3 points 4": enough to tell one cut from another.
QString summary(const InsulationTest &test)
{
    return QStringLiteral("%1 %2 %3-%4 points %5")
        .arg(test.modeName(), statusName(test.status))
        .arg(test.firstSeq)
        .arg(test.lastSeq)
        .arg(test.curve.size());
}

// What the segmenter said, in order.
class Recorder
{
public:
    explicit Recorder(TestSegmenter &segmenter)
    {
        QObject::connect(&segmenter, &TestSegmenter::testStarted, &segmenter, [this](const InsulationTest &test) {
            events << QStringLiteral("started ") + test.modeName();
        });
        QObject::connect(&segmenter, &TestSegmenter::testUpdated, &segmenter, [this](const InsulationTest &test) {
            events << QStringLiteral("updated ") + test.modeName();
        });
        QObject::connect(&segmenter, &TestSegmenter::testFinished, &segmenter, [this](const InsulationTest &test) {
            events << QStringLiteral("finished ") + test.modeName();
            finished << test;
        });
    }

    QStringList summaries() const
    {
        QStringList result;
        for (const InsulationTest &test : finished)
            result << summary(test);
        return result;
    }

    QStringList events;
    QVector<InsulationTest> finished;
};

// Readings are numbered in the order they come, as the journal numbers them.
void play(TestSegmenter &segmenter, const Script &script)
{
    qint64 seq = 0;
    for (const Step &step : script) {
        switch (step.kind) {
        case Step::Reading:
            segmenter.addLive(recordOf(step), seq++);
            break;
        case Step::Advance:
            segmenter.advanceTo(baseMs() + step.atMs);
            break;
        case Step::Finish:
            segmenter.finish();
            break;
        }
    }
}

QVector<double> curveSeconds(const InsulationTest &test)
{
    QVector<double> seconds;
    for (const CurvePoint &point : test.curve)
        seconds << point.seconds;
    return seconds;
}

// A bare IR reading at `atMs`, with the given resistance box and flags.
QSharedPointer<DMMDataIR> irReading(qint64 atMs, bool testing, const ValueBox &resistance, bool overRange = false)
{
    auto record = SampleRecords::ir();
    record->dateTime = SampleRecords::baseTime().addMSecs(atMs);
    record->testing = testing;
    record->resistance = resistance;
    record->resistanceOverRange = overRange;
    return record;
}
} // namespace

Q_DECLARE_METATYPE(Script)
Q_DECLARE_METATYPE(ValueBox)

class TestSegmentation : public QObject
{
    Q_OBJECT

private slots:
    void cutsLiveReadingsIntoTests_data();
    void cutsLiveReadingsIntoTests();
    void signalsFollowTheTest();
    void runningShowsTheTestUnderWay();
    void curveTakesTheMetersClock_data();
    void curveTakesTheMetersClock();
    void pointsInMegohmsAndMicroamps_data();
    void pointsInMegohmsAndMicroamps();
    void finalValuesComeFromTheLastReading_data();
    void finalValuesComeFromTheLastReading();
    void ratioTestCurveLeavesHeldFirstResistanceOut_data();
    void ratioTestCurveLeavesHeldFirstResistanceOut();
    void measurementTextIsTheTablesMainValue_data();
    void measurementTextIsTheTablesMainValue();
    void storedRecordsAreFinishedTestsOfTheirOwn();
    void demonstrationRoundCutsIntoItsTests();
};

void TestSegmentation::cutsLiveReadingsIntoTests_data()
{
    QTest::addColumn<Script>("script");
    QTest::addColumn<QStringList>("finished");

    const int ir = DMMData::dmIR;
    const int time = DMMData::dmTime;
    const int pi = DMMData::dmPI;
    const int dar = DMMData::dmDAR;
    const int comp = DMMData::dmCOMP;

    // Start and end of a test, and the meter's held result.
    QTest::newRow("IR stopped, held result 1 s later belongs")
        << Script{testing(ir, 0, 1), testing(ir, 1000, 2), testing(ir, 2000, 3), stopped(ir, 3000, 3)}
        << QStringList{"IR Completed 0-3 points 4"};
    QTest::newRow("IR stopped, held result exactly 2 s later belongs")
        << Script{testing(ir, 0, 1), testing(ir, 1000, 2), stopped(ir, 3000, 2)}
        << QStringList{"IR Completed 0-2 points 3"};
    QTest::newRow("IR stopped, reading 2.001 s later is not the held result")
        << Script{testing(ir, 0, 1), testing(ir, 1000, 2), stopped(ir, 3001, 2)}
        << QStringList{"IR Completed 0-1 points 2"};
    QTest::newRow("readings before and after a test are no entries")
        << Script{stopped(ir, 0), stopped(ir, 1000), testing(ir, 2000, 1), stopped(ir, 3000, 1), stopped(ir, 4000)}
        << QStringList{"IR Completed 2-3 points 2"};
    QTest::newRow("non-testing readings alone are no entries")
        << Script{stopped(ir, 0), stopped(time, 1000), stopped(comp, 2000), finishSession()} << QStringList{};
    QTest::newRow("two tests back to back")
        << Script{testing(ir, 0, 1), stopped(ir, 1000, 1), testing(ir, 2000, 1), stopped(ir, 3000, 1)}
        << QStringList{"IR Completed 0-1 points 2", "IR Completed 2-3 points 2"};

    // A change of mode.
    QTest::newRow("mode change to a testing reading: interrupted, next test starts")
        << Script{testing(ir, 0, 1), testing(ir, 1000, 2), testing(time, 2000, 1), finishSession()}
        << QStringList{"IR Interrupted 0-1 points 2", "Time Interrupted 2-2 points 1"};
    QTest::newRow("mode change within 2 s is no held result")
        << Script{testing(ir, 0, 1), stopped(time, 1000, 1)} << QStringList{"IR Interrupted 0-0 points 1"};
    QTest::newRow("measurement mid-test: interrupted, and an entry of its own")
        << Script{testing(ir, 0, 1), testing(DMMData::dmVOLT, 1000)}
        << QStringList{"IR Interrupted 0-0 points 1", "VOLT Completed 1-1 points 0"};

    // Five seconds without a reading.
    QTest::newRow("silence: advanceTo at 5 s keeps the test")
        << Script{testing(ir, 0, 1), advanceTo(5000), stopped(ir, 5000, 6)}
        << QStringList{"IR Completed 0-0 points 1"};
    QTest::newRow("silence: advanceTo past 5 s ends it interrupted")
        << Script{testing(ir, 0, 1), advanceTo(5001), stopped(ir, 5001, 6)}
        << QStringList{"IR Interrupted 0-0 points 1"};
    QTest::newRow("silence: a reading 5 s later continues the test")
        << Script{testing(ir, 0, 1), testing(ir, 5000, 6), stopped(ir, 6000, 6)}
        << QStringList{"IR Completed 0-2 points 3"};
    QTest::newRow("silence: a reading past 5 s ends it at its last reading")
        << Script{testing(ir, 0, 1), testing(ir, 1000, 2), testing(ir, 6001, 1), finishSession()}
        << QStringList{"IR Interrupted 0-1 points 2", "IR Interrupted 2-2 points 1"};
    QTest::newRow("silence: a stop past 5 s is no held result")
        << Script{testing(ir, 0, 1), stopped(ir, 5001, 6)} << QStringList{"IR Interrupted 0-0 points 1"};

    // The end of the session.
    QTest::newRow("finish interrupts the running test")
        << Script{testing(ir, 0, 1), testing(ir, 1000, 2), finishSession(), finishSession()}
        << QStringList{"IR Interrupted 0-1 points 2"};

    // Completed or interrupted, mode by mode.
    QTest::newRow("TIME reaching its set time: completed")
        << Script{testing(time, 0, 598), testing(time, 1000, 599), stopped(time, 2000, 600)}
        << QStringList{"Time Completed 0-2 points 3"};
    QTest::newRow("TIME stopped before its set time: interrupted")
        << Script{testing(time, 0, 500), stopped(time, 1000, 501)} << QStringList{"Time Interrupted 0-1 points 2"};
    QTest::newRow("TIME at its set time, then silence: completed")
        << Script{testing(time, 0, 599), testing(time, 1000, 600), advanceTo(7000)}
        << QStringList{"Time Completed 0-1 points 2"};
    QTest::newRow("PI reaching its second set time: completed")
        << Script{testing(pi, 0, 599), stopped(pi, 1000, 600)} << QStringList{"PI Completed 0-1 points 2"};
    QTest::newRow("PI stopped before its second set time: interrupted")
        << Script{testing(pi, 0, 120), stopped(pi, 1000, 121)} << QStringList{"PI Interrupted 0-1 points 2"};
    QTest::newRow("DAR reaching its second set time: completed")
        << Script{testing(dar, 0, 59), stopped(dar, 1000, 60)} << QStringList{"DAR Completed 0-1 points 2"};
    QTest::newRow("DAR at its first set time only: interrupted")
        << Script{testing(dar, 0, 29), stopped(dar, 1000, 30)} << QStringList{"DAR Interrupted 0-1 points 2"};
    QTest::newRow("COMP stopped with a pass: completed")
        << Script{testing(comp, 0), stopped(comp, 1000, 0, 2)} << QStringList{"COMP Completed 0-1 points 2"};
    QTest::newRow("COMP stopped with a fail: completed")
        << Script{testing(comp, 0), stopped(comp, 1000, 0, 1)} << QStringList{"COMP Completed 0-1 points 2"};
    QTest::newRow("COMP stopped without a verdict: interrupted")
        << Script{testing(comp, 0), stopped(comp, 1000, 0, 0)} << QStringList{"COMP Interrupted 0-1 points 2"};
    QTest::newRow("IR ended by silence: interrupted")
        << Script{testing(ir, 0, 1), advanceTo(6000)} << QStringList{"IR Interrupted 0-0 points 1"};

    // Measurements, and readings no mode knows.
    QTest::newRow("VOLT, CAP and RES readings: one entry each")
        << Script{testing(DMMData::dmVOLT, 0), stopped(DMMData::dmCAP, 1000), testing(DMMData::dmCAP, 2000),
                  stopped(DMMData::dmRES, 3000)}
        << QStringList{"VOLT Completed 0-0 points 0", "CAP Completed 1-1 points 0", "CAP Completed 2-2 points 0",
                       "RES Completed 3-3 points 0"};
    QTest::newRow("mode 8 is ignored, even mid-test")
        << Script{testing(ir, 0, 1), testing(8, 1000), testing(8, 7000), stopped(ir, 2000, 2)}
        << QStringList{"IR Completed 0-3 points 2"};
}

void TestSegmentation::cutsLiveReadingsIntoTests()
{
    QFETCH(Script, script);
    QFETCH(QStringList, finished);

    TestSegmenter segmenter;
    Recorder recorder(segmenter);
    play(segmenter, script);

    QCOMPARE(recorder.summaries(), finished);
}

void TestSegmentation::signalsFollowTheTest()
{
    TestSegmenter segmenter;
    Recorder recorder(segmenter);
    play(segmenter, {testing(DMMData::dmIR, 0, 1), testing(DMMData::dmIR, 1000, 2), testing(DMMData::dmIR, 2000, 3),
                     stopped(DMMData::dmIR, 3000, 3), stopped(DMMData::dmIR, 4000), testing(DMMData::dmRES, 5000),
                     finishSession()});

    const QStringList expected{"started IR", "updated IR", "updated IR", "finished IR", "started RES", "finished RES"};
    QCOMPARE(recorder.events, expected);
}

void TestSegmentation::runningShowsTheTestUnderWay()
{
    TestSegmenter segmenter;
    QVERIFY(!segmenter.running());
    play(segmenter, {testing(DMMData::dmTime, 0, 1), testing(DMMData::dmTime, 1000, 2)});

    const std::optional<InsulationTest> running = segmenter.running();
    QVERIFY(running);
    QCOMPARE(running->status, InsulationTest::Status::Running);
    QCOMPARE(running->startedMs, baseMs());
    QCOMPARE(running->endedMs, baseMs() + 1000);
    QCOMPARE(running->setVolts, 500);
    QCOMPARE(running->curve.size(), 2);

    segmenter.advanceTo(baseMs() + 6001);
    QVERIFY(!segmenter.running());
}

void TestSegmentation::curveTakesTheMetersClock_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QVector<double>>("seconds");

    // Readings 1.5 s apart by decode time, the meter's clock at 61, 62, 64 s.
    QTest::newRow("IR: test time") << int(DMMData::dmIR) << QVector<double>{61, 62, 64};
    QTest::newRow("TIME: elapsed time") << int(DMMData::dmTime) << QVector<double>{61, 62, 64};
    QTest::newRow("PI: elapsed time") << int(DMMData::dmPI) << QVector<double>{61, 62, 64};
    QTest::newRow("DAR: elapsed time") << int(DMMData::dmDAR) << QVector<double>{61, 62, 64};
    QTest::newRow("COMP: decode time since the first reading") << int(DMMData::dmCOMP) << QVector<double>{0, 1.5, 3};
}

void TestSegmentation::curveTakesTheMetersClock()
{
    QFETCH(int, mode);
    QFETCH(QVector<double>, seconds);

    TestSegmenter segmenter;
    Recorder recorder(segmenter);
    play(segmenter, {testing(mode, 0, 61), testing(mode, 1500, 62), testing(mode, 3000, 64), finishSession()});

    QCOMPARE(recorder.finished.size(), 1);
    QCOMPARE(curveSeconds(recorder.finished.first()), seconds);
}

void TestSegmentation::pointsInMegohmsAndMicroamps_data()
{
    QTest::addColumn<ValueBox>("resistance");
    QTest::addColumn<bool>("overRange");
    QTest::addColumn<ValueBox>("current");
    QTest::addColumn<double>("megohms");
    QTest::addColumn<double>("microamps");

    using CurvePoints::none;
    const ValueBox microamp{"0.04", 0.04, "uA"};
    QTest::newRow("MΩ") << ValueBox{"312", 312, "MΩ"} << false << microamp << 312.0 << 0.04;
    QTest::newRow("GΩ") << ValueBox{"12.3", 12.3, "GΩ"} << false << microamp << 12300.0 << 0.04;
    QTest::newRow("TΩ") << ValueBox{"1.20", 1.2, "TΩ"} << false << microamp << 1.2e6 << 0.04;
    QTest::newRow("over range keeps the limit") << ValueBox{"10.0", 10.0, "TΩ"} << true << microamp << 1.0e7 << 0.04;
    QTest::newRow("status text ----") << ValueBox{"----", 0, "MΩ"} << false << microamp << none << 0.04;
    QTest::newRow("status text OL") << ValueBox{"OL", 0, "MΩ"} << true << microamp << none << 0.04;
    QTest::newRow("status text LO") << ValueBox{"LO", 0, "MΩ"} << false << microamp << none << 0.04;
    QTest::newRow("non-finite value") << ValueBox{"-", std::nan(""), "GΩ"} << false << microamp << none << 0.04;
    QTest::newRow("padded text") << ValueBox{"  5.20", 5.2, "GΩ"} << false << microamp << 5200.0 << 0.04;
    QTest::newRow("nA") << ValueBox{"312", 312, "MΩ"} << false << ValueBox{"250", 250, "nA"} << 312.0 << 0.25;
    QTest::newRow("mA") << ValueBox{"312", 312, "MΩ"} << false << ValueBox{"1.5", 1.5, "mA"} << 312.0 << 1500.0;
    QTest::newRow("no current") << ValueBox{"312", 312, "MΩ"} << false << ValueBox{"-", 0, "uA"} << 312.0 << none;
}

void TestSegmentation::pointsInMegohmsAndMicroamps()
{
    QFETCH(ValueBox, resistance);
    QFETCH(bool, overRange);
    QFETCH(ValueBox, current);
    QFETCH(double, megohms);
    QFETCH(double, microamps);

    auto record = irReading(0, true, resistance, overRange);
    record->leakageCurrent = current;
    TestSegmenter segmenter;
    segmenter.addLive(record, 0);

    QVERIFY(segmenter.running());
    const CurvePoint point = segmenter.running()->curve.value(0);
    if (std::isnan(megohms))
        QVERIFY2(std::isnan(point.megohms), qPrintable(QString::number(point.megohms)));
    else
        QCOMPARE(point.megohms, megohms);
    QCOMPARE(point.overRange, overRange);
    if (std::isnan(microamps))
        QVERIFY(std::isnan(point.leakageMicroamps));
    else
        QCOMPARE(point.leakageMicroamps, microamps);
    QCOMPARE(point.outputVolts, 498);
}

// The last reading of each kind of test, as its held result, and what the
// test keeps of it.
void TestSegmentation::finalValuesComeFromTheLastReading_data()
{
    QTest::addColumn<QSharedPointer<DMMData>>("last");
    QTest::addColumn<double>("finalMegohms");
    QTest::addColumn<bool>("finalOverRange");
    QTest::addColumn<double>("meterDar");
    QTest::addColumn<double>("meterPi");
    QTest::addColumn<int>("compResult");
    QTest::addColumn<double>("compLimitMegohms");
    QTest::addColumn<int>("setSeconds");
    QTest::addColumn<int>("setSeconds2");

    using CurvePoints::none;
    auto ir = SampleRecords::ir();
    QTest::newRow("IR: resistance, DAR and PI") << QSharedPointer<DMMData>(ir) << 12300.0 << false << 1.52 << 2.31
                                                << -1 << none << 0 << 0;
    auto irWithoutRatios = SampleRecords::ir();
    irWithoutRatios->dar = ValueBox{"0.00", 0.0, QString()};
    irWithoutRatios->pi = ValueBox{"-", std::nan(""), QString()};
    irWithoutRatios->resistanceOverRange = true;
    QTest::newRow("IR: DAR 0 and PI not finite are none, over range kept")
        << QSharedPointer<DMMData>(irWithoutRatios) << 12300.0 << true << none << none << -1 << none << 0 << 0;
    auto time = SampleRecords::time();
    QTest::newRow("TIME: set time") << QSharedPointer<DMMData>(time) << 12300.0 << false << none << none << -1
                                    << none << 600 << 0;
    auto pi = SampleRecords::pi();
    pi->elapsedTime = minutesSeconds(600);
    QTest::newRow("PI at its second set time: RES2 and the meter's PI")
        << QSharedPointer<DMMData>(pi) << 11400.0 << false << none << 2.19 << -1 << none << 60 << 600;
    auto dar = SampleRecords::dar();
    dar->elapsedTime = minutesSeconds(600);
    dar->resistance2OverRange = true;
    QTest::newRow("DAR at its second set time: RES2 over range and the meter's DAR")
        << QSharedPointer<DMMData>(dar) << 11400.0 << true << 1.37 << none << -1 << none << 60 << 600;
    auto darEarly = SampleRecords::dar();
    darEarly->elapsedTime = minutesSeconds(90);
    QTest::newRow("DAR between its set times: the held RES1")
        << QSharedPointer<DMMData>(darEarly) << 5200.0 << false << 1.37 << none << -1 << none << 60 << 600;
    auto comp = SampleRecords::comp();
    comp->compareLimit = ValueBoxInt{"2", 2, "GΩ"};
    comp->result = 1;
    QTest::newRow("COMP: verdict and limit in MΩ") << QSharedPointer<DMMData>(comp) << 12300.0 << false << none
                                                   << none << 1 << 2000.0 << 0 << 0;
}

void TestSegmentation::finalValuesComeFromTheLastReading()
{
    QFETCH(QSharedPointer<DMMData>, last);
    QFETCH(double, finalMegohms);
    QFETCH(bool, finalOverRange);
    QFETCH(double, meterDar);
    QFETCH(double, meterPi);
    QFETCH(int, compResult);
    QFETCH(double, compLimitMegohms);
    QFETCH(int, setSeconds);
    QFETCH(int, setSeconds2);

    const auto sameOrBothNone = [](double actual, double expected) {
        return std::isnan(expected) ? std::isnan(actual) : qFuzzyCompare(actual, expected);
    };
    QSharedPointer<DMMData> first = SampleRecords::ofMode(last->mode);
    first->testing = true;
    last->testing = false;
    last->dateTime = first->dateTime.addMSecs(1000);
    TestSegmenter segmenter;
    Recorder recorder(segmenter);
    segmenter.addLive(first, 0);
    segmenter.addLive(last, 1);

    QCOMPARE(recorder.finished.size(), 1);
    const InsulationTest &test = recorder.finished.first();
    QCOMPARE(test.lastSeq, 1);
    QVERIFY2(sameOrBothNone(test.finalMegohms, finalMegohms), qPrintable(QString::number(test.finalMegohms)));
    QCOMPARE(test.finalOverRange, finalOverRange);
    QVERIFY2(sameOrBothNone(test.meterDar, meterDar), qPrintable(QString::number(test.meterDar)));
    QVERIFY2(sameOrBothNone(test.meterPi, meterPi), qPrintable(QString::number(test.meterPi)));
    QCOMPARE(test.compResult, compResult);
    QVERIFY(sameOrBothNone(test.compLimitMegohms, compLimitMegohms));
    QCOMPARE(test.setSeconds, setSeconds);
    QCOMPARE(test.setSeconds2, setSeconds2);
    QCOMPARE(test.setVolts, 500);
    QCOMPARE(test.startedMs, baseMs());
    QCOMPARE(test.endedMs, baseMs() + 1000);
}

// RES1 is held from the first set time on; only RES2 at the second set time
// is the next resistance, so the PI of the curve is the meter's.
void TestSegmentation::ratioTestCurveLeavesHeldFirstResistanceOut_data()
{
    QTest::addColumn<double>("res1At330");
    QTest::addColumn<double>("pointAt330");
    const double gap = std::numeric_limits<double>::quiet_NaN();
    // RES1 held at its value at the first set time says nothing of 330 s.
    QTest::newRow("RES1 held between the set times") << 1500.0 << gap;
    // A meter that shows the present resistance there draws the curve.
    QTest::newRow("RES1 live between the set times") << 2400.0 << 2400.0;
}

void TestSegmentation::ratioTestCurveLeavesHeldFirstResistanceOut()
{
    QFETCH(double, res1At330);
    QFETCH(double, pointAt330);
    const struct
    {
        int elapsed;
        double res1;
        double res2;
        bool testing;
    } readings[] = {{30, 1000, 0, true}, {60, 1500, 0, true}, {330, res1At330, 0, true}, {600, 1500, 3000, false}};
    TestSegmenter segmenter;
    Recorder recorder(segmenter);
    qint64 seq = 0;
    for (const auto &reading : readings) {
        auto record = SampleRecords::pi();
        record->dateTime = SampleRecords::baseTime().addMSecs(seq * 1000);
        record->testing = reading.testing;
        record->elapsedTime = minutesSeconds(reading.elapsed);
        record->resistance = ValueBox{QString::number(reading.res1), reading.res1, "MΩ"};
        record->resistance2 = ValueBox{QString::number(reading.res2), reading.res2, "MΩ"};
        record->piRatio = ValueBox{"2.00", reading.testing ? 0.0 : 2.0, QString()};
        segmenter.addLive(record, seq++);
    }

    QCOMPARE(recorder.finished.size(), 1);
    const InsulationTest &test = recorder.finished.first();
    QCOMPARE(test.curve.size(), 4);
    QCOMPARE(test.curve.at(0).megohms, 1000.0);
    QCOMPARE(test.curve.at(1).megohms, 1500.0);
    if (std::isnan(pointAt330))
        QVERIFY(std::isnan(test.curve.at(2).megohms));
    else
        QCOMPARE(test.curve.at(2).megohms, pointAt330);
    QCOMPARE(test.curve.at(3).megohms, 3000.0);
    const CurveAnalysis::Values values = CurveAnalysis::analyse(test);
    QCOMPARE(values.pi, 2.0);
    QCOMPARE(values.ratioAtSetTimes, 2.0);
    QVERIFY(!values.piDiffersFromMeter);
}

void TestSegmentation::measurementTextIsTheTablesMainValue_data()
{
    QTest::addColumn<QSharedPointer<DMMData>>("record");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("setVolts");

    QTest::newRow("VOLT") << QSharedPointer<DMMData>(SampleRecords::volt()) << "230 V" << 0;
    auto low = SampleRecords::volt();
    low->voltage.text = "LO";
    low->underRange = true;
    QTest::newRow("VOLT below range") << QSharedPointer<DMMData>(low) << "LO V" << 0;
    QTest::newRow("CAP") << QSharedPointer<DMMData>(SampleRecords::cap()) << "0.47 μF" << 1000;
    auto bigCap = SampleRecords::cap();
    bigCap->capacitance = ValueBox{"10.0", 10.0, "μF"};
    bigCap->overRange = true;
    QTest::newRow("CAP over range") << QSharedPointer<DMMData>(bigCap) << ">10.0 μF" << 1000;
    QTest::newRow("RES") << QSharedPointer<DMMData>(SampleRecords::res()) << "47.5 Ω" << 0;
    auto open = SampleRecords::res();
    open->resistance.text = "OL";
    open->overRange = true;
    QTest::newRow("RES open") << QSharedPointer<DMMData>(open) << ">OL Ω" << 0;
    auto nonFinite = SampleRecords::res();
    nonFinite->resistance.value = std::nan("");
    QTest::newRow("RES not finite") << QSharedPointer<DMMData>(nonFinite) << "- Ω" << 0;
}

void TestSegmentation::measurementTextIsTheTablesMainValue()
{
    QFETCH(QSharedPointer<DMMData>, record);
    QFETCH(QString, text);
    QFETCH(int, setVolts);

    TestSegmenter segmenter;
    Recorder recorder(segmenter);
    segmenter.addLive(record, 7);

    QCOMPARE(recorder.finished.size(), 1);
    const InsulationTest &test = recorder.finished.first();
    QVERIFY(test.isMeasurement());
    QCOMPARE(test.measurementText, text);
    QCOMPARE(test.setVolts, setVolts);
    QCOMPARE(test.origin, InsulationTest::Origin::Live);
    QCOMPARE(test.status, InsulationTest::Status::Completed);
    QVERIFY(!segmenter.running());
}

// A download from the meter's memory while a live test runs leaves the live
// test alone; each record is a finished entry without a curve.
void TestSegmentation::storedRecordsAreFinishedTestsOfTheirOwn()
{
    TestSegmenter segmenter;
    Recorder recorder(segmenter);
    play(segmenter, {testing(DMMData::dmIR, 0, 1)});
    auto storedPi = SampleRecords::pi();
    storedPi->elapsedTime = minutesSeconds(600);
    segmenter.addStored(storedPi, 1);
    segmenter.addStored(SampleRecords::volt(), 2);
    segmenter.addStored(QSharedPointer<DMMData>(), 3);
    QSharedPointer<DMMData> claimsPi = SampleRecords::res();
    claimsPi->mode = DMMData::dmPI;
    segmenter.addStored(claimsPi, 4);

    QCOMPARE(recorder.events, (QStringList{"started IR", "started PI", "finished PI", "started VOLT", "finished VOLT"}));
    QVERIFY(segmenter.running());
    QCOMPARE(segmenter.running()->firstSeq, 0);

    const InsulationTest &pi = recorder.finished.at(0);
    QCOMPARE(pi.origin, InsulationTest::Origin::Memory);
    QCOMPARE(pi.status, InsulationTest::Status::Completed);
    QVERIFY(pi.curve.isEmpty());
    QCOMPARE(pi.firstSeq, 1);
    QCOMPARE(pi.lastSeq, 1);
    QCOMPARE(pi.finalMegohms, 11400.0);
    QCOMPARE(pi.meterPi, 2.19);
    QCOMPARE(pi.setSeconds, 60);
    QCOMPARE(pi.setSeconds2, 600);
    const InsulationTest &volt = recorder.finished.at(1);
    QCOMPARE(volt.origin, InsulationTest::Origin::Memory);
    QCOMPARE(volt.measurementText, QStringLiteral("230 V"));
}

// The demonstration meter's round through all eight modes, decoded from its
// frames one second apart: every test ends with the meter's held result,
// except the TIME test the user stops early in one round. Its PI and DAR
// curves give the ratios it reports.
void TestSegmentation::demonstrationRoundCutsIntoItsTests()
{
    for (int round = 0; round < int(std::size(DemoCycle::testVoltages)); ++round) {
        TestSegmenter segmenter;
        Recorder recorder(segmenter);
        const QList<QByteArray> frames = DemoCycle(round).liveFrames();
        for (int seq = 0; seq < frames.size(); ++seq)
            segmenter.addLive(FrameDecoder::liveRecordOf(frames.at(seq), SampleRecords::baseTime().addSecs(seq)), seq);
        segmenter.finish();

        QStringList modes;
        for (const InsulationTest &test : recorder.finished)
            modes << test.modeName() + QLatin1Char(' ') + statusName(test.status);
        const QString time = round == DemoCycle::interruptedRound ? QStringLiteral("Time Interrupted")
                                                                  : QStringLiteral("Time Completed");
        const QStringList expected{"IR Completed",    time,             "PI Completed",   "DAR Completed",
                                   "COMP Completed",  "COMP Completed", "CAP Completed",  "CAP Completed",
                                   "VOLT Completed",  "VOLT Completed", "VOLT Completed", "RES Completed",
                                   "RES Completed",   "RES Completed"};
        QCOMPARE(modes, expected);
        for (const InsulationTest &test : recorder.finished) {
            if (test.mode != DMMData::dmPI && test.mode != DMMData::dmDAR)
                continue;
            const CurveAnalysis::Values values = CurveAnalysis::analyse(test);
            QVERIFY2(!values.piDiffersFromMeter && !values.darDiffersFromMeter,
                     qPrintable(QStringLiteral("round %1 %2").arg(round).arg(test.modeName())));
        }
    }
}

QTEST_MAIN(TestSegmentation)
#include "tst_segmenter.moc"
