// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "meter/framedecoder.h"

#include "meter/framereader.h"
#include "meter/numbertext.h"
#include "meter/unittable.h"

#include <QDateTime>

#include <charconv>
#include <cmath>
#include <iterator>
#include <system_error>

// Offsets count from the first header byte. Every frame carries its mode
// (DMMData::DataMode, 0..7) at offset 5; the checksum follows the last field.
//
// Encodings: float = IEEE 754 single, big-endian, put through the number text
// rule; int16 / int32 = signed, big-endian; time = minutes byte, seconds byte;
// cur = current unit code; res = resistance unit code; flag / state = one byte
// tested as noted; byte = copied as it is.
//
// Live frames (type 0x02)
//
//   IR (0), ends at 34         TIME (1), ends at 27       PI (2) / DAR (3), ends at 39
//   6-9   float leakage        6-19  as IR                6-19  as IR (resistance = RES1)
//   10    cur   leakage unit   20-21 time  elapsedTime    20-23 float resistance2
//   11-12 int16 setVoltage     22-23 int16 auxValue       24    res   resistance2 unit
//   13-14 int16 outputVoltage  24    flag  testing != 0   25-28 float piRatio / darRatio
//   15-18 float resistance     25    flag  overRange == 1 29-30 time  elapsedTime
//   19    res   resist. unit   26-27 time  setTime        31-32 int16 auxValue
//   20-21 int16 auxValue                                  33    flag  testing != 0
//   22    flag  testing != 0                              34    flag  overRange == 1
//   23    flag  overRange == 1                            35-36 time  setTime
//   24-27 float dar                                       37-38 time  setTime2
//   28-31 float pi                                        39    flag  resistance2OverRange == 1
//   32    state 1 stateFlag1, 2 stateFlag2
//   33-34 time  testTime
//
//   COMP (4), ends at 29       CAP (5), ends at 15        VOLT (6), ends at 12
//   6-14  as IR                6-9   float capacitance μF 6-7   int16 voltage V (plain integer text)
//   15-18 int32 compareLimit   10-11 int16 setVoltage     8     flag  acdc: 0 "AC", else "DC"
//   19    res   limit unit     12-13 int16 auxValue       9     byte  negative
//   20-23 float resistance     14    flag  testing != 0   10-11 int16 auxValue
//   24    res   resist. unit   15    state 2 overRange,   12    state 1 "LO", 2 "OL"
//   25    byte  result               1 underRange "LO"    testing is always true
//   26-27 int16 auxValue
//   28    flag  testing != 0   RES (7), ends at 15
//   29    flag  overRange == 1 6-9   float resistance Ω
//                              10    flag  overRange == 1
//                              11    flag  testing == 0
//                              12    state 1 "----", 2 "OL", 3 "LO"
//                              13    not read
//                              14-15 int16 auxValue
//
// Stored frames (type 0x03): no auxValue, and no testing byte except in RES
//
//   IR (0), ends at 31         TIME (1), ends at 22       PI (2) / DAR (3), ends at 36
//   6-19  as live IR           6-19  as IR                6-19  as IR (resistance = RES1)
//   20    flag  overRange == 1 20-21 time  elapsedTime    20-23 float resistance2
//   21-24 float dar            22    flag  overRange == 1 24    res   resistance2 unit
//   25-28 float pi             (no setTime)               25-28 float piRatio / darRatio
//   29    state 1 stateFlag1,                             29-30 time  elapsedTime
//               2 stateFlag2                              31    flag  overRange == 1
//   30-31 time  testTime                                  32-33 time  setTime
//                                                         34-35 time  setTime2
//   COMP (4), ends at 26       CAP (5), ends at 14        36    flag  resistance2OverRange == 1
//   6-24  as live COMP         6-7   int16 setVoltage
//   25    byte  result         8-9   not read             VOLT (6), ends at 10
//   26    flag  overRange == 1 10-13 float capacitance μF 6-9   as live VOLT
//                              14    state as live CAP    10    state as live VOLT
//   RES (7), ends at 12
//   6-9   float resistance Ω   10 flag overRange == 1     11 flag testing == 1
//   12    state as live RES
//
// A frame too short for its mode's layout is dropped without a record.

namespace {
constexpr int modeOffset = 5;

using Decoder = QSharedPointer<DMMData> (*)(const FrameReader &);

struct Layout
{
    int lastOffset;
    Decoder decode;
};

// Stamped by decode(), with the moment of decoding or a time kept with the frame.
template <typename Record>
QSharedPointer<Record> newRecord()
{
    return QSharedPointer<Record>::create();
}

// The meter's floats carry decimal readings. Widened through their shortest
// decimal form, 4.7 stays 4.7 instead of becoming 4.6999998 and showing 4.69.
double widenReading(float reading)
{
    double widened = reading;
    if (!std::isfinite(reading))
        return widened;
    char text[32];
    const std::to_chars_result written = std::to_chars(std::begin(text), std::end(text), reading);
    if (written.ec == std::errc())
        std::from_chars(std::begin(text), written.ptr, widened);
    return widened;
}

void setNumber(ValueBox &box, float reading, const QString &unit)
{
    const double number = widenReading(reading);
    int fieldWidth = 0;
    int precision = 0;
    NumberText::fieldFor(number, fieldWidth, precision);
    box.value = NumberText::cut(number, precision);
    // Same text as ValueBox::toString() gives a value it cannot show.
    box.text = std::isfinite(box.value) ? QStringLiteral("%1").arg(box.value, fieldWidth, 'f', precision, QLatin1Char(' '))
                                        : QStringLiteral("-");
    box.unit = unit;
}

void setInteger(ValueBoxInt &box, int number, const QString &unit)
{
    box.value = number;
    box.text = QString::number(number);
    box.unit = unit;
}

// Offsets 6-14: leakage current and both voltages.
void readCurrentAndVoltages(const FrameReader &in, DMMDataIR &record)
{
    setNumber(record.leakageCurrent, in.readFloat(6), UnitTable::currentUnit(in.readByte(10)));
    setInteger(record.setVoltage, in.readInt16(11), UnitTable::volt());
    setInteger(record.outputVoltage, in.readInt16(13), UnitTable::volt());
}

// Offsets 6-19: the above and the insulation resistance.
void readInsulation(const FrameReader &in, DMMDataIR &record)
{
    readCurrentAndVoltages(in, record);
    setNumber(record.resistance, in.readFloat(15), UnitTable::resistanceUnit(in.readByte(19)));
}

void applyIRState(DMMDataIR &record, quint8 state)
{
    record.stateFlag1 = state == 1;
    record.stateFlag2 = state == 2;
}

void applyCAPState(DMMDataCAP &record, quint8 state)
{
    record.overRange = state == 2;
    record.underRange = state == 1;
    if (record.underRange)
        record.capacitance.text = QStringLiteral("LO");
}

// Reads the voltage magnitude and its AC/DC and sign bytes at 6-9.
void readVoltage(const FrameReader &in, DMMDataVOLT &record)
{
    const int voltage = in.readInt16(6);
    record.voltage.value = voltage;
    record.voltage.text = QString::number(voltage);
    record.voltage.unit = UnitTable::volt();
    record.acdc = in.readByte(8) == 0 ? QStringLiteral("AC") : QStringLiteral("DC");
    record.negative = in.readByte(9);
    if (record.acdc == QLatin1String("DC") && record.negative != 0) {
        record.voltage.value = -record.voltage.value;
        record.voltage.text.prepend(QLatin1Char('-'));
    }
}

void applyVOLTState(DMMDataVOLT &record, quint8 state)
{
    record.underRange = state == 1;
    record.overload = state == 2;
    if (record.underRange)
        record.voltage.text = QStringLiteral("LO");
    else if (record.overload)
        record.voltage.text = QStringLiteral("OL");
}

void applyRESState(DMMDataRES &record, quint8 state)
{
    switch (state) {
    case 1:
        record.resistance.text = QStringLiteral("----");
        break;
    case 2:
        record.resistance.text = QStringLiteral("OL");
        break;
    case 3:
        record.resistance.text = QStringLiteral("LO");
        break;
    default:
        break;
    }
}

QSharedPointer<DMMData> liveIR(const FrameReader &in)
{
    const auto record = newRecord<DMMDataIR>();
    readInsulation(in, *record);
    record->auxValue = in.readInt16(20);
    record->testing = in.readByte(22) != 0;
    record->resistanceOverRange = in.readByte(23) == 1;
    setNumber(record->dar, in.readFloat(24), QString());
    setNumber(record->pi, in.readFloat(28), QString());
    applyIRState(*record, in.readByte(32));
    record->testTime = in.readTime(33);
    return record;
}

QSharedPointer<DMMData> liveTime(const FrameReader &in)
{
    const auto record = newRecord<DMMDataTime>();
    readInsulation(in, *record);
    record->elapsedTime = in.readTime(20);
    record->auxValue = in.readInt16(22);
    record->testing = in.readByte(24) != 0;
    record->resistanceOverRange = in.readByte(25) == 1;
    record->setTime = in.readTime(26);
    return record;
}

template <typename Record, ValueBox Record::*ratio>
QSharedPointer<DMMData> liveRatio(const FrameReader &in)
{
    const auto record = newRecord<Record>();
    readInsulation(in, *record);
    setNumber(record->resistance2, in.readFloat(20), UnitTable::resistanceUnit(in.readByte(24)));
    setNumber((*record).*ratio, in.readFloat(25), QString());
    record->elapsedTime = in.readTime(29);
    record->auxValue = in.readInt16(31);
    record->testing = in.readByte(33) != 0;
    record->resistanceOverRange = in.readByte(34) == 1;
    record->setTime = in.readTime(35);
    record->setTime2 = in.readTime(37);
    record->resistance2OverRange = in.readByte(39) == 1;
    return record;
}

// Offsets 6-24 of both COMP layouts.
void readComparison(const FrameReader &in, DMMDataCOMP &record)
{
    readCurrentAndVoltages(in, record);
    setInteger(record.compareLimit, in.readInt32(15), UnitTable::resistanceUnit(in.readByte(19)));
    setNumber(record.resistance, in.readFloat(20), UnitTable::resistanceUnit(in.readByte(24)));
    record.result = in.readByte(25);
}

QSharedPointer<DMMData> liveCOMP(const FrameReader &in)
{
    const auto record = newRecord<DMMDataCOMP>();
    readComparison(in, *record);
    record->auxValue = in.readInt16(26);
    record->testing = in.readByte(28) != 0;
    record->resistanceOverRange = in.readByte(29) == 1;
    return record;
}

QSharedPointer<DMMData> liveCAP(const FrameReader &in)
{
    const auto record = newRecord<DMMDataCAP>();
    setNumber(record->capacitance, in.readFloat(6), UnitTable::microfarad());
    setInteger(record->setVoltage, in.readInt16(10), UnitTable::volt());
    record->auxValue = in.readInt16(12);
    record->testing = in.readByte(14) != 0;
    applyCAPState(*record, in.readByte(15));
    return record;
}

QSharedPointer<DMMData> liveVOLT(const FrameReader &in)
{
    const auto record = newRecord<DMMDataVOLT>();
    readVoltage(in, *record);
    record->auxValue = in.readInt16(10);
    record->testing = true;
    applyVOLTState(*record, in.readByte(12));
    return record;
}

QSharedPointer<DMMData> liveRES(const FrameReader &in)
{
    const auto record = newRecord<DMMDataRES>();
    setNumber(record->resistance, in.readFloat(6), UnitTable::ohm());
    record->overRange = in.readByte(10) == 1;
    record->testing = in.readByte(11) == 0;
    applyRESState(*record, in.readByte(12));
    record->auxValue = in.readInt16(14);
    return record;
}

QSharedPointer<DMMData> storedIR(const FrameReader &in)
{
    const auto record = newRecord<DMMDataIR>();
    readInsulation(in, *record);
    record->resistanceOverRange = in.readByte(20) == 1;
    setNumber(record->dar, in.readFloat(21), QString());
    setNumber(record->pi, in.readFloat(25), QString());
    applyIRState(*record, in.readByte(29));
    record->testTime = in.readTime(30);
    return record;
}

QSharedPointer<DMMData> storedTime(const FrameReader &in)
{
    const auto record = newRecord<DMMDataTime>();
    readInsulation(in, *record);
    record->elapsedTime = in.readTime(20);
    record->resistanceOverRange = in.readByte(22) == 1;
    return record;
}

template <typename Record, ValueBox Record::*ratio>
QSharedPointer<DMMData> storedRatio(const FrameReader &in)
{
    const auto record = newRecord<Record>();
    readInsulation(in, *record);
    setNumber(record->resistance2, in.readFloat(20), UnitTable::resistanceUnit(in.readByte(24)));
    setNumber((*record).*ratio, in.readFloat(25), QString());
    record->elapsedTime = in.readTime(29);
    record->resistanceOverRange = in.readByte(31) == 1;
    record->setTime = in.readTime(32);
    record->setTime2 = in.readTime(34);
    record->resistance2OverRange = in.readByte(36) == 1;
    return record;
}

QSharedPointer<DMMData> storedCOMP(const FrameReader &in)
{
    const auto record = newRecord<DMMDataCOMP>();
    readComparison(in, *record);
    record->resistanceOverRange = in.readByte(26) == 1;
    return record;
}

QSharedPointer<DMMData> storedCAP(const FrameReader &in)
{
    const auto record = newRecord<DMMDataCAP>();
    setInteger(record->setVoltage, in.readInt16(6), UnitTable::volt());
    setNumber(record->capacitance, in.readFloat(10), UnitTable::microfarad());
    applyCAPState(*record, in.readByte(14));
    return record;
}

QSharedPointer<DMMData> storedVOLT(const FrameReader &in)
{
    const auto record = newRecord<DMMDataVOLT>();
    readVoltage(in, *record);
    applyVOLTState(*record, in.readByte(10));
    return record;
}

QSharedPointer<DMMData> storedRES(const FrameReader &in)
{
    const auto record = newRecord<DMMDataRES>();
    setNumber(record->resistance, in.readFloat(6), UnitTable::ohm());
    record->overRange = in.readByte(10) == 1;
    record->testing = in.readByte(11) == 1;
    applyRESState(*record, in.readByte(12));
    return record;
}

// Indexed by mode.
const Layout liveLayouts[DMMData::modeCount] = {
    {34, liveIR},
    {27, liveTime},
    {39, liveRatio<DMMDataPI, &DMMDataPI::piRatio>},
    {39, liveRatio<DMMDataDAR, &DMMDataDAR::darRatio>},
    {29, liveCOMP},
    {15, liveCAP},
    {12, liveVOLT},
    {15, liveRES},
};

const Layout storedLayouts[DMMData::modeCount] = {
    {31, storedIR},
    {22, storedTime},
    {36, storedRatio<DMMDataPI, &DMMDataPI::piRatio>},
    {36, storedRatio<DMMDataDAR, &DMMDataDAR::darRatio>},
    {26, storedCOMP},
    {14, storedCAP},
    {10, storedVOLT},
    {12, storedRES},
};

QSharedPointer<DMMData> decode(const QByteArray &frame, const Layout (&layouts)[DMMData::modeCount],
                               const QDateTime &time)
{
    const FrameReader in(frame);
    if (!in.covers(modeOffset))
        return {};
    const int mode = in.readByte(modeOffset);
    if (mode >= DMMData::modeCount)
        return {};
    const Layout &layout = layouts[mode];
    if (!in.covers(layout.lastOffset))
        return {};
    QSharedPointer<DMMData> record = layout.decode(in);
    record->dateTime = time.isValid() ? time : QDateTime::currentDateTime();
    return record;
}
} // namespace

QSharedPointer<DMMData> FrameDecoder::liveRecordOf(const QByteArray &frame, const QDateTime &time)
{
    return decode(frame, liveLayouts, time);
}

QSharedPointer<DMMData> FrameDecoder::storedRecordOf(const QByteArray &frame, const QDateTime &time)
{
    return decode(frame, storedLayouts, time);
}
