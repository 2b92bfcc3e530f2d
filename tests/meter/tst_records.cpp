// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "meter/dmmdata.h"
#include "meter/timebox.h"
#include "meter/valuebox.h"
#include "meter/valueboxint.h"

#include <QMetaEnum>
#include <QTest>

#include <limits>

namespace {
const QString omega(QChar(0x03A9));

// Tells when it is destroyed, so a test can see which destructor ran.
template <typename Record>
class DestructionProbe : public Record
{
public:
    explicit DestructionProbe(bool &destroyed)
        : m_destroyed(destroyed)
    {
    }
    ~DestructionProbe() override { m_destroyed = true; }

private:
    bool &m_destroyed;
};

DMMData *newProbe(int mode, bool &destroyed)
{
    switch (mode) {
    case DMMData::dmIR:
        return new DestructionProbe<DMMDataIR>(destroyed);
    case DMMData::dmTime:
        return new DestructionProbe<DMMDataTime>(destroyed);
    case DMMData::dmPI:
        return new DestructionProbe<DMMDataPI>(destroyed);
    case DMMData::dmDAR:
        return new DestructionProbe<DMMDataDAR>(destroyed);
    case DMMData::dmCOMP:
        return new DestructionProbe<DMMDataCOMP>(destroyed);
    case DMMData::dmCAP:
        return new DestructionProbe<DMMDataCAP>(destroyed);
    case DMMData::dmVOLT:
        return new DestructionProbe<DMMDataVOLT>(destroyed);
    default:
        return new DestructionProbe<DMMDataRES>(destroyed);
    }
}
} // namespace

class TestRecords : public QObject
{
    Q_OBJECT

private slots:
    void valueBoxText_data();
    void valueBoxText();
    void valueBoxIntText_data();
    void valueBoxIntText();
    void timeText_data();
    void timeText();
    void modeNames_data();
    void modeNames();
    void recordsDieAsTheirFullClass_data();
    void recordsDieAsTheirFullClass();
};

void TestRecords::valueBoxText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("textAfter");
    QTest::addColumn<double>("valueAfter");

    const double notANumber = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    const QString gohm = QStringLiteral("G") + omega;
    QTest::newRow("resistance") << "12.3" << 12.3 << gohm << QStringLiteral("12.3 G") + omega << "12.3" << 12.3;
    QTest::newRow("ratio keeps the space") << "1.25" << 1.25 << QString() << "1.25 " << "1.25" << 1.25;
    QTest::newRow("status word") << "LO" << 1.5 << "V" << "LO V" << "LO" << 1.5;
    QTest::newRow("NaN") << "-" << notANumber << gohm << QStringLiteral("- G") + omega << "-" << 0.0;
    QTest::newRow("NaN with a number text") << "123" << notANumber << "uA" << "- uA" << "-" << 0.0;
    QTest::newRow("infinity") << "-" << infinity << "uA" << "- uA" << "-" << 0.0;
    QTest::newRow("negative infinity") << "-" << -infinity << QString() << "- " << "-" << 0.0;
}

void TestRecords::valueBoxText()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QFETCH(QString, unit);
    ValueBox box{text, value, unit};

    QTEST(box.toString(), "expected");
    QTEST(box.text, "textAfter");
    QTEST(box.value, "valueAfter");
    QTEST(box.toString(), "expected");
}

void TestRecords::valueBoxIntText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("expected");

    QTest::newRow("negative volts") << "-5" << -5 << "V" << "-5 V";
    QTest::newRow("limit") << "500" << 500 << QStringLiteral("M") + omega << QStringLiteral("500 M") + omega;
    QTest::newRow("no unit") << "0" << 0 << QString() << "0 ";
}

void TestRecords::valueBoxIntText()
{
    QFETCH(QString, text);
    QFETCH(int, value);
    QFETCH(QString, unit);
    const ValueBoxInt box{text, value, unit};

    QTEST(box.toString(), "expected");
}

void TestRecords::timeText_data()
{
    QTest::addColumn<int>("time");
    QTest::addColumn<QString>("expected");

    QTest::newRow("zero") << 0 << "00:00";
    QTest::newRow("1 min 10 s") << 0x010A << "01:10";
    QTest::newRow("2 min 30 s") << 0x021E << "02:30";
    QTest::newRow("bytes above 59 shown as sent") << 0xFF3C << "255:60";
}

void TestRecords::timeText()
{
    QFETCH(int, time);
    QTEST(TimeBox::convertString(static_cast<unsigned short>(time)), "expected");
}

void TestRecords::modeNames_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("name");

    QTest::newRow("IR") << 0 << "dmIR" << "IR";
    QTest::newRow("Time") << 1 << "dmTime" << "Time";
    QTest::newRow("PI") << 2 << "dmPI" << "PI";
    QTest::newRow("DAR") << 3 << "dmDAR" << "DAR";
    QTest::newRow("COMP") << 4 << "dmCOMP" << "COMP";
    QTest::newRow("CAP") << 5 << "dmCAP" << "CAP";
    QTest::newRow("VOLT") << 6 << "dmVOLT" << "VOLT";
    QTest::newRow("RES") << 7 << "dmRES" << "RES";
    QTest::newRow("above the modes") << 8 << QString() << QString();
    QTest::newRow("negative") << -1 << QString() << QString();
}

void TestRecords::modeNames()
{
    QFETCH(int, mode);
    const QMetaEnum modes = QMetaEnum::fromType<DMMData::DataMode>();
    QCOMPARE(QString::fromLatin1(modes.enumName()), QStringLiteral("DataMode"));
    QTEST(QString::fromLatin1(modes.valueToKey(mode)), "key");
    QTEST(DMMData::modeName(mode), "name");
}

void TestRecords::recordsDieAsTheirFullClass_data()
{
    QTest::addColumn<int>("mode");
    for (int mode = 0; mode < DMMData::modeCount; ++mode)
        QTest::newRow(qPrintable(DMMData::modeName(mode))) << mode;
}

void TestRecords::recordsDieAsTheirFullClass()
{
    QFETCH(int, mode);
    bool destroyed = false;
    DMMData *const base = newProbe(mode, destroyed);
    QSharedPointer<DMMData> holder(base);
    QSharedPointer<DMMData> copy = holder;

    holder.reset();
    QVERIFY(!destroyed);
    copy.reset();
    QVERIFY(destroyed);
}

QTEST_MAIN(TestRecords)
#include "tst_records.moc"
