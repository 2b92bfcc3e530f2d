// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "insulation/curveanalysis.h"
#include "insulation/pipredictor.h"
#include "support/curvecorpus.h"
#include "support/curvepoints.h"

#include <QTest>

#include <cmath>
#include <functional>

using Refusal = PiPrediction::Refusal;
using Kind = CurveCorpus::Kind;
using Curve = QVector<CurvePoint>;
Q_DECLARE_METATYPE(Curve)
Q_DECLARE_METATYPE(Refusal)
Q_DECLARE_METATYPE(Kind)

namespace {
using Law = std::function<double(double)>;

// R = V / I with I = conduction + absorption·(t/60)^-n, in MΩ, for 1 kV.
Law charging(double conductionMegohms, double absorptionAtMinute, double exponent)
{
    return [=](double t) { return conductionMegohms / (1.0 + absorptionAtMinute * std::pow(t / 60.0, -exponent)); };
}

Law twoExponents(double conductionMegohms, double first, double firstExponent, double second, double secondExponent)
{
    return [=](double t) {
        return conductionMegohms
               / (1.0 + first * std::pow(t / 60.0, -firstExponent) + second * std::pow(t / 60.0, -secondExponent));
    };
}

// The conduction current grows by `growth` over ten minutes.
Law damp(double conductionMegohms, double growth)
{
    return [=](double t) { return conductionMegohms / (1.0 + growth * t / 600.0 + 0.05 * std::pow(t / 60.0, -0.5)); };
}

struct Meter
{
    int every = 1;      // seconds between readings
    bool cut = false;   // the last digit cut off rather than rounded
    double limit = 1e9; // the range's limit in MΩ
};

// The readings the meter shows of a law up to `until` seconds.
QVector<CurvePoint> readings(const Law &law, int until = 600, const Meter &meter = Meter())
{
    QVector<CurvePoint> curve;
    for (int t = 1; t <= until; t += t < 5 ? 1 : meter.every) {
        const double megohms = law(t);
        curve.append(megohms > meter.limit ? CurvePoints::point(t, meter.limit, true)
                                           : CurvePoints::point(t, CurveCorpus::threeDigits(megohms, meter.cut)));
    }
    return curve;
}

QVector<CurvePoint> changedFrom(QVector<CurvePoint> curve, double fromSeconds, double factor)
{
    for (CurvePoint &point : curve) {
        if (point.seconds >= fromSeconds)
            point.megohms = CurveCorpus::threeDigits(point.megohms * factor, false);
    }
    return curve;
}

QVector<CurvePoint> noisy(QVector<CurvePoint> curve, double share)
{
    int i = 0;
    for (CurvePoint &point : curve) {
        // A fixed pattern of ±share: deterministic, and no smoother than noise.
        static const double pattern[] = {0.9, -0.4, -1.0, 0.3, 0.8, -0.7, 0.1, -0.2, 1.0, -0.9, 0.5};
        point.megohms *= 1.0 + share * pattern[i++ % int(std::size(pattern))];
    }
    return curve;
}

bool covers(double low, double high, double value)
{
    return low <= value && value <= high;
}

struct Tally
{
    int curves = 0;
    int made = 0;
    int covered = 0;
    int within10 = 0;

    double coverage() const { return made > 0 ? double(covered) / made : 0.0; }
    double madeShare() const { return curves > 0 ? double(made) / curves : 0.0; }
    double withinShare() const { return made > 0 ? double(within10) / made : 0.0; }
};

// Predictions from `elapsed` against the PI each curve measured at ten minutes.
Tally tally(Kind kind, quint64 firstSeed, int count, double elapsed)
{
    Tally tally;
    for (int i = 0; i < count; ++i) {
        const CurveCorpus::Curve curve = CurveCorpus::make(kind, firstSeed + quint64(i));
        const double r600 = CurveAnalysis::resistanceAt(curve.points, 600.0);
        const double r60 = CurveAnalysis::resistanceAt(curve.points, 60.0);
        if (!(r600 > 0.0) || !(r60 > 0.0))
            continue;
        ++tally.curves;
        const PiPrediction prediction = PiPredictor().predict(curve.points, elapsed);
        if (!prediction.isMade())
            continue;
        ++tally.made;
        const double pi = r600 / r60;
        tally.covered += covers(prediction.piLow, prediction.piHigh, pi);
        tally.within10 += std::abs(prediction.pi / pi - 1.0) <= 0.1;
    }
    return tally;
}
} // namespace

class TestPiPrediction : public QObject
{
    Q_OBJECT

private slots:
    void knownEndings_data();
    void knownEndings();
    void refusals_data();
    void refusals();
    void tenMinutesAreMeasured();
    void laterReadingsDoNotCount();
    void updatesFromThePreviousLawAgreeWithAFreshStart();
    void bandHoldsOnTheCorpus_data();
    void bandHoldsOnTheCorpus();
    void brokenDownInsulationGetsNoPrediction();
};

void TestPiPrediction::knownEndings_data()
{
    QTest::addColumn<Curve>("curve");
    QTest::addColumn<double>("elapsed");
    QTest::addColumn<double>("truePi");
    QTest::addColumn<double>("tolerance"); // of the central PI, relative
    QTest::addColumn<bool>("r60Measured");

    const auto pi = [](const Law &law) { return law(600) / law(60); };
    const Law good = charging(5000, 1.5, 0.6);
    const Law excellent = charging(1e6, 60.0, 0.55); // nearly all absorption: R rises as t^0.55
    const Law dry = twoExponents(20000, 1.0, 0.9, 0.8, 0.25);
    const Law conductionOnly = charging(300, 0.01, 0.5);
    const Law wet = damp(80, 0.4);

    QTest::newRow("one exponent, rounded, at 3 min") << readings(good) << 180.0 << pi(good) << 0.03 << true;
    QTest::newRow("one exponent, cut, at 2 min") << readings(good, 600, {1, true}) << 120.0 << pi(good) << 0.03
                                                  << true;
    QTest::newRow("one exponent, at 5 min") << readings(good) << 300.0 << pi(good) << 0.02 << true;
    QTest::newRow("one exponent, readings 10 s apart") << readings(good, 600, {10}) << 180.0 << pi(good) << 0.03
                                                       << true;
    QTest::newRow("all but no conduction, PI above 3") << readings(excellent) << 180.0 << pi(excellent) << 0.05
                                                       << true;
    QTest::newRow("two exponents") << readings(dry) << 180.0 << pi(dry) << 0.08 << true;
    QTest::newRow("conduction only, PI 1") << readings(conductionOnly) << 180.0 << pi(conductionOnly) << 0.02
                                           << true;
    QTest::newRow("falling, PI below 1") << readings(wet) << 240.0 << pi(wet) << 0.1 << true;
    QTest::newRow("before the first minute: R60 predicted too") << readings(good) << 50.0 << pi(good) << 0.1
                                                               << false;
    // A few counts of the last digit in three minutes: the curve is a staircase.
    QTest::newRow("three digits, slow rise near 1 MΩ")
        << readings(charging(1.05, 0.04, 0.5)) << 180.0 << pi(charging(1.05, 0.04, 0.5)) << 0.02 << true;
}

// A curve of known physics is predicted close to where it ends, and its band
// holds the truth.
void TestPiPrediction::knownEndings()
{
    QFETCH(Curve, curve);
    QFETCH(double, elapsed);
    QFETCH(double, truePi);
    QFETCH(double, tolerance);
    QFETCH(bool, r60Measured);

    const PiPrediction prediction = PiPredictor().predict(curve, elapsed);
    QVERIFY2(prediction.isMade(), qPrintable(prediction.reasonText()));
    QVERIFY(prediction.reasonText().isEmpty());
    QVERIFY(!prediction.measured);
    QCOMPARE(prediction.r60Measured, r60Measured);
    QVERIFY(prediction.fromSeconds <= elapsed && prediction.fromSeconds > elapsed - 10);
    QVERIFY2(std::abs(prediction.pi / truePi - 1.0) <= tolerance,
             qPrintable(QStringLiteral("PI %1 predicted, %2 true").arg(prediction.pi).arg(truePi)));
    QVERIFY2(covers(prediction.piLow, prediction.piHigh, truePi),
             qPrintable(QStringLiteral("band %1 to %2, PI %3")
                            .arg(prediction.piLow)
                            .arg(prediction.piHigh)
                            .arg(truePi)));
    QVERIFY(covers(prediction.r600Low, prediction.r600High, prediction.r600));
    QVERIFY(prediction.piHigh - prediction.piLow <= PiPredictor::widestBand * prediction.pi);
    if (r60Measured)
        QCOMPARE(prediction.r60, CurveAnalysis::resistanceAt(curve, 60.0));
    QCOMPARE(prediction.pi, prediction.r600 / prediction.r60);
}

void TestPiPrediction::refusals_data()
{
    QTest::addColumn<Curve>("curve");
    QTest::addColumn<double>("elapsed");
    QTest::addColumn<Refusal>("refusal");

    const Law good = charging(5000, 1.5, 0.6);
    const QVector<CurvePoint> curve = readings(good);

    QTest::newRow("no readings") << QVector<CurvePoint>() << 180.0 << Refusal::TooEarly;
    QTest::newRow("too early: 20 s") << curve << 20.0 << Refusal::TooEarly;
    QTest::newRow("too early: readings without a value")
        << QVector<CurvePoint>(200, CurvePoints::point(1, CurvePoints::none)) << 180.0 << Refusal::TooEarly;
    QTest::newRow("breaks down: a tenth of itself") << changedFrom(curve, 100, 0.1) << 180.0 << Refusal::BreaksDown;
    QTest::newRow("breaks down: a dead short") << changedFrom(curve, 150, 0.0) << 180.0 << Refusal::BreaksDown;
    QTest::newRow("breaks down, read at ten minutes") << changedFrom(curve, 400, 0.2) << 600.0
                                                      << Refusal::BreaksDown;
    QTest::newRow("over range in the fitted stretch") << readings(good, 600, {1, false, 2600}) << 180.0
                                                      << Refusal::OverRange;
    QTest::newRow("over range at ten minutes") << readings(good, 600, {1, false, 3500}) << 600.0
                                               << Refusal::OverRange;
    QTest::newRow("jumps up by a third") << changedFrom(curve, 120, 1.33) << 180.0 << Refusal::Jumps;
    QTest::newRow("jumps down by a quarter") << changedFrom(curve, 120, 0.75) << 180.0 << Refusal::Jumps;
    QVector<CurvePoint> sagging = readings(damp(100, 0.2));
    for (int i = 100; i < sagging.size(); ++i)
        sagging[i].megohms = CurveCorpus::threeDigits(sagging.at(i).megohms * std::exp(-(i - 100) * 0.004), false);
    QTest::newRow("falls by more than a quarter") << sagging << 180.0 << Refusal::Falls;
    QTest::newRow("falls before the first minute") << readings(damp(100, 3.0)) << 55.0 << Refusal::Falls;
    QTest::newRow("irregular: noise of 5 %") << noisy(curve, 0.05) << 180.0 << Refusal::Irregular;
    const Law leaking = [](double t) { return 80.0 / (1.0 + 0.6 * t / 600.0); };
    QTest::newRow("too uncertain: falling, just past a minute") << readings(leaking) << 65.0
                                                                << Refusal::TooUncertain;
}

// Each reason to make no prediction, in words.
void TestPiPrediction::refusals()
{
    QFETCH(Curve, curve);
    QFETCH(double, elapsed);
    QFETCH(Refusal, refusal);

    const PiPrediction prediction = PiPredictor().predict(curve, elapsed);
    QVERIFY2(prediction.refusal == refusal, qPrintable(QStringLiteral("refused as %1 (%2), PI %3 (%4 to %5)")
                                                           .arg(int(prediction.refusal))
                                                           .arg(prediction.reasonText())
                                                           .arg(prediction.pi)
                                                           .arg(prediction.piLow)
                                                           .arg(prediction.piHigh)));
    QVERIFY(!prediction.isMade());
    QVERIFY(!prediction.reasonText().isEmpty());
    // A band too wide is kept, for its reason to show.
    QCOMPARE(std::isfinite(prediction.piLow), refusal == Refusal::TooUncertain);
}

// From ten minutes on there is nothing left to predict: the values are the
// curve's own.
void TestPiPrediction::tenMinutesAreMeasured()
{
    const QVector<CurvePoint> curve = readings(charging(5000, 1.5, 0.6), 660);
    const PiPrediction prediction = PiPredictor().predict(curve, 900.0);
    QVERIFY(prediction.isMade());
    QVERIFY(prediction.measured);
    QCOMPARE(prediction.fromSeconds, 660.0);
    const CurveAnalysis::Values values = CurveAnalysis::analyse([&] {
        InsulationTest test;
        test.curve = curve;
        return test;
    }());
    QCOMPARE(prediction.r600, values.r600);
    QCOMPARE(prediction.r600Low, values.r600);
    QCOMPARE(prediction.r600High, values.r600);
    QCOMPARE(prediction.pi, values.pi);
    QCOMPARE(prediction.piLow, values.pi);
    QCOMPARE(prediction.piHigh, values.pi);
}

// A prediction from three minutes is the same whatever came after them, a
// breakdown included.
void TestPiPrediction::laterReadingsDoNotCount()
{
    const QVector<CurvePoint> whole = changedFrom(readings(charging(5000, 1.5, 0.6)), 300, 0.05);
    const PiPrediction fromWhole = PiPredictor().predict(whole, 180.0);
    const PiPrediction fromStart = PiPredictor().predict(whole.mid(0, 180), 180.0);
    QVERIFY(fromWhole.isMade());
    QCOMPARE(fromWhole.fromSeconds, 180.0);
    QCOMPARE(fromWhole.pi, fromStart.pi);
    QCOMPARE(fromWhole.piLow, fromStart.piLow);
    QCOMPARE(fromWhole.piHigh, fromStart.piHigh);
}

// A predictor that follows a test reading by reading starts each fit from the
// law of the one before; it lands where a fresh start does.
void TestPiPrediction::updatesFromThePreviousLawAgreeWithAFreshStart()
{
    const CurveCorpus::Curve curve = CurveCorpus::make(Kind::Charging, 7);
    PiPredictor following;
    for (int elapsed = 30; elapsed <= 400; ++elapsed) {
        const PiPrediction updated = following.predict(curve.points, elapsed);
        const PiPrediction fresh = PiPredictor().predict(curve.points, elapsed);
        QCOMPARE(updated.refusal, fresh.refusal);
        if (updated.isMade())
            QVERIFY2(std::abs(updated.pi / fresh.pi - 1.0) < 1e-3, qPrintable(QString::number(elapsed)));
    }
}

void TestPiPrediction::bandHoldsOnTheCorpus_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<double>("elapsed");
    QTest::addColumn<double>("fewestMade");    // share of the curves predicted
    QTest::addColumn<double>("fewestWithin");  // share of those within 10 % of the PI

    QTest::newRow("charging, 2 min") << Kind::Charging << 120.0 << 0.6 << 0.8;
    QTest::newRow("charging, 3 min") << Kind::Charging << 180.0 << 0.7 << 0.85;
    QTest::newRow("charging, 5 min") << Kind::Charging << 300.0 << 0.8 << 0.9;
    QTest::newRow("flat, 3 min") << Kind::Flat << 180.0 << 0.7 << 0.9;
    // Where failing insulation ends is the least foreseeable of all (a fall
    // may settle or speed up): the band holds it, the middle seldom does.
    QTest::newRow("falling, 3 min") << Kind::Falling << 180.0 << 0.3 << 0.2;
}

// On curves of the corpus other than those it was calibrated on, the band
// holds the PI measured at ten minutes about nine times in ten: a margin
// wide enough for four hundred curves, which the seeds fix.
void TestPiPrediction::bandHoldsOnTheCorpus()
{
    QFETCH(Kind, kind);
    QFETCH(double, elapsed);
    QFETCH(double, fewestMade);
    QFETCH(double, fewestWithin);

    const Tally result = tally(kind, 1, 400, elapsed);
    const QByteArray figures = QStringLiteral("%1 curves, %2 predicted, %3 covered, %4 within 10 %")
                                   .arg(result.curves).arg(result.made).arg(result.covered).arg(result.within10)
                                   .toUtf8();
    QVERIFY2(result.madeShare() >= fewestMade, figures);
    QVERIFY2(result.coverage() >= 0.8 && result.coverage() <= 0.98, figures);
    QVERIFY2(result.withinShare() >= fewestWithin, figures);
}

// Once the resistance has collapsed, nothing is predicted any more.
void TestPiPrediction::brokenDownInsulationGetsNoPrediction()
{
    for (quint64 seed = 1; seed <= 100; ++seed) {
        const CurveCorpus::Curve curve = CurveCorpus::make(Kind::BreaksDown, seed);
        for (const double after : {2.0, 30.0, 200.0}) {
            const PiPrediction prediction = PiPredictor().predict(curve.points, curve.breakdownSeconds + after);
            QVERIFY2(!prediction.isMade(), qPrintable(curve.description));
            QVERIFY2(prediction.refusal == Refusal::BreaksDown || prediction.refusal == Refusal::OverRange,
                     qPrintable(curve.description + QLatin1String(": ") + prediction.reasonText()));
        }
    }
}

QTEST_GUILESS_MAIN(TestPiPrediction)
#include "tst_piprediction.moc"
