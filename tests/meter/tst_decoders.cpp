// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "meter/mydmm.h"
#include "support/goldenframe.h"
#include "support/meterinput.h"
#include "support/recorddescription.h"

#include <QDateTime>
#include <QSignalSpy>
#include <QTest>

// Golden frames are written byte by byte at the offsets of each layout and
// checked field by field against the record they must give.

namespace {
using Record = QSharedPointer<DMMData>;

constexpr quint8 live = MyDMM::liveFrameType;
constexpr quint8 stored = MyDMM::storedFrameType;
// The shortest frame of each mode: its layout plus the checksum.
constexpr int liveSize[DMMData::modeCount] = {37, 30, 42, 42, 32, 18, 15, 18};
constexpr int storedSize[DMMData::modeCount] = {34, 25, 39, 39, 29, 17, 13, 15};

QString omegaUnit(char prefix)
{
    const QChar omega(0x03A9);
    return prefix ? QString(QLatin1Char(prefix)) + omega : QString(omega);
}
const QString nA = QStringLiteral("nA");
const QString uA = QStringLiteral("uA");
const QString mA = QStringLiteral("mA");
const QString volt = QStringLiteral("V");
const QString mOhm = omegaUnit('M');
const QString gOhm = omegaUnit('G');
const QString tOhm = omegaUnit('T');
const QString ohm = omegaUnit(0);
const QString microfarad = QString(QChar(0x03BC)) + QLatin1Char('F');

ValueBox box(const QString &text, double value, const QString &unit = QString())
{
    return ValueBox{text, value, unit};
}

ValueBoxInt intBox(const QString &text, int value, const QString &unit)
{
    return ValueBoxInt{text, value, unit};
}

GoldenFrame liveFrame(DMMData::DataMode mode)
{
    return GoldenFrame(live, quint8(mode), liveSize[mode]);
}

GoldenFrame storedFrame(DMMData::DataMode mode)
{
    return GoldenFrame(stored, quint8(mode), storedSize[mode]);
}

// Offsets 6-19 all zero.
void zeroInsulation(DMMDataIR &record)
{
    record.leakageCurrent = box(QStringLiteral("  0"), 0, nA);
    record.setVoltage = intBox(QStringLiteral("0"), 0, volt);
    record.outputVoltage = intBox(QStringLiteral("0"), 0, volt);
    record.resistance = box(QStringLiteral("  0"), 0, mOhm);
}

// What a frame of `mode` whose payload is all zero decodes to.
template <typename R>
QSharedPointer<R> zeroRecord(bool isLive)
{
    const auto record = QSharedPointer<R>::create();
    if constexpr (std::is_base_of_v<DMMDataIR, R>) {
        zeroInsulation(*record);
        if constexpr (std::is_same_v<R, DMMDataIR>) {
            record->dar = box(QStringLiteral("  0"), 0);
            record->pi = box(QStringLiteral("  0"), 0);
        }
        if constexpr (std::is_base_of_v<DMMDataPIDAR, R>)
            record->resistance2 = box(QStringLiteral("  0"), 0, mOhm);
        if constexpr (std::is_same_v<R, DMMDataPI>)
            record->piRatio = box(QStringLiteral("  0"), 0);
        if constexpr (std::is_same_v<R, DMMDataDAR>)
            record->darRatio = box(QStringLiteral("  0"), 0);
        if constexpr (std::is_same_v<R, DMMDataCOMP>)
            record->compareLimit = intBox(QStringLiteral("0"), 0, mOhm);
    }
    if constexpr (std::is_same_v<R, DMMDataCAP>) {
        record->capacitance = box(QStringLiteral("  0"), 0, microfarad);
        record->setVoltage = intBox(QStringLiteral("0"), 0, volt);
    }
    if constexpr (std::is_same_v<R, DMMDataVOLT>) {
        record->voltage = box(QStringLiteral("0"), 0, volt);
        record->acdc = QStringLiteral("AC");
        record->testing = isLive;
    }
    if constexpr (std::is_same_v<R, DMMDataRES>) {
        record->resistance = box(QStringLiteral("  0"), 0, ohm);
        record->testing = isLive; // a live 0 means testing, a stored 0 does not
    }
    return record;
}

void addRow(const char *name, const GoldenFrame &frame, const Record &expected)
{
    QTest::newRow(name) << frame.bytes() << expected;
}

void addLiveIRRows()
{
    auto every = zeroRecord<DMMDataIR>(true);
    every->leakageCurrent = box(QStringLiteral("1.50"), 1.5, uA);
    every->setVoltage = intBox(QStringLiteral("500"), 500, volt);
    every->outputVoltage = intBox(QStringLiteral("510"), 510, volt);
    every->resistance = box(QStringLiteral("12.3"), 12.3, gOhm);
    every->auxValue = -100;
    every->testing = true;
    every->resistanceOverRange = true;
    every->dar = box(QStringLiteral("1.25"), 1.25);
    every->pi = box(QStringLiteral("2.50"), 2.5);
    every->stateFlag2 = true;
    every->testTime = 0x021E;
    addRow("live IR every field",
           liveFrame(DMMData::dmIR)
               .set(6, {0x3F, 0xC0, 0x00, 0x00, 1, 0x01, 0xF4, 0x01, 0xFE}) // 1.5 uA, 500 V, 510 V
               .set(15, {0x41, 0x45, 0x99, 0x9A, 1, 0xFF, 0x9C, 1, 1})      // 12.35 GΩ, -100
               .set(24, {0x3F, 0xA0, 0x00, 0x00, 0x40, 0x20, 0x00, 0x00})   // 1.25, 2.5
               .set(32, {2, 0x02, 0x1E}),
           every);

    auto minusOne = zeroRecord<DMMDataIR>(true);
    minusOne->setVoltage = intBox(QStringLiteral("-1"), -1, volt);
    addRow("live IR set voltage -1", liveFrame(DMMData::dmIR).set(11, {0xFF, 0xFF}), minusOne);

    auto stateOne = zeroRecord<DMMDataIR>(true);
    stateOne->stateFlag1 = true;
    addRow("live IR state 1", liveFrame(DMMData::dmIR).set(32, {1}), stateOne);

    // Unknown unit codes give empty units; a testing byte counts when not 0,
    // the over-range byte only when 1, the state byte only for 1 and 2.
    auto outside = zeroRecord<DMMDataIR>(true);
    outside->leakageCurrent.unit.clear();
    outside->resistance.unit.clear();
    outside->testing = true;
    addRow("live IR bytes outside their tables",
           liveFrame(DMMData::dmIR).set(10, {3}).set(19, {255}).set(22, {2, 2}).set(32, {3}), outside);
}

void addLiveTimeRows()
{
    auto every = zeroRecord<DMMDataTime>(true);
    every->leakageCurrent = box(QStringLiteral("0.75"), 0.75, mA);
    every->setVoltage = intBox(QStringLiteral("250"), 250, volt);
    every->outputVoltage = intBox(QStringLiteral("256"), 256, volt);
    every->resistance = box(QStringLiteral("1000"), 1000, tOhm);
    every->elapsedTime = 0x0105;
    every->auxValue = 7;
    every->testing = true;
    every->resistanceOverRange = true;
    every->setTime = 0x0A00;
    addRow("live TIME every field",
           liveFrame(DMMData::dmTime)
               .set(6, {0x3F, 0x40, 0x00, 0x00, 2, 0x00, 0xFA, 0x01, 0x00}) // 0.75 mA, 250 V, 256 V
               .set(15, {0x44, 0x7A, 0x00, 0x00, 2})                        // 1000 TΩ
               .set(20, {0x01, 0x05, 0x00, 0x07, 1, 1, 0x0A, 0x00}),
           every);
}

void addLiveRatioRows()
{
    auto pi = zeroRecord<DMMDataPI>(true);
    pi->leakageCurrent = box(QStringLiteral("45.5"), 45.5, nA);
    pi->setVoltage = intBox(QStringLiteral("5000"), 5000, volt);
    pi->outputVoltage = intBox(QStringLiteral("4990"), 4990, volt);
    pi->resistance = box(QStringLiteral("1.50"), 1.5, gOhm);
    pi->resistance2 = box(QStringLiteral("3.50"), 3.5, tOhm);
    pi->piRatio = box(QStringLiteral("2.50"), 2.5);
    pi->elapsedTime = 0x0A00;
    pi->auxValue = -2;
    pi->testing = true;
    pi->resistanceOverRange = true;
    pi->setTime = 0x0100;
    pi->setTime2 = 0x0A00;
    addRow("live PI every field",
           liveFrame(DMMData::dmPI)
               .set(6, {0x42, 0x36, 0x00, 0x00, 0, 0x13, 0x88, 0x13, 0x7E}) // 45.5 nA, 5000 V, 4990 V
               .set(15, {0x3F, 0xC0, 0x00, 0x00, 1})                        // 1.5 GΩ
               .set(20, {0x40, 0x60, 0x00, 0x00, 2, 0x40, 0x20, 0x00, 0x00}) // 3.5 TΩ, 2.5
               .set(29, {0x0A, 0x00, 0xFF, 0xFE, 1, 1, 0x01, 0x00, 0x0A, 0x00, 0}),
           pi);

    auto dar = zeroRecord<DMMDataDAR>(true);
    dar->leakageCurrent = box(QStringLiteral("1.75"), 1.75, uA);
    dar->setVoltage = intBox(QStringLiteral("1000"), 1000, volt);
    dar->outputVoltage = intBox(QStringLiteral("1001"), 1001, volt);
    dar->resistance = box(QStringLiteral("15.2"), 15.2, mOhm);
    dar->resistance2 = box(QStringLiteral("45.5"), 45.5, gOhm);
    dar->darRatio = box(QStringLiteral("1.25"), 1.25);
    dar->elapsedTime = 0x0100;
    dar->auxValue = 256;
    dar->setTime = 0x001E;
    dar->setTime2 = 0x0100;
    dar->resistance2OverRange = true;
    addRow("live DAR every field",
           liveFrame(DMMData::dmDAR)
               .set(6, {0x3F, 0xE0, 0x00, 0x00, 1, 0x03, 0xE8, 0x03, 0xE9}) // 1.75 uA, 1000 V, 1001 V
               .set(15, {0x41, 0x74, 0x00, 0x00, 0})                        // 15.25 MΩ
               .set(20, {0x42, 0x36, 0x00, 0x00, 1, 0x3F, 0xA0, 0x00, 0x00}) // 45.5 GΩ, 1.25
               .set(29, {0x01, 0x00, 0x01, 0x00, 0, 0, 0x00, 0x1E, 0x01, 0x00, 1}),
           dar);
}

void addLiveCOMPRows()
{
    auto every = zeroRecord<DMMDataCOMP>(true);
    every->leakageCurrent = box(QStringLiteral("5.50"), 5.5, uA);
    every->setVoltage = intBox(QStringLiteral("500"), 500, volt);
    every->outputVoltage = intBox(QStringLiteral("505"), 505, volt);
    every->compareLimit = intBox(QStringLiteral("500"), 500, mOhm);
    every->resistance = box(QStringLiteral("12.3"), 12.3, gOhm);
    every->result = 2;
    every->auxValue = 1;
    every->testing = true;
    every->resistanceOverRange = true;
    addRow("live COMP every field",
           liveFrame(DMMData::dmCOMP)
               .set(6, {0x40, 0xB0, 0x00, 0x00, 1, 0x01, 0xF4, 0x01, 0xF9}) // 5.5 uA, 500 V, 505 V
               .set(15, {0x00, 0x00, 0x01, 0xF4, 0})                        // limit 500 MΩ
               .set(20, {0x41, 0x45, 0x99, 0x9A, 1, 2, 0x00, 0x01, 1, 1}),  // 12.35 GΩ
           every);

    auto fail = zeroRecord<DMMDataCOMP>(true);
    fail->compareLimit = intBox(QStringLiteral("-2"), -2, QString());
    fail->result = 7;
    addRow("live COMP other verdict, negative limit",
           liveFrame(DMMData::dmCOMP).set(15, {0xFF, 0xFF, 0xFF, 0xFE, 9}).set(25, {7}), fail);
}

void addLiveCAPRows()
{
    auto over = zeroRecord<DMMDataCAP>(true);
    over->capacitance = box(QStringLiteral("1.50"), 1.5, microfarad);
    over->setVoltage = intBox(QStringLiteral("1000"), 1000, volt);
    over->auxValue = 258;
    over->testing = true;
    over->overRange = true;
    addRow("live CAP every field, over range keeps the number",
           liveFrame(DMMData::dmCAP).set(6, {0x3F, 0xC0, 0x00, 0x00, 0x03, 0xE8, 0x01, 0x02, 1, 2}), over);

    auto under = zeroRecord<DMMDataCAP>(true);
    under->capacitance = box(QStringLiteral("LO"), 1.5, microfarad);
    under->underRange = true;
    addRow("live CAP under range", liveFrame(DMMData::dmCAP).set(6, {0x3F, 0xC0, 0x00, 0x00}).set(15, {1}), under);
}

void addLiveVOLTRows()
{
    auto ac = zeroRecord<DMMDataVOLT>(true);
    ac->voltage = box(QStringLiteral("230"), 230, volt);
    ac->auxValue = 3;
    addRow("live VOLT AC", liveFrame(DMMData::dmVOLT).set(6, {0x00, 0xE6, 0, 0, 0x00, 0x03}), ac);

    auto dc = zeroRecord<DMMDataVOLT>(true);
    dc->voltage = box(QStringLiteral("-230"), -230, volt);
    dc->acdc = QStringLiteral("DC");
    dc->negative = 1;
    addRow("live VOLT DC negative", liveFrame(DMMData::dmVOLT).set(6, {0x00, 0xE6, 1, 1}), dc);

    auto sign = zeroRecord<DMMDataVOLT>(true);
    sign->voltage = box(QStringLiteral("230"), 230, volt);
    sign->negative = 1;
    addRow("live VOLT AC ignores the sign byte", liveFrame(DMMData::dmVOLT).set(6, {0x00, 0xE6, 0, 1}), sign);

    auto overload = zeroRecord<DMMDataVOLT>(true);
    overload->voltage = box(QStringLiteral("OL"), -230, volt);
    overload->acdc = QStringLiteral("DC");
    overload->negative = 4;
    overload->overload = true;
    addRow("live VOLT overload keeps the value",
           liveFrame(DMMData::dmVOLT).set(6, {0x00, 0xE6, 5, 4}).set(12, {2}), overload);

    auto under = zeroRecord<DMMDataVOLT>(true);
    under->voltage = box(QStringLiteral("LO"), 12, volt);
    under->underRange = true;
    addRow("live VOLT under range", liveFrame(DMMData::dmVOLT).set(6, {0x00, 0x0C}).set(12, {1}), under);
}

void addLiveRESRows()
{
    auto every = zeroRecord<DMMDataRES>(true);
    every->resistance = box(QStringLiteral("1000"), 1000, ohm);
    every->overRange = true;
    every->auxValue = -1;
    addRow("live RES every field",
           liveFrame(DMMData::dmRES).set(6, {0x44, 0x7A, 0x00, 0x00, 1, 0, 0, 0x55, 0xFF, 0xFF}), every);

    const struct
    {
        const char *name;
        int state;
        const char *text;
    } states[] = {{"live RES state 1", 1, "----"},
                  {"live RES state 2", 2, "OL"},
                  {"live RES state 3", 3, "LO"},
                  {"live RES state 4", 4, "1000"}};
    for (const auto &state : states) {
        auto record = zeroRecord<DMMDataRES>(true);
        record->resistance = box(QLatin1String(state.text), 1000, ohm);
        record->testing = false;
        addRow(state.name, liveFrame(DMMData::dmRES).set(6, {0x44, 0x7A, 0x00, 0x00, 0, 1, state.state}), record);
    }
}

void addStoredInsulationRows()
{
    auto ir = zeroRecord<DMMDataIR>(false);
    ir->leakageCurrent = box(QStringLiteral("2.50"), 2.5, uA);
    ir->setVoltage = intBox(QStringLiteral("2500"), 2500, volt);
    ir->outputVoltage = intBox(QStringLiteral("2510"), 2510, volt);
    ir->resistance = box(QStringLiteral("99.9"), 99.9, tOhm);
    ir->resistanceOverRange = true;
    ir->dar = box(QStringLiteral("1.25"), 1.25);
    ir->pi = box(QStringLiteral("3.50"), 3.5);
    ir->stateFlag1 = true;
    ir->testTime = 0x0130;
    addRow("stored IR every field",
           storedFrame(DMMData::dmIR)
               .set(6, {0x40, 0x20, 0x00, 0x00, 1, 0x09, 0xC4, 0x09, 0xCE}) // 2.5 uA, 2500 V, 2510 V
               .set(15, {0x42, 0xC7, 0xFA, 0xE1, 2, 1})                     // 99.99 TΩ
               .set(21, {0x3F, 0xA0, 0x00, 0x00, 0x40, 0x60, 0x00, 0x00})   // 1.25, 3.5
               .set(29, {1, 0x01, 0x30}),
           ir);

    auto time = zeroRecord<DMMDataTime>(false);
    time->leakageCurrent = box(QStringLiteral("0.75"), 0.75, nA);
    time->setVoltage = intBox(QStringLiteral("1000"), 1000, volt);
    time->outputVoltage = intBox(QStringLiteral("998"), 998, volt);
    time->resistance = box(QStringLiteral("45.5"), 45.5, gOhm);
    time->elapsedTime = 0x021E;
    time->resistanceOverRange = true;
    addRow("stored TIME every field, no set time",
           storedFrame(DMMData::dmTime)
               .set(6, {0x3F, 0x40, 0x00, 0x00, 0, 0x03, 0xE8, 0x03, 0xE6}) // 0.75 nA, 1000 V, 998 V
               .set(15, {0x42, 0x36, 0x00, 0x00, 1, 0x02, 0x1E, 1}),        // 45.5 GΩ
           time);
}

void addStoredRatioRows()
{
    auto pi = zeroRecord<DMMDataPI>(false);
    pi->leakageCurrent = box(QStringLiteral("1.50"), 1.5, mA);
    pi->setVoltage = intBox(QStringLiteral("250"), 250, volt);
    pi->outputVoltage = intBox(QStringLiteral("251"), 251, volt);
    pi->resistance = box(QStringLiteral("0.50"), 0.5, tOhm);
    pi->resistance2 = box(QStringLiteral("1.75"), 1.75, gOhm);
    pi->piRatio = box(QStringLiteral("3.50"), 3.5);
    pi->elapsedTime = 0x0A00;
    pi->resistanceOverRange = true;
    pi->setTime = 0x0100;
    pi->setTime2 = 0x0A00;
    addRow("stored PI every field",
           storedFrame(DMMData::dmPI)
               .set(6, {0x3F, 0xC0, 0x00, 0x00, 2, 0x00, 0xFA, 0x00, 0xFB}) // 1.5 mA, 250 V, 251 V
               .set(15, {0x3F, 0x00, 0x00, 0x00, 2})                        // 0.5 TΩ
               .set(20, {0x3F, 0xE0, 0x00, 0x00, 1, 0x40, 0x60, 0x00, 0x00}) // 1.75 GΩ, 3.5
               .set(29, {0x0A, 0x00, 1, 0x01, 0x00, 0x0A, 0x00, 0}),
           pi);

    auto dar = zeroRecord<DMMDataDAR>(false);
    dar->leakageCurrent = box(QStringLiteral("45.5"), 45.5, uA);
    dar->setVoltage = intBox(QStringLiteral("500"), 500, volt);
    dar->outputVoltage = intBox(QStringLiteral("499"), 499, volt);
    dar->resistance = box(QStringLiteral("2.50"), 2.5, gOhm);
    dar->resistance2 = box(QStringLiteral("3.00"), 3, gOhm);
    dar->darRatio = box(QStringLiteral("1.25"), 1.25);
    dar->elapsedTime = 0x0100;
    dar->setTime = 0x001E;
    dar->setTime2 = 0x0100;
    dar->resistance2OverRange = true;
    addRow("stored DAR every field",
           storedFrame(DMMData::dmDAR)
               .set(6, {0x42, 0x36, 0x00, 0x00, 1, 0x01, 0xF4, 0x01, 0xF3}) // 45.5 uA, 500 V, 499 V
               .set(15, {0x40, 0x20, 0x00, 0x00, 1})                        // 2.5 GΩ
               .set(20, {0x40, 0x40, 0x00, 0x00, 1, 0x3F, 0xA0, 0x00, 0x00}) // 3 GΩ, 1.25
               .set(29, {0x01, 0x00, 0, 0x00, 0x1E, 0x01, 0x00, 1}),
           dar);
}

void addStoredOtherRows()
{
    auto comp = zeroRecord<DMMDataCOMP>(false);
    comp->leakageCurrent = box(QStringLiteral("0.75"), 0.75, uA);
    comp->setVoltage = intBox(QStringLiteral("1000"), 1000, volt);
    comp->outputVoltage = intBox(QStringLiteral("1002"), 1002, volt);
    comp->compareLimit = intBox(QStringLiteral("100000"), 100000, gOhm);
    comp->resistance = box(QStringLiteral("15.2"), 15.2, tOhm);
    comp->result = 1;
    comp->resistanceOverRange = true;
    addRow("stored COMP every field",
           storedFrame(DMMData::dmCOMP)
               .set(6, {0x3F, 0x40, 0x00, 0x00, 1, 0x03, 0xE8, 0x03, 0xEA}) // 0.75 uA, 1000 V, 1002 V
               .set(15, {0x00, 0x01, 0x86, 0xA0, 1})                        // limit 100000 GΩ
               .set(20, {0x41, 0x74, 0x00, 0x00, 2, 1, 1}),                 // 15.25 TΩ
           comp);

    auto cap = zeroRecord<DMMDataCAP>(false);
    cap->setVoltage = intBox(QStringLiteral("500"), 500, volt);
    cap->capacitance = box(QStringLiteral("1.50"), 1.5, microfarad);
    cap->overRange = true;
    addRow("stored CAP every field, bytes 8-9 unread",
           storedFrame(DMMData::dmCAP).set(6, {0x01, 0xF4, 0xAA, 0xBB, 0x3F, 0xC0, 0x00, 0x00, 2}), cap);

    auto capLow = zeroRecord<DMMDataCAP>(false);
    capLow->capacitance = box(QStringLiteral("LO"), 0, microfarad);
    capLow->underRange = true;
    addRow("stored CAP under range", storedFrame(DMMData::dmCAP).set(14, {1}), capLow);

    auto volt230 = zeroRecord<DMMDataVOLT>(false);
    volt230->voltage = box(QStringLiteral("-230"), -230, volt);
    volt230->acdc = QStringLiteral("DC");
    volt230->negative = 1;
    addRow("stored VOLT DC negative", storedFrame(DMMData::dmVOLT).set(6, {0x00, 0xE6, 1, 1, 0}), volt230);

    auto voltLow = zeroRecord<DMMDataVOLT>(false);
    voltLow->voltage = box(QStringLiteral("LO"), 230, volt);
    voltLow->underRange = true;
    addRow("stored VOLT under range", storedFrame(DMMData::dmVOLT).set(6, {0x00, 0xE6, 0, 0, 1}), voltLow);

    auto voltHigh = zeroRecord<DMMDataVOLT>(false);
    voltHigh->voltage = box(QStringLiteral("OL"), 230, volt);
    voltHigh->overload = true;
    addRow("stored VOLT overload", storedFrame(DMMData::dmVOLT).set(6, {0x00, 0xE6, 0, 0, 2}), voltHigh);

    auto res = zeroRecord<DMMDataRES>(false);
    res->resistance = box(QStringLiteral("OL"), 0.5, ohm);
    res->overRange = true;
    res->testing = true;
    addRow("stored RES every field", storedFrame(DMMData::dmRES).set(6, {0x3F, 0x00, 0x00, 0x00, 1, 1, 2}), res);

    auto resIdle = zeroRecord<DMMDataRES>(false);
    resIdle->resistance = box(QStringLiteral("LO"), 0.5, ohm);
    addRow("stored RES not testing", storedFrame(DMMData::dmRES).set(6, {0x3F, 0x00, 0x00, 0x00, 0, 0, 3}), resIdle);
}

void addLayoutColumns()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<Record>("expected");
}

void checkDecodedRecord(const QSignalSpy &spy, const Record &expected)
{
    QCOMPARE(spy.count(), 1);
    const Record actual = caughtRecords(spy).first();
    QVERIFY(actual);
    QCOMPARE(RecordDescription::describe(*actual), RecordDescription::describe(*expected));
}

QByteArray longFrame(quint8 type, int mode)
{
    return GoldenFrame(type, quint8(mode), 64).bytes();
}
} // namespace

class TestDecoders : public QObject
{
    Q_OBJECT

private slots:
    void liveLayouts_data();
    void liveLayouts();
    void storedLayouts_data();
    void storedLayouts();
    void shortFramesGiveNoRecord_data();
    void shortFramesGiveNoRecord();
    void unknownModesGiveNoRecord_data();
    void unknownModesGiveNoRecord();
    void recordsCarryTheirDecodingTime_data();
    void recordsCarryTheirDecodingTime();
    void storedFramesDecodeOneByOne();
};

void TestDecoders::liveLayouts_data()
{
    addLayoutColumns();
    addLiveIRRows();
    addLiveTimeRows();
    addLiveRatioRows();
    addLiveCOMPRows();
    addLiveCAPRows();
    addLiveVOLTRows();
    addLiveRESRows();
}

void TestDecoders::liveLayouts()
{
    QFETCH(QByteArray, frame);
    QFETCH(Record, expected);
    MyDMM meter;
    QSignalSpy liveSpy(&meter, &MyDMM::updateLiveData);
    QSignalSpy storedSpy(&meter, &MyDMM::updateStoreData);

    feedMeter(meter, frame);

    checkDecodedRecord(liveSpy, expected);
    QCOMPARE(storedSpy.count(), 0);
}

void TestDecoders::storedLayouts_data()
{
    addLayoutColumns();
    addStoredInsulationRows();
    addStoredRatioRows();
    addStoredOtherRows();
}

void TestDecoders::storedLayouts()
{
    QFETCH(QByteArray, frame);
    QFETCH(Record, expected);
    MyDMM meter;
    QSignalSpy liveSpy(&meter, &MyDMM::updateLiveData);
    QSignalSpy storedSpy(&meter, &MyDMM::updateStoreData);

    feedMeter(meter, frame);

    checkDecodedRecord(storedSpy, expected);
    QCOMPARE(liveSpy.count(), 0);
}

void TestDecoders::shortFramesGiveNoRecord_data()
{
    QTest::addColumn<QByteArray>("frame");
    for (int mode = 0; mode < DMMData::modeCount; ++mode) {
        const QString name = DMMData::modeName(mode);
        QTest::addRow("live %s, %d bytes", qPrintable(name), liveSize[mode] - 1)
            << GoldenFrame(live, quint8(mode), liveSize[mode] - 1).bytes();
        QTest::addRow("stored %s, %d bytes", qPrintable(name), storedSize[mode] - 1)
            << GoldenFrame(stored, quint8(mode), storedSize[mode] - 1).bytes();
    }
    // Too short to hold even the mode byte.
    QTest::newRow("live, type byte only") << QByteArray::fromHex("abcd0003020002");
    QTest::newRow("stored, type byte only") << QByteArray::fromHex("abcd0003030003");
}

void TestDecoders::shortFramesGiveNoRecord()
{
    QFETCH(QByteArray, frame);
    MyDMM meter;
    QSignalSpy liveSpy(&meter, &MyDMM::updateLiveData);
    QSignalSpy storedSpy(&meter, &MyDMM::updateStoreData);

    feedMeter(meter, frame);

    QCOMPARE(liveSpy.count(), 0);
    QCOMPARE(storedSpy.count(), 0);
    QCOMPARE(meter.bufferedByteCount(), 0);
}

void TestDecoders::unknownModesGiveNoRecord_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::newRow("live mode 8") << longFrame(live, 8);
    QTest::newRow("live mode 255") << longFrame(live, 255);
    QTest::newRow("stored mode 8") << longFrame(stored, 8);
    QTest::newRow("stored mode 255") << longFrame(stored, 255);
}

void TestDecoders::unknownModesGiveNoRecord()
{
    QFETCH(QByteArray, frame);
    MyDMM meter;
    QSignalSpy liveSpy(&meter, &MyDMM::updateLiveData);
    QSignalSpy storedSpy(&meter, &MyDMM::updateStoreData);

    feedMeter(meter, frame);

    QCOMPARE(liveSpy.count(), 0);
    QCOMPARE(storedSpy.count(), 0);
}

void TestDecoders::recordsCarryTheirDecodingTime_data()
{
    QTest::addColumn<quint8>("type");
    QTest::newRow("live") << live;
    QTest::newRow("stored") << stored;
}

void TestDecoders::recordsCarryTheirDecodingTime()
{
    QFETCH(quint8, type);
    MyDMM meter;
    QSignalSpy spy(&meter, type == live ? &MyDMM::updateLiveData : &MyDMM::updateStoreData);

    const QDateTime before = QDateTime::currentDateTime();
    feedMeter(meter, longFrame(type, DMMData::dmIR));
    const QDateTime after = QDateTime::currentDateTime();

    QCOMPARE(spy.count(), 1);
    const QDateTime stamp = caughtRecords(spy).first()->dateTime;
    QVERIFY(stamp.isValid());
    QCOMPARE(stamp.timeSpec(), Qt::LocalTime);
    QVERIFY(before <= stamp && stamp <= after);
}

void TestDecoders::storedFramesDecodeOneByOne()
{
    MyDMM meter;
    QSignalSpy spy(&meter, &MyDMM::updateStoreData);

    feedMeter(meter, longFrame(stored, DMMData::dmDAR) + longFrame(stored, DMMData::dmRES));

    const QList<Record> records = caughtRecords(spy);
    QCOMPARE(records.size(), 2);
    QCOMPARE(RecordDescription::className(*records.at(0)), QStringLiteral("DMMDataDAR"));
    QCOMPARE(records.at(0)->mode, DMMData::dmDAR);
    QCOMPARE(RecordDescription::className(*records.at(1)), QStringLiteral("DMMDataRES"));
    QCOMPARE(records.at(1)->mode, DMMData::dmRES);
}

QTEST_MAIN(TestDecoders)
#include "tst_decoders.moc"
