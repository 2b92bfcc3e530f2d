// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "insulation/reasontext.h"

#include <QLocale>
#include <QTest>

#include <cmath>

namespace {
// "8 200" with the thin space the reasons group thousands by.
QString grouped(QString text)
{
    return text.replace(QLatin1Char('_'), ReasonText::thousandsSeparator);
}
} // namespace

class TestReasonText : public QObject
{
    Q_OBJECT

private slots:
    // A locale with a decimal comma and its own grouping: the reasons must
    // not follow it.
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void cleanupTestCase() { QLocale::setDefault(QLocale::c()); }

    void measuredHasThreeSignificantDigits_data();
    void measuredHasThreeSignificantDigits();
    void exactKeepsTheTablesFigures_data();
    void exactKeepsTheTablesFigures();
    void unitsAndBounds_data();
    void unitsAndBounds();
};

void TestReasonText::measuredHasThreeSignificantDigits_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("hundreds") << 312.0 << "312";
    QTest::newRow("thousands grouped") << 8200.0 << "8_200";
    QTest::newRow("thousands rounded") << 8234.0 << "8_230";
    QTest::newRow("millions") << 1234567.0 << "1_230_000";
    QTest::newRow("ratio keeps its zero") << 1.7 << "1.70";
    QTest::newRow("small") << 0.045 << "0.0450";
    QTest::newRow("rounds up a digit") << 9.996 << "10.0";
    QTest::newRow("rounds up into thousands") << 999.6 << "1_000";
    QTest::newRow("negative") << -1.5 << "-1.50";
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("no value") << std::nan("") << "-";
}

void TestReasonText::measuredHasThreeSignificantDigits()
{
    QFETCH(double, value);
    QFETCH(QString, text);

    QCOMPARE(ReasonText::measured(value), grouped(text));
}

void TestReasonText::exactKeepsTheTablesFigures_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("minDecimals");
    QTest::addColumn<QString>("text");

    QTest::newRow("whole") << 5.0 << 0 << "5";
    QTest::newRow("thousands") << 5000.0 << 0 << "5_000";
    QTest::newRow("hundred thousand") << 100000.0 << 0 << "100_000";
    QTest::newRow("kV + 1") << 14.8 << 0 << "14.8";
    QTest::newRow("quarter") << 0.25 << 0 << "0.25";
    QTest::newRow("PI minimum with its decimal") << 2.0 << 1 << "2.0";
    QTest::newRow("PI minimum class A") << 1.5 << 1 << "1.5";
}

void TestReasonText::exactKeepsTheTablesFigures()
{
    QFETCH(double, value);
    QFETCH(int, minDecimals);
    QFETCH(QString, text);

    QCOMPARE(ReasonText::exact(value, minDecimals), grouped(text));
}

void TestReasonText::unitsAndBounds_data()
{
    QTest::addColumn<QString>("actual");
    QTest::addColumn<QString>("expected");

    QTest::newRow("megohms") << ReasonText::megohms(312) << "312 MΩ";
    QTest::newRow("over range: a lower bound") << ReasonText::megohms(10000, true) << ">10_000 MΩ";
    QTest::newRow("over range without its limit") << ReasonText::megohms(std::nan(""), true) << "beyond the range";
    QTest::newRow("celsius") << ReasonText::celsius(40) << "40 °C";
    QTest::newRow("celsius with a fraction") << ReasonText::celsius(22.5) << "22.5 °C";
    QTest::newRow("below 1 kV in volts") << ReasonText::voltage(0.48) << "480 V";
    QTest::newRow("1 kV") << ReasonText::voltage(1.0) << "1 kV";
    QTest::newRow("34.5 kV") << ReasonText::voltage(34.5) << "34.5 kV";
}

void TestReasonText::unitsAndBounds()
{
    QFETCH(QString, actual);
    QFETCH(QString, expected);

    QCOMPARE(actual, grouped(expected));
}

QTEST_MAIN(TestReasonText)
#include "tst_reasontext.moc"
