// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "cli/testjson.h"
#include "insulation/insulationtest.h"
#include "insulation/testdetails.h"
#include "meter/dmmdata.h"
#include "support/curvecorpus.h"
#include "support/curvepoints.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include <cmath>

namespace {
// A test of `mode` whose curve charges as insulation does, up to `seconds`.
InsulationTest testOf(int mode, int seconds, int setSeconds = 0)
{
    InsulationTest test;
    test.id = 1;
    test.mode = mode;
    test.status = InsulationTest::Status::Completed;
    test.setSeconds = setSeconds;
    for (int t = 1; t <= seconds; ++t) {
        const double megohms = 4000.0 / (1.0 + 1.5 * std::pow(t / 60.0, -0.6));
        test.curve.append(CurvePoints::point(t, CurveCorpus::threeDigits(megohms, false)));
    }
    return test;
}

QJsonValue predictionOf(const InsulationTest &test, double predictAt = -1)
{
    return QJsonDocument::fromJson(TestJson::line(test, TestDetails(), predictAt)).object().value("prediction");
}
} // namespace

class TestTestJson : public QObject
{
    Q_OBJECT

private slots:
    void predictedTests_data();
    void predictedTests();
    void refusedPredictionSaysWhy();
};

void TestTestJson::predictedTests_data()
{
    QTest::addColumn<InsulationTest>("test");
    QTest::addColumn<bool>("predicted");

    InsulationTest fromMemory = testOf(DMMData::dmPI, 600);
    fromMemory.origin = InsulationTest::Origin::Memory;
    fromMemory.curve.clear();

    QTest::newRow("PI") << testOf(DMMData::dmPI, 600) << true;
    QTest::newRow("PI stopped at five minutes") << testOf(DMMData::dmPI, 300) << true;
    QTest::newRow("PI of the meter's memory, no curve") << fromMemory << false;
    QTest::newRow("TIME set to 15 min, at 4 min") << testOf(DMMData::dmTime, 240, 900) << true;
    QTest::newRow("TIME that ran 10 min") << testOf(DMMData::dmTime, 600, 0) << true;
    QTest::newRow("TIME of 5 min") << testOf(DMMData::dmTime, 300, 300) << false;
    QTest::newRow("IR of 10 min") << testOf(DMMData::dmIR, 630) << false;
    QTest::newRow("DAR") << testOf(DMMData::dmDAR, 60) << false;
}

// PI tests, and TIME tests of ten minutes, carry a prediction; the rest null.
void TestTestJson::predictedTests()
{
    QFETCH(InsulationTest, test);
    QFETCH(bool, predicted);

    const QJsonValue prediction = predictionOf(test);
    QCOMPARE(prediction.isObject(), predicted);
    QCOMPARE(prediction.isNull(), !predicted);
    if (!predicted)
        return;
    const QJsonObject object = prediction.toObject();
    const QStringList keys{"fromSeconds", "r600", "r600Low", "r600High", "pi", "piLow", "piHigh"};
    QCOMPARE(object.keys().size(), keys.size());
    for (const QString &key : keys)
        QVERIFY2(object.value(key).isDouble(), qPrintable(key));
    QCOMPARE(object.value("fromSeconds").toDouble(), std::min(600.0, test.curve.constLast().seconds));
}

// Refused, the numbers are null and the reason is given.
void TestTestJson::refusedPredictionSaysWhy()
{
    const QJsonObject prediction = predictionOf(testOf(DMMData::dmPI, 600), 20).toObject();
    QCOMPARE(prediction.value("fromSeconds").toDouble(), 20.0);
    for (const char *key : {"r600", "r600Low", "r600High", "pi", "piLow", "piHigh"})
        QVERIFY2(prediction.value(QLatin1String(key)).isNull(), key);
    QVERIFY(!prediction.value("reason").toString().isEmpty());
}

QTEST_GUILESS_MAIN(TestTestJson)
#include "tst_testjson.moc"
