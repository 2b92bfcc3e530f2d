// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "insulation/pipredictor.h"
#include "insulation/predictionreview.h"
#include "insulation/runningprediction.h"
#include "meter/dmmdata.h"
#include "support/curvecorpus.h"
#include "support/curvepoints.h"

#include <QTest>

#include <cmath>

namespace {
// A charging winding read once a second up to `until`: R = V / I with a
// conduction current and an absorption current decaying as t^-0.6, PI 2.6.
QVector<CurvePoint> charging(int until)
{
    QVector<CurvePoint> curve;
    for (int t = 1; t <= until; ++t) {
        const double megohms = 4000.0 / (1.0 + 1.6 * std::pow(t / 60.0, -0.6));
        curve.append(CurvePoints::point(t, CurveCorpus::threeDigits(megohms, false)));
    }
    return curve;
}

InsulationTest test(int mode, int setSeconds, int until)
{
    InsulationTest result;
    result.mode = mode;
    result.setSeconds = setSeconds;
    result.startedMs = 1000;
    result.curve = charging(until);
    return result;
}

double piOf(const QVector<CurvePoint> &curve)
{
    return curve.at(599).megohms / curve.at(59).megohms;
}
} // namespace

class TestPredictionReview : public QObject
{
    Q_OBJECT

private slots:
    void followsPiTestsAndTenMinuteTimeTests_data();
    void followsPiTestsAndTenMinuteTimeTests();
    void reviewsAFinishedTestAtOneTwoThreeAndFiveMinutes();
    void noReviewBeforeTenMinutes();
    void runningPredictionFollowsOneTestAtATime();
};

void TestPredictionReview::followsPiTestsAndTenMinuteTimeTests_data()
{
    QTest::addColumn<InsulationTest>("test");
    QTest::addColumn<bool>("follows");

    QTest::newRow("PI test, from its first reading") << test(DMMData::dmPI, 60, 1) << true;
    QTest::newRow("TIME test set to ten minutes") << test(DMMData::dmTime, 600, 20) << true;
    QTest::newRow("TIME test set to less, not there yet") << test(DMMData::dmTime, 300, 200) << false;
    QTest::newRow("TIME test set to less that ran ten minutes") << test(DMMData::dmTime, 60, 600) << true;
    QTest::newRow("IR test") << test(DMMData::dmIR, 0, 600) << false;
    QTest::newRow("DAR test") << test(DMMData::dmDAR, 30, 60) << false;
    InsulationTest memory = test(DMMData::dmPI, 60, 0);
    memory.origin = InsulationTest::Origin::Memory;
    QTest::newRow("from the meter's memory: no curve") << memory << false;
}

void TestPredictionReview::followsPiTestsAndTenMinuteTimeTests()
{
    QFETCH(InsulationTest, test);
    QFETCH(bool, follows);
    QCOMPARE(PredictionReview::follows(test), follows);
    // Running, short of ten minutes: the same tests have an estimate to show.
    const bool measured = !test.curve.isEmpty() && test.curve.constLast().seconds >= PiPredictor::tenMinutes;
    RunningPrediction running;
    QCOMPARE(running.update(test).has_value(), follows && !measured);
}

// The prediction from the readings up to each time, not from the whole
// curve: the early ones may refuse, the later ones hold a true PI.
void TestPredictionReview::reviewsAFinishedTestAtOneTwoThreeAndFiveMinutes()
{
    const InsulationTest finished = test(DMMData::dmPI, 60, 600);
    const double measured = piOf(finished.curve);
    const QVector<PredictionReview::Row> rows = PredictionReview::rows(finished, measured);

    QCOMPARE(rows.size(), 4);
    for (int i = 0; i < rows.size(); ++i) {
        const PredictionReview::Row &row = rows.at(i);
        QCOMPARE(row.fromSeconds, PredictionReview::reviewSeconds.at(i));
        QVERIFY(row.prediction.fromSeconds <= row.fromSeconds);
        QCOMPARE(row.held, row.prediction.isMade() && row.prediction.piLow <= measured
                               && measured <= row.prediction.piHigh);
    }
    for (const int late : {2, 3}) {
        QVERIFY2(rows.at(late).prediction.isMade(), qPrintable(rows.at(late).prediction.reasonText()));
        QVERIFY(rows.at(late).held);
    }
    // Without a measured PI nothing is held.
    for (const PredictionReview::Row &row : PredictionReview::rows(finished, CurvePoints::none))
        QVERIFY(!row.held);
}

void TestPredictionReview::noReviewBeforeTenMinutes()
{
    QVERIFY(PredictionReview::rows(test(DMMData::dmPI, 60, 599), 2.6).isEmpty());
    QVERIFY(PredictionReview::rows(test(DMMData::dmIR, 0, 600), 2.6).isEmpty());
}

// Readings arrive one by one; at ten minutes the PI is measured and the
// estimate gives way. The next test starts afresh, whatever the last one was.
void TestPredictionReview::runningPredictionFollowsOneTestAtATime()
{
    RunningPrediction running;
    InsulationTest growing = test(DMMData::dmPI, 60, 600);
    const QVector<CurvePoint> whole = growing.curve;
    std::optional<PiPrediction> latest;
    for (int size = 1; size <= whole.size(); ++size) {
        growing.curve = whole.mid(0, size);
        const std::optional<PiPrediction> prediction = running.update(growing);
        if (size < whole.size()) {
            QVERIFY(prediction);
            QCOMPARE(prediction->fromSeconds, whole.at(size - 1).seconds);
            latest = prediction;
        } else {
            QVERIFY(!prediction);
        }
    }
    QVERIFY(latest && latest->isMade());
    QVERIFY(latest->piLow <= piOf(whole) && piOf(whole) <= latest->piHigh);

    // Another test begun as the last ended: its first readings are too few.
    InsulationTest next = test(DMMData::dmPI, 60, 20);
    next.startedMs = 2000;
    const std::optional<PiPrediction> first = running.update(next);
    QVERIFY(first);
    QCOMPARE(first->refusal, PiPrediction::Refusal::TooEarly);
}

QTEST_MAIN(TestPredictionReview)
#include "tst_predictionreview.moc"
