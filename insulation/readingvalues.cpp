// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "insulation/readingvalues.h"

#include "meter/unittable.h"

#include <QLocale>

#include <cmath>
#include <limits>

namespace {
constexpr double noValue = std::numeric_limits<double>::quiet_NaN();

struct CurrentUnit
{
    const char16_t *unit;
    double toMicroamps;
};
// The meter's current units (UnitTable), with the other spellings of micro.
constexpr CurrentUnit currentUnits[] = {
    {u"nA", 1.0e-3}, {u"uA", 1.0}, {u"\u00B5A", 1.0}, {u"\u03BCA", 1.0}, {u"mA", 1.0e3},
};

template <class Record>
const Record *recordAs(const DMMData &record)
{
    return dynamic_cast<const Record *>(&record);
}

// Decoded boxes carry a status text instead of a number where the meter
// showed one; a box filled by hand may leave the text empty.
double boxValue(const ValueBox &box)
{
    if (!std::isfinite(box.value))
        return noValue;
    const QString text = box.text.trimmed();
    if (text.isEmpty())
        return box.value;
    bool isNumber = false;
    QLocale::c().toDouble(text, &isNumber);
    return isNumber ? box.value : noValue;
}

// A ratio the meter did not work out comes as 0.
double ratioValue(const ValueBox &box)
{
    const double value = boxValue(box);
    return value != 0.0 ? value : noValue;
}

QString boxText(const ValueBox &box, bool overRange)
{
    const QString text = std::isfinite(box.value) ? box.text.trimmed() : QStringLiteral("-");
    const QString shown = QStringLiteral("%1 %2").arg(text, box.unit).trimmed();
    return overRange ? QLatin1Char('>') + shown : shown;
}

// PI and DAR frames carry RES1, live until the first set time and then held
// at its value there, and RES2, the reading at the second set time. A held
// RES1 tells nothing of the moment it arrives with, so between the set times
// a reading adds no resistance to the curve.
enum class RatioPhase { BeforeFirst, Between, AtSecond };

RatioPhase ratioPhase(const DMMDataPIDAR &record)
{
    const int elapsed = ReadingValues::seconds(record.elapsedTime);
    const int first = ReadingValues::seconds(record.setTime);
    const int second = ReadingValues::seconds(record.setTime2);
    if (second > 0 && elapsed >= second)
        return RatioPhase::AtSecond;
    if (first > 0 && elapsed > first)
        return RatioPhase::Between;
    return RatioPhase::BeforeFirst;
}

void setResistance(CurvePoint &point, const ValueBox &box, bool overRange)
{
    point.megohms = ReadingValues::megohms(box);
    point.overRange = overRange;
}

void setInsulationResistance(CurvePoint &point, const DMMDataIR &record, bool final)
{
    const auto *ratio = recordAs<DMMDataPIDAR>(record);
    if (!ratio) {
        setResistance(point, record.resistance, record.resistanceOverRange);
        return;
    }
    switch (ratioPhase(*ratio)) {
    case RatioPhase::AtSecond:
        setResistance(point, ratio->resistance2, ratio->resistance2OverRange);
        break;
    case RatioPhase::Between:
        // The held RES1 is still the latest resistance the test has.
        if (final)
            setResistance(point, record.resistance, record.resistanceOverRange);
        break;
    case RatioPhase::BeforeFirst:
        setResistance(point, record.resistance, record.resistanceOverRange);
        break;
    }
}

// Each of a PI or DAR record's resistances belongs to its own set time: a
// memory record has no curve to tell IR1min by, only these.
void takeSetTimeValues(InsulationTest &test, const DMMDataIR &record)
{
    const auto *ratio = recordAs<DMMDataPIDAR>(record);
    if (!ratio) {
        const int seconds = ReadingValues::meterSeconds(record);
        test.finalSeconds = seconds > 0 ? seconds : -1;
        return;
    }
    const RatioPhase phase = ratioPhase(*ratio);
    const int elapsed = ReadingValues::seconds(ratio->elapsedTime);
    test.firstMegohms = phase == RatioPhase::BeforeFirst ? noValue : ReadingValues::megohms(ratio->resistance);
    test.firstOverRange = phase != RatioPhase::BeforeFirst && ratio->resistanceOverRange;
    test.secondMegohms = phase == RatioPhase::AtSecond ? ReadingValues::megohms(ratio->resistance2) : noValue;
    test.secondOverRange = phase == RatioPhase::AtSecond && ratio->resistance2OverRange;
    switch (phase) {
    case RatioPhase::AtSecond:
        test.finalSeconds = ReadingValues::seconds(ratio->setTime2);
        break;
    case RatioPhase::Between:
        test.finalSeconds = ReadingValues::seconds(ratio->setTime);
        break;
    case RatioPhase::BeforeFirst:
        test.finalSeconds = elapsed > 0 ? elapsed : -1;
        break;
    }
}

void takeMeterValues(InsulationTest &test, const DMMData &record)
{
    if (const auto *ir = recordAs<DMMDataIR>(record); ir && record.mode == DMMData::dmIR) {
        test.meterDar = ratioValue(ir->dar);
        test.meterPi = ratioValue(ir->pi);
    } else if (const auto *pi = recordAs<DMMDataPI>(record)) {
        test.meterPi = ratioValue(pi->piRatio);
    } else if (const auto *dar = recordAs<DMMDataDAR>(record)) {
        test.meterDar = ratioValue(dar->darRatio);
    } else if (const auto *comp = recordAs<DMMDataCOMP>(record)) {
        test.compResult = comp->result;
        test.compLimitMegohms = comp->compareLimit.value * UnitTable::megohmFactor(comp->compareLimit.unit);
    }
}

void takeSetTimes(InsulationTest &test, const DMMData &record)
{
    if (const auto *ratio = recordAs<DMMDataPIDAR>(record)) {
        test.setSeconds = ReadingValues::seconds(ratio->setTime);
        test.setSeconds2 = ReadingValues::seconds(ratio->setTime2);
    } else if (const auto *timed = recordAs<DMMDataTime>(record)) {
        test.setSeconds = ReadingValues::seconds(timed->setTime);
    }
}

int setVoltsOf(const DMMData &record)
{
    if (const auto *ir = recordAs<DMMDataIR>(record))
        return ir->setVoltage.value;
    if (const auto *cap = recordAs<DMMDataCAP>(record))
        return cap->setVoltage.value;
    return 0;
}
} // namespace

bool ReadingValues::isInsulationMode(int mode)
{
    return mode >= DMMData::dmIR && mode <= DMMData::dmCOMP;
}

bool ReadingValues::isMeasurementMode(int mode)
{
    return mode == DMMData::dmCAP || mode == DMMData::dmVOLT || mode == DMMData::dmRES;
}

bool ReadingValues::isUsable(const QSharedPointer<DMMData> &record)
{
    if (!record)
        return false;
    switch (record->mode) {
    case DMMData::dmIR:
        return recordAs<DMMDataIR>(*record) != nullptr;
    case DMMData::dmTime:
        return recordAs<DMMDataTime>(*record) != nullptr;
    case DMMData::dmPI:
        return recordAs<DMMDataPI>(*record) != nullptr;
    case DMMData::dmDAR:
        return recordAs<DMMDataDAR>(*record) != nullptr;
    case DMMData::dmCOMP:
        return recordAs<DMMDataCOMP>(*record) != nullptr;
    case DMMData::dmCAP:
        return recordAs<DMMDataCAP>(*record) != nullptr;
    case DMMData::dmVOLT:
        return recordAs<DMMDataVOLT>(*record) != nullptr;
    case DMMData::dmRES:
        return recordAs<DMMDataRES>(*record) != nullptr;
    }
    return false;
}

double ReadingValues::megohms(const ValueBox &box)
{
    return boxValue(box) * UnitTable::megohmFactor(box.unit);
}

double ReadingValues::microamps(const ValueBox &box)
{
    for (const CurrentUnit &unit : currentUnits) {
        if (box.unit == QStringView(unit.unit))
            return boxValue(box) * unit.toMicroamps;
    }
    return noValue;
}

int ReadingValues::seconds(quint16 minutesSeconds)
{
    return (minutesSeconds >> 8) * 60 + (minutesSeconds & 0xFF);
}

int ReadingValues::meterSeconds(const DMMData &record)
{
    switch (record.mode) {
    case DMMData::dmIR:
        if (const auto *ir = recordAs<DMMDataIR>(record))
            return seconds(ir->testTime);
        break;
    case DMMData::dmTime:
    case DMMData::dmPI:
    case DMMData::dmDAR:
        if (const auto *timed = recordAs<DMMDataTime>(record))
            return seconds(timed->elapsedTime);
        break;
    default:
        break;
    }
    return -1;
}

CurvePoint ReadingValues::curvePoint(const DMMData &record, double seconds)
{
    CurvePoint point;
    point.seconds = seconds;
    if (const auto *ir = recordAs<DMMDataIR>(record)) {
        setInsulationResistance(point, *ir, false);
        point.leakageMicroamps = microamps(ir->leakageCurrent);
        point.outputVolts = ir->outputVoltage.value;
    }
    return point;
}

void ReadingValues::takeFinalValues(InsulationTest &test, const DMMData &record)
{
    if (const int volts = setVoltsOf(record))
        test.setVolts = volts;
    if (isMeasurementMode(record.mode)) {
        test.measurementText = measurementText(record);
        return;
    }
    if (const auto *ir = recordAs<DMMDataIR>(record)) {
        CurvePoint final;
        setInsulationResistance(final, *ir, true);
        test.finalMegohms = final.megohms;
        test.finalOverRange = final.overRange;
        takeSetTimeValues(test, *ir);
    }
    takeMeterValues(test, record);
    takeSetTimes(test, record);
}

QString ReadingValues::measurementText(const DMMData &record)
{
    if (const auto *volt = recordAs<DMMDataVOLT>(record))
        return boxText(volt->voltage, false); // the meter has no over-range mark for voltage
    if (const auto *cap = recordAs<DMMDataCAP>(record))
        return boxText(cap->capacitance, cap->overRange);
    if (const auto *res = recordAs<DMMDataRES>(record))
        return boxText(res->resistance, res->overRange);
    return QString();
}
