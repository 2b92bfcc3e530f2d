// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "insulation/predictiontext.h"

#include <QTest>

Q_DECLARE_METATYPE(PiPrediction)
Q_DECLARE_METATYPE(PredictionReview::Row)

namespace {
PiPrediction made(double pi, double low, double high)
{
    PiPrediction prediction;
    prediction.refusal = PiPrediction::Refusal::None;
    prediction.fromSeconds = 180.0;
    prediction.pi = pi;
    prediction.piLow = low;
    prediction.piHigh = high;
    return prediction;
}

PiPrediction refused(PiPrediction::Refusal refusal)
{
    PiPrediction prediction;
    prediction.refusal = refusal;
    return prediction;
}

PredictionReview::Row row(double fromSeconds, const PiPrediction &prediction, bool held)
{
    PredictionReview::Row result;
    result.fromSeconds = fromSeconds;
    result.prediction = prediction;
    result.held = held;
    return result;
}
} // namespace

class TestPredictionText : public QObject
{
    Q_OBJECT

private slots:
    void lineGivesTheEstimateOrWhyThereIsNone_data();
    void lineGivesTheEstimateOrWhyThereIsNone();
    void shortLineLeavesTheReasonOut();
    void elapsedTimeInMinutesAndSeconds_data();
    void elapsedTimeInMinutesAndSeconds();
    void reviewRowsSetThePredictionBesideTheMeasurement_data();
    void reviewRowsSetThePredictionBesideTheMeasurement();
};

void TestPredictionText::lineGivesTheEstimateOrWhyThereIsNone_data()
{
    QTest::addColumn<PiPrediction>("prediction");
    QTest::addColumn<QString>("line");

    QTest::newRow("estimate and band") << made(2.4, 2.1, 2.8) << "PI at 10 min: 2.4 expected (2.1\u20132.8)";
    QTest::newRow("band rounded outwards, never narrower")
        << made(2.44, 2.31, 2.49) << "PI at 10 min: 2.4 expected (2.3\u20132.5)";
    QTest::newRow("ends already on a tenth stay there")
        << made(2.3, 2.3, 2.7) << "PI at 10 min: 2.3 expected (2.3\u20132.7)";
    QTest::newRow("estimate rounded to the nearest tenth")
        << made(1.06, 1.02, 1.09) << "PI at 10 min: 1.1 expected (1.0\u20131.1)";
    QTest::newRow("too early") << refused(PiPrediction::Refusal::TooEarly)
                               << "PI at 10 min: not yet predictable (too early in the test)";
    QTest::newRow("breakdown") << refused(PiPrediction::Refusal::BreaksDown)
                               << "PI at 10 min: not yet predictable (the resistance collapsed: the insulation "
                                  "broke down)";
    PiPrediction tooWide = made(2.5, 1.6, 3.9);
    tooWide.refusal = PiPrediction::Refusal::TooUncertain;
    QTest::newRow("a band too wide says how wide")
        << tooWide << "PI at 10 min: not yet predictable (the band would be too wide (PI 1.6 to 3.9))";
}

void TestPredictionText::lineGivesTheEstimateOrWhyThereIsNone()
{
    QFETCH(PiPrediction, prediction);
    QFETCH(QString, line);
    QCOMPARE(PredictionText::line(prediction), line);
}

void TestPredictionText::shortLineLeavesTheReasonOut()
{
    QCOMPARE(PredictionText::shortLine(refused(PiPrediction::Refusal::Jumps)),
             QStringLiteral("PI at 10 min: not yet predictable"));
    QCOMPARE(PredictionText::shortLine(made(2.4, 2.1, 2.8)), PredictionText::line(made(2.4, 2.1, 2.8)));
}

void TestPredictionText::elapsedTimeInMinutesAndSeconds_data()
{
    QTest::addColumn<double>("seconds");
    QTest::addColumn<QString>("text");

    QTest::newRow("under a minute") << 30.0 << "30 s";
    QTest::newRow("whole minutes") << 180.0 << "3 min";
    QTest::newRow("minutes and seconds") << 90.0 << "1 min 30 s";
    QTest::newRow("a fraction rounds to the second") << 299.6 << "5 min";
}

void TestPredictionText::elapsedTimeInMinutesAndSeconds()
{
    QFETCH(double, seconds);
    QFETCH(QString, text);
    QCOMPARE(PredictionText::elapsed(seconds), text);
}

void TestPredictionText::reviewRowsSetThePredictionBesideTheMeasurement_data()
{
    QTest::addColumn<PredictionReview::Row>("row");
    QTest::addColumn<QStringList>("cells");

    QTest::newRow("the band held the PI measured")
        << row(180.0, made(2.4, 2.1, 2.8), true) << QStringList{"3 min", "2.4 (2.1\u20132.8)", "within the band"};
    QTest::newRow("the band missed it")
        << row(120.0, made(1.9, 1.7, 2.0), false) << QStringList{"2 min", "1.9 (1.7\u20132.0)", "outside the band"};
    QTest::newRow("no prediction then") << row(60.0, refused(PiPrediction::Refusal::Irregular), false)
                                        << QStringList{"1 min",
                                                       "not yet predictable (the curve does not follow charging "
                                                       "insulation)",
                                                       QString()};
}

void TestPredictionText::reviewRowsSetThePredictionBesideTheMeasurement()
{
    QFETCH(PredictionReview::Row, row);
    QFETCH(QStringList, cells);
    QCOMPARE(PredictionText::reviewCells(row), cells);
}

QTEST_MAIN(TestPredictionText)
#include "tst_predictiontext.moc"
