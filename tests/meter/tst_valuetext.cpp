// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "meter/mydmm.h"
#include "support/goldenframe.h"
#include "support/meterinput.h"

#include <QSignalSpy>
#include <QTest>

#include <cmath>
#include <cstring>
#include <limits>

namespace {
const double notANumber = std::numeric_limits<double>::quiet_NaN();
const double infinity = std::numeric_limits<double>::infinity();

// Exact equality that also holds NaN equal to NaN and tells -0 from +0.
bool sameDouble(double a, double b)
{
    if (std::isnan(a) || std::isnan(b))
        return std::isnan(a) && std::isnan(b);
    return a == b && std::signbit(a) == std::signbit(b);
}

QString show(double value)
{
    return QStringLiteral("%1%2").arg(std::signbit(value) ? "-" : "+").arg(std::fabs(value), 0, 'g', 17);
}

// A live RES frame whose resistance field holds `value`.
QByteArray resistanceFrame(float value)
{
    quint32 bits = 0;
    std::memcpy(&bits, &value, sizeof(bits));
    return GoldenFrame(MyDMM::liveFrameType, DMMData::dmRES, 18)
        .set(6, {int(bits >> 24), int(bits >> 16 & 0xFF), int(bits >> 8 & 0xFF), int(bits & 0xFF)})
        .bytes();
}
} // namespace

class TestValueText : public QObject
{
    Q_OBJECT

private slots:
    void unitTables_data();
    void unitTables();
    void fieldWidthAndDecimals_data();
    void fieldWidthAndDecimals();
    void truncation_data();
    void truncation();
    void numberText_data();
    void numberText();
};

void TestValueText::unitTables_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("resistance");

    // The chart reads the letter in front of a capital omega (U+03A9).
    const QChar omega(0x03A9);
    QTest::newRow("0") << 0 << "nA" << QString(QLatin1Char('M')) + omega;
    QTest::newRow("1") << 1 << "uA" << QString(QLatin1Char('G')) + omega;
    QTest::newRow("2") << 2 << "mA" << QString(QLatin1Char('T')) + omega;
    QTest::newRow("3") << 3 << QString() << QString();
    QTest::newRow("255") << 255 << QString() << QString();
    QTest::newRow("negative") << -1 << QString() << QString();
}

void TestValueText::unitTables()
{
    QFETCH(int, code);
    const MyDMM meter;
    QTEST(meter.getCurrUnit(code), "current");
    QTEST(meter.getResUnit(code), "resistance");
}

void TestValueText::fieldWidthAndDecimals_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("fieldWidth");
    QTest::addColumn<int>("precision");

    QTest::newRow("zero") << 0.0 << 3 << 0;
    QTest::newRow("negative zero") << -0.0 << 3 << 0;
    QTest::newRow("just below 10") << 9.99 << 4 << 2;
    QTest::newRow("10") << 10.0 << 4 << 1;
    QTest::newRow("just below 100") << 99.99 << 4 << 1;
    QTest::newRow("100") << 100.0 << 3 << 0;
    QTest::newRow("any negative") << -250.0 << 4 << 2;
    QTest::newRow("NaN") << notANumber << 3 << 0;
}

void TestValueText::fieldWidthAndDecimals()
{
    QFETCH(double, value);
    int fieldWidth = -1;
    int precision = -1;
    MyDMM::getDoubleParam(value, fieldWidth, precision);
    QTEST(fieldWidth, "fieldWidth");
    QTEST(precision, "precision");
}

void TestValueText::truncation_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("precision");
    QTest::addColumn<double>("expected");

    QTest::newRow("12.35 to 1") << 12.35 << 1 << 12.3;
    QTest::newRow("never rounds up") << 19.99 << 1 << 19.9;
    QTest::newRow("toward zero") << -1.5 << 0 << -1.0;
    QTest::newRow("zero result is +0") << -0.004 << 2 << 0.0;
    QTest::newRow("beyond 32 bits after scaling") << 5.0e7 << 2 << 5.0e7;
    QTest::newRow("beyond 32 bits negative") << -3.0e9 << 0 << -3.0e9;
    QTest::newRow("scaling overflows") << 1.0e308 << 2 << 1.0e308;
    QTest::newRow("binary fraction below its decimal") << 0.29 << 2 << 0.29;
    QTest::newRow("binary fraction, negative") << -0.29 << 2 << -0.29;
    QTest::newRow("NaN stays") << notANumber << 0 << notANumber;
    QTest::newRow("infinity stays") << infinity << 0 << infinity;
}

void TestValueText::truncation()
{
    QFETCH(double, value);
    QFETCH(int, precision);
    QFETCH(double, expected);
    const double actual = MyDMM::getCutValue(value, precision);
    QVERIFY2(sameDouble(actual, expected), qPrintable(show(actual) + " != " + show(expected)));
}

void TestValueText::numberText_data()
{
    QTest::addColumn<float>("received");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");

    QTest::newRow("zero") << 0.0F << "  0" << 0.0;
    QTest::newRow("negative zero") << -0.0F << "  0" << 0.0;
    QTest::newRow("0.87") << 0.87F << "0.87" << 0.87;
    QTest::newRow("5.5") << 5.5F << "5.50" << 5.5;
    QTest::newRow("12.35") << 12.35F << "12.3" << 12.3;
    QTest::newRow("99.99") << 99.99F << "99.9" << 99.9;
    QTest::newRow("19.99 never rounds up") << 19.99F << "19.9" << 19.9;
    QTest::newRow("123.9") << 123.9F << "123" << 123.0;
    QTest::newRow("456.7") << 456.7F << "456" << 456.0;
    QTest::newRow("4.7 keeps its last digit") << 4.7F << "4.70" << 4.7;
    QTest::newRow("0.29 keeps its last digit") << 0.29F << "0.29" << 0.29;
    QTest::newRow("2.51 keeps its last digit") << 2.51F << "2.51" << 2.51;
    QTest::newRow("-0.5") << -0.5F << "-0.50" << -0.5;
    QTest::newRow("-123.5 gets two decimals") << -123.5F << "-123.50" << -123.5;
    QTest::newRow("small negative has no sign") << -0.004F << "0.00" << 0.0;
    QTest::newRow("large value") << 5.0e7F << "50000000" << 5.0e7;
    QTest::newRow("NaN") << float(notANumber) << "-" << notANumber;
    QTest::newRow("infinity") << float(infinity) << "-" << infinity;
    QTest::newRow("negative infinity") << float(-infinity) << "-" << -infinity;
}

void TestValueText::numberText()
{
    QFETCH(float, received);
    QFETCH(QString, text);
    QFETCH(double, value);
    MyDMM meter;
    QSignalSpy spy(&meter, &MyDMM::updateLiveData);

    feedMeter(meter, resistanceFrame(received));

    QCOMPARE(spy.count(), 1);
    auto record = caughtRecords(spy).first().dynamicCast<DMMDataRES>();
    QVERIFY(record);
    QCOMPARE(record->resistance.text, text);
    QVERIFY2(sameDouble(record->resistance.value, value), qPrintable(show(record->resistance.value)));
    // What a reader shows agrees with the text, whatever the value.
    QCOMPARE(record->resistance.toString(), text + QLatin1Char(' ') + QChar(0x03A9));
}

QTEST_MAIN(TestValueText)
#include "tst_valuetext.moc"
