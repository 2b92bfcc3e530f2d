// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "meter/dmmdata.h"
#include "models/columnset.h"
#include "models/datamodel.h"
#include "models/modelfactory.h"

#include <QLocale>
#include <QTest>

#include <cmath>
#include <limits>
#include <memory>

namespace {

// Which over-range flags a sample record carries.
enum SampleFlags : unsigned {
    NoFlags = 0,
    FirstOverRange = 1,  // resistanceOverRange, overRange; VOLT: overload
    SecondOverRange = 2, // resistance2OverRange (PI, DAR)
};

const QDateTime sampleTime(QDate(2026, 3, 14), QTime(15, 9, 26));

ValueBox box(const char *text, double value, const QString &unit)
{
    return {QString::fromUtf8(text), value, unit};
}

ValueBoxInt intBox(int value, const QString &unit)
{
    return {QString::number(value), value, unit};
}

const QString megaOhm = QStringLiteral("MΩ");
const QString gigaOhm = QStringLiteral("GΩ");
const QString volt = QStringLiteral("V");

// The IR fields the TIME, PI, DAR and COMP tables do not show get values
// of their own, so a cell that reads the wrong field shows it.
void fillHiddenIrFields(DMMDataIR &record)
{
    record.dar = box("8.88", 8.88, QString());
    record.pi = box("9.99", 9.99, QString());
    record.testTime = 0x0909;
}

QSharedPointer<DMMData> sampleIR(unsigned flags)
{
    auto record = QSharedPointer<DMMDataIR>::create();
    record->resistance = box("12.3", 12.3, gigaOhm);
    record->leakageCurrent = box("0.87", 0.87, QStringLiteral("uA"));
    record->setVoltage = intBox(500, volt);
    record->outputVoltage = intBox(512, volt);
    record->dar = box("1.25", 1.25, QString());
    record->pi = box("2.50", 2.5, QString());
    record->testTime = 0x0105;
    record->resistanceOverRange = flags & FirstOverRange;
    return record;
}

QSharedPointer<DMMData> sampleTimeRecord(unsigned flags)
{
    auto record = QSharedPointer<DMMDataTime>::create();
    fillHiddenIrFields(*record);
    record->resistance = box("45.6", 45.6, megaOhm);
    record->elapsedTime = 0x7803; // 120 minutes: more than two digits
    record->setTime = 0x0A00;
    record->leakageCurrent = box("1.50", 1.5, QStringLiteral("nA"));
    record->setVoltage = intBox(1000, volt);
    record->outputVoltage = intBox(1010, volt);
    record->resistanceOverRange = flags & FirstOverRange;
    return record;
}

void fillPiDar(DMMDataPIDAR &record, unsigned flags)
{
    fillHiddenIrFields(record);
    record.resistance = box("5.50", 5.5, gigaOhm);
    record.resistance2 = box("11.0", 11.0, gigaOhm);
    record.elapsedTime = 0x0930;
    record.setTime = 0x0100;
    record.setTime2 = 0x0A00;
    record.leakageCurrent = box("0.12", 0.12, QStringLiteral("uA"));
    record.setVoltage = intBox(2500, volt);
    record.outputVoltage = intBox(2490, volt);
    record.resistanceOverRange = flags & FirstOverRange;
    record.resistance2OverRange = flags & SecondOverRange;
}

QSharedPointer<DMMData> samplePI(unsigned flags)
{
    auto record = QSharedPointer<DMMDataPI>::create();
    fillPiDar(*record, flags);
    record->piRatio = box("2.00", 2.0, QString());
    return record;
}

QSharedPointer<DMMData> sampleDAR(unsigned flags)
{
    auto record = QSharedPointer<DMMDataDAR>::create();
    fillPiDar(*record, flags);
    record->darRatio = box("1.40", 1.4, QString());
    return record;
}

QSharedPointer<DMMData> sampleCOMP(unsigned flags)
{
    auto record = QSharedPointer<DMMDataCOMP>::create();
    fillHiddenIrFields(*record);
    record->compareLimit = intBox(100, megaOhm);
    record->resistance = box("250", 250, megaOhm);
    record->result = 2;
    record->leakageCurrent = box("0.50", 0.5, QStringLiteral("nA"));
    record->setVoltage = intBox(1000, volt);
    record->outputVoltage = intBox(998, volt);
    record->resistanceOverRange = flags & FirstOverRange;
    return record;
}

QSharedPointer<DMMData> sampleCAP(unsigned flags)
{
    auto record = QSharedPointer<DMMDataCAP>::create();
    record->capacitance = box("1.23", 1.23, QStringLiteral("μF"));
    record->setVoltage = intBox(250, volt);
    record->overRange = flags & FirstOverRange;
    return record;
}

QSharedPointer<DMMData> sampleVOLT(unsigned flags)
{
    auto record = QSharedPointer<DMMDataVOLT>::create();
    record->voltage = box("12.5", 12.5, volt);
    record->acdc = QStringLiteral("DC");
    if (flags & FirstOverRange) {
        record->overload = true;
        record->voltage.text = QStringLiteral("OL");
    }
    return record;
}

QSharedPointer<DMMData> sampleRES(unsigned flags)
{
    auto record = QSharedPointer<DMMDataRES>::create();
    record->resistance = box("470", 470, QStringLiteral("Ω"));
    record->overRange = flags & FirstOverRange;
    return record;
}

QSharedPointer<DMMData> sampleRecord(int mode, unsigned flags)
{
    QSharedPointer<DMMData> record;
    switch (mode) {
    case DMMData::dmIR: record = sampleIR(flags); break;
    case DMMData::dmTime: record = sampleTimeRecord(flags); break;
    case DMMData::dmPI: record = samplePI(flags); break;
    case DMMData::dmDAR: record = sampleDAR(flags); break;
    case DMMData::dmCOMP: record = sampleCOMP(flags); break;
    case DMMData::dmCAP: record = sampleCAP(flags); break;
    case DMMData::dmVOLT: record = sampleVOLT(flags); break;
    case DMMData::dmRES: record = sampleRES(flags); break;
    default: return {};
    }
    record->dateTime = sampleTime;
    return record;
}

// The value box of the mode's main column.
ValueBox &mainBox(DMMData &record)
{
    switch (record.mode) {
    case DMMData::dmPI: return static_cast<DMMDataPI &>(record).piRatio;
    case DMMData::dmDAR: return static_cast<DMMDataDAR &>(record).darRatio;
    case DMMData::dmCAP: return static_cast<DMMDataCAP &>(record).capacitance;
    case DMMData::dmVOLT: return static_cast<DMMDataVOLT &>(record).voltage;
    case DMMData::dmRES: return static_cast<DMMDataRES &>(record).resistance;
    default: return static_cast<DMMDataIR &>(record).resistance;
    }
}

// The texts a sample record shows from column 3 on, in the live table.
struct CellCase
{
    const char *label;
    DMMData::DataMode mode;
    unsigned flags;
    QStringList cells;
    QList<int> storedDashColumns;
};

QList<CellCase> cellCases()
{
    const QList<int> dateOnly{1};
    const QList<int> piDarDashes{1, 7, 8};
    const QStringList piDarTail{QStringLiteral("09:48"), QStringLiteral("01:00"), QStringLiteral("10:00"),
                                QStringLiteral("0.12 uA"), QStringLiteral("2500 V"), QStringLiteral("2490 V")};
    return {
        {"IR", DMMData::dmIR, NoFlags,
         {"12.3 GΩ", "0.87 uA", "500 V", "512 V", "1.25 ", "2.50 ", "01:05"}, dateOnly},
        {"IR over range", DMMData::dmIR, FirstOverRange,
         {">12.3 GΩ", "0.87 uA", "500 V", "512 V", "1.25 ", "2.50 ", "01:05"}, dateOnly},
        {"TIME", DMMData::dmTime, NoFlags,
         {"45.6 MΩ", "120:03", "10:00", "1.50 nA", "1000 V", "1010 V"}, {1, 5}},
        {"TIME over range", DMMData::dmTime, FirstOverRange,
         {">45.6 MΩ", "120:03", "10:00", "1.50 nA", "1000 V", "1010 V"}, {1, 5}},
        {"PI", DMMData::dmPI, NoFlags, QStringList{"5.50 GΩ", "11.0 GΩ", "2.00 "} + piDarTail, piDarDashes},
        {"PI RES1 over range", DMMData::dmPI, FirstOverRange,
         QStringList{">5.50 GΩ", "11.0 GΩ", "2.00 "} + piDarTail, piDarDashes},
        {"PI RES2 over range", DMMData::dmPI, SecondOverRange,
         QStringList{"5.50 GΩ", ">11.0 GΩ", "2.00 "} + piDarTail, piDarDashes},
        {"DAR", DMMData::dmDAR, NoFlags, QStringList{"5.50 GΩ", "11.0 GΩ", "1.40 "} + piDarTail, piDarDashes},
        {"DAR RES1 over range", DMMData::dmDAR, FirstOverRange,
         QStringList{">5.50 GΩ", "11.0 GΩ", "1.40 "} + piDarTail, piDarDashes},
        {"DAR RES2 over range", DMMData::dmDAR, SecondOverRange,
         QStringList{"5.50 GΩ", ">11.0 GΩ", "1.40 "} + piDarTail, piDarDashes},
        {"COMP", DMMData::dmCOMP, NoFlags, {"100 MΩ", "250 MΩ", "PASS", "0.50 nA", "1000 V", "998 V"}, dateOnly},
        {"COMP over range", DMMData::dmCOMP, FirstOverRange,
         {"100 MΩ", ">250 MΩ", "PASS", "0.50 nA", "1000 V", "998 V"}, dateOnly},
        {"CAP", DMMData::dmCAP, NoFlags, {"1.23 μF", "250 V"}, dateOnly},
        {"CAP over range", DMMData::dmCAP, FirstOverRange, {">1.23 μF", "250 V"}, dateOnly},
        {"VOLT", DMMData::dmVOLT, NoFlags, {"12.5 V", "DC"}, dateOnly},
        {"VOLT overload has no >", DMMData::dmVOLT, FirstOverRange, {"OL V", "DC"}, dateOnly},
        {"RES", DMMData::dmRES, NoFlags, {"470 Ω"}, dateOnly},
        {"RES over range", DMMData::dmRES, FirstOverRange, {">470 Ω"}, dateOnly},
    };
}

std::unique_ptr<DataModel> createModel(int mode, bool stored, const ColumnSet &columns)
{
    return stored ? ModelFactory::createStoredModel(mode, columns.columns(mode))
                  : ModelFactory::createLiveModel(mode, columns.columns(mode));
}

const QString dashText = QStringLiteral("-");
constexpr int centred = 0x84;

} // namespace

class TestModeCells : public QObject
{
    Q_OBJECT

private slots:
    void everyColumnOfEveryMode_data();
    void everyColumnOfEveryMode();
    void nonFiniteValueShowsDashAndBecomesZero_data();
    void nonFiniteValueShowsDashAndBecomesZero();
    void compVerdicts_data();
    void compVerdicts();
    void timeCells_data();
    void timeCells();
    void mainColumnPerMode_data();
    void mainColumnPerMode();
    void classesAreKnownByName_data();
    void classesAreKnownByName();

private:
    ColumnSet m_columns;
};

void TestModeCells::everyColumnOfEveryMode_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<unsigned>("flags");
    QTest::addColumn<bool>("stored");
    QTest::addColumn<int>("column");
    QTest::addColumn<QVariant>("expected");

    const QString dateText = QLocale::system().toString(sampleTime, QLocale::LongFormat);
    for (const CellCase &cellCase : cellCases()) {
        for (const bool stored : {false, true}) {
            const QList<QVariant> common{1, stored ? dashText : dateText, DMMData::modeName(cellCase.mode)};
            for (int column = 0; column < 3 + cellCase.cells.size(); ++column) {
                QVariant expected = column < 3 ? common.at(column) : QVariant(cellCase.cells.at(column - 3));
                if (stored && cellCase.storedDashColumns.contains(column))
                    expected = dashText;
                QTest::addRow("%s %s column %d", cellCase.label, stored ? "stored" : "live", column)
                    << int(cellCase.mode) << cellCase.flags << stored << column << expected;
            }
        }
    }
}

// Every cell also keeps its centred alignment, dashes included, and answers
// no other role.
void TestModeCells::everyColumnOfEveryMode()
{
    QFETCH(int, mode);
    QFETCH(unsigned, flags);
    QFETCH(bool, stored);
    QFETCH(int, column);
    QFETCH(QVariant, expected);

    const auto model = createModel(mode, stored, m_columns);
    QVERIFY(model);
    model->addData(sampleRecord(mode, flags));
    const QModelIndex index = model->index(0, column);
    QVERIFY(index.isValid());

    const QVariant shown = model->data(index, Qt::DisplayRole);
    QCOMPARE(shown.userType(), expected.userType());
    QCOMPARE(shown, expected);
    QCOMPARE(model->data(index, Qt::TextAlignmentRole), QVariant(centred));
    QVERIFY(!model->data(index, Qt::EditRole).isValid());
    QVERIFY(!model->data(index, Qt::ToolTipRole).isValid());
}

void TestModeCells::nonFiniteValueShowsDashAndBecomesZero_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("stored");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");

    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    QTest::newRow("IR NaN") << int(DMMData::dmIR) << false << nan << QStringLiteral("- GΩ");
    QTest::newRow("IR NaN over range") << int(DMMData::dmIR) << true << nan << QStringLiteral("- GΩ");
    QTest::newRow("TIME infinite") << int(DMMData::dmTime) << false << inf << QStringLiteral("- MΩ");
    QTest::newRow("PI ratio NaN") << int(DMMData::dmPI) << false << nan << QStringLiteral("- ");
    QTest::newRow("DAR ratio -infinite") << int(DMMData::dmDAR) << true << -inf << QStringLiteral("- ");
    QTest::newRow("COMP NaN") << int(DMMData::dmCOMP) << false << nan << QStringLiteral("- MΩ");
    QTest::newRow("CAP NaN") << int(DMMData::dmCAP) << true << nan << QStringLiteral("- μF");
    QTest::newRow("VOLT NaN") << int(DMMData::dmVOLT) << false << nan << QStringLiteral("- V");
    QTest::newRow("RES NaN") << int(DMMData::dmRES) << true << nan << QStringLiteral("- Ω");
}

// The main value of a record with a non-finite value reads as a dash, and
// the record itself is left at 0 for every later reader such as the chart.
void TestModeCells::nonFiniteValueShowsDashAndBecomesZero()
{
    QFETCH(int, mode);
    QFETCH(bool, stored);
    QFETCH(double, value);
    QFETCH(QString, expected);

    const auto model = createModel(mode, stored, m_columns);
    const QSharedPointer<DMMData> record = sampleRecord(mode, NoFlags);
    mainBox(*record).value = value;
    model->addData(record);

    QCOMPARE(model->getMainValue(0), QVariant(expected));
    QCOMPARE(mainBox(*record).value, 0.0);
    QCOMPARE(mainBox(*record).text, dashText);
}

void TestModeCells::compVerdicts_data()
{
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("expected");

    QTest::newRow("0 no verdict") << 0 << QString();
    QTest::newRow("1 fail") << 1 << QStringLiteral("FAIL");
    QTest::newRow("2 pass") << 2 << QStringLiteral("PASS");
    QTest::newRow("3 unknown code fails") << 3 << QStringLiteral("FAIL");
    QTest::newRow("255 unknown code fails") << 255 << QStringLiteral("FAIL");
}

void TestModeCells::compVerdicts()
{
    QFETCH(int, result);
    QFETCH(QString, expected);

    for (const bool stored : {false, true}) {
        const auto model = createModel(DMMData::dmCOMP, stored, m_columns);
        const QSharedPointer<DMMData> record = sampleRecord(DMMData::dmCOMP, NoFlags);
        record.staticCast<DMMDataCOMP>()->result = quint8(result);
        model->addData(record);
        QCOMPARE(model->data(model->index(0, 5)).toString(), expected);
    }
}

void TestModeCells::timeCells_data()
{
    QTest::addColumn<int>("time");
    QTest::addColumn<QString>("expected");

    QTest::newRow("zero") << 0x0000 << QStringLiteral("00:00");
    QTest::newRow("1 min 5 s") << 0x0105 << QStringLiteral("01:05");
    QTest::newRow("99 min 59 s") << 0x633B << QStringLiteral("99:59");
    QTest::newRow("100 minutes") << 0x6400 << QStringLiteral("100:00");
    QTest::newRow("bytes above 59 shown as sent") << 0xFF3C << QStringLiteral("255:60");
}

// The IR test time and the TIME elapsed time carry a time through to the cell
// whatever its size.
void TestModeCells::timeCells()
{
    QFETCH(int, time);
    QFETCH(QString, expected);

    const auto irModel = createModel(DMMData::dmIR, false, m_columns);
    const QSharedPointer<DMMData> ir = sampleRecord(DMMData::dmIR, NoFlags);
    ir.staticCast<DMMDataIR>()->testTime = quint16(time);
    irModel->addData(ir);
    QCOMPARE(irModel->data(irModel->index(0, 9)).toString(), expected);

    const auto timeModel = createModel(DMMData::dmTime, true, m_columns);
    const QSharedPointer<DMMData> timed = sampleRecord(DMMData::dmTime, NoFlags);
    timed.staticCast<DMMDataTime>()->elapsedTime = quint16(time);
    timeModel->addData(timed);
    QCOMPARE(timeModel->data(timeModel->index(0, 4)).toString(), expected);
}

void TestModeCells::mainColumnPerMode_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("value");

    QTest::newRow("IR") << int(DMMData::dmIR) << QStringLiteral("RES") << QStringLiteral("12.3 GΩ");
    QTest::newRow("TIME") << int(DMMData::dmTime) << QStringLiteral("RES") << QStringLiteral("45.6 MΩ");
    QTest::newRow("PI") << int(DMMData::dmPI) << QStringLiteral("PI") << QStringLiteral("2.00 ");
    QTest::newRow("DAR") << int(DMMData::dmDAR) << QStringLiteral("DAR") << QStringLiteral("1.40 ");
    QTest::newRow("COMP is RES, not RES-COMP") << int(DMMData::dmCOMP) << QStringLiteral("RES")
                                               << QStringLiteral("250 MΩ");
    QTest::newRow("CAP") << int(DMMData::dmCAP) << QStringLiteral("CAP") << QStringLiteral("1.23 μF");
    QTest::newRow("VOLT") << int(DMMData::dmVOLT) << QStringLiteral("VOLT") << QStringLiteral("12.5 V");
    QTest::newRow("RES") << int(DMMData::dmRES) << QStringLiteral("RES") << QStringLiteral("470 Ω");
}

// Live and stored models of a mode label and trace the chart alike.
void TestModeCells::mainColumnPerMode()
{
    QFETCH(int, mode);
    QFETCH(QString, title);
    QFETCH(QString, value);

    for (const bool stored : {false, true}) {
        const auto model = createModel(mode, stored, m_columns);
        QCOMPARE(model->getMainTitle(), title);
        QVERIFY(!model->getMainValue(0).isValid());
        model->addData(sampleRecord(mode, NoFlags));
        QCOMPARE(model->getMainValue(0), QVariant(value));
        QVERIFY(!model->getMainValue(1).isValid());
        QVERIFY(!model->getMainValue(-1).isValid());
    }
}

void TestModeCells::classesAreKnownByName_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("liveClass");
    QTest::addColumn<QString>("storedClass");

    QTest::newRow("IR") << int(DMMData::dmIR) << "DataModelIR" << "DataModelStoredIR";
    QTest::newRow("TIME") << int(DMMData::dmTime) << "DataModelTime" << "DataModelStoredTime";
    QTest::newRow("PI") << int(DMMData::dmPI) << "DataModelPI" << "DataModelStoredPI";
    QTest::newRow("DAR") << int(DMMData::dmDAR) << "DataModelDAR" << "DataModelStoredDAR";
    QTest::newRow("COMP") << int(DMMData::dmCOMP) << "DataModelCOMP" << "DataModelStoredCOMP";
    QTest::newRow("CAP") << int(DMMData::dmCAP) << "DataModelCAP" << "DataModelStoredCAP";
    QTest::newRow("VOLT") << int(DMMData::dmVOLT) << "DataModelVOLT" << "DataModelStoredVOLT";
    QTest::newRow("RES") << int(DMMData::dmRES) << "DataModelRES" << "DataModelStoredRES";
}

void TestModeCells::classesAreKnownByName()
{
    QFETCH(int, mode);
    QFETCH(QString, liveClass);
    QFETCH(QString, storedClass);

    const auto live = createModel(mode, false, m_columns);
    const auto stored = createModel(mode, true, m_columns);
    QCOMPARE(QString::fromLatin1(live->metaObject()->className()), liveClass);
    QCOMPARE(QString::fromLatin1(stored->metaObject()->className()), storedClass);

    QVERIFY(stored->inherits(qPrintable(storedClass)));
    QVERIFY(stored->inherits(qPrintable(liveClass)));
    QVERIFY(stored->inherits("DataModel"));
    QVERIFY(qobject_cast<DataModel *>(stored.get()));
    QVERIFY(!live->inherits(qPrintable(storedClass)));
}

QTEST_MAIN(TestModeCells)
#include "tst_modecells.moc"
