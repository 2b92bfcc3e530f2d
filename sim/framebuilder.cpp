// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "sim/framebuilder.h"

#include "meter/dmmdata.h"
#include "meter/mydmm.h"
#include "meter/unittable.h"
#include "util/utils.h"

#include <cstring>
#include <typeinfo>

// The encoders write each layout top to bottom, the exact inverse of the
// decoder's layout tables.

namespace {
using Payload = QByteArray;

// The record as its mode's class, or null when it is of another class (a TIME
// record is an IR record by inheritance, but does not encode as one).
template <typename Record>
const Record *exactly(const DMMData &data)
{
    return typeid(data) == typeid(Record) ? static_cast<const Record *>(&data) : nullptr;
}

void appendCurrentAndVoltages(Payload &out, const DMMDataIR &record)
{
    FrameBuilder::appendFloat(out, float(record.leakageCurrent.value));
    FrameBuilder::appendByte(out, UnitTable::currentCode(record.leakageCurrent.unit));
    FrameBuilder::appendInt16(out, qint16(record.setVoltage.value));
    FrameBuilder::appendInt16(out, qint16(record.outputVoltage.value));
}

void appendInsulation(Payload &out, const DMMDataIR &record)
{
    appendCurrentAndVoltages(out, record);
    FrameBuilder::appendFloat(out, float(record.resistance.value));
    FrameBuilder::appendByte(out, UnitTable::resistanceCode(record.resistance.unit));
}

void appendResistance(Payload &out, const ValueBox &box)
{
    FrameBuilder::appendFloat(out, float(box.value));
    FrameBuilder::appendByte(out, UnitTable::resistanceCode(box.unit));
}

void appendFlag(Payload &out, bool flag)
{
    FrameBuilder::appendByte(out, flag ? 1 : 0);
}

quint8 irState(const DMMDataIR &record)
{
    if (record.stateFlag1)
        return 1;
    return record.stateFlag2 ? 2 : 0;
}

quint8 capState(const DMMDataCAP &record)
{
    if (record.underRange)
        return 1;
    return record.overRange ? 2 : 0;
}

quint8 voltState(const DMMDataVOLT &record)
{
    if (record.underRange)
        return 1;
    return record.overload ? 2 : 0;
}

quint8 resState(const DMMDataRES &record)
{
    const QString &text = record.resistance.text;
    if (text == QLatin1String("----"))
        return 1;
    if (text == QLatin1String("OL"))
        return 2;
    return text == QLatin1String("LO") ? 3 : 0;
}

// The magnitude the meter sends: a negative DC voltage travels as its size
// with the sign byte set.
qint16 sentVoltage(const DMMDataVOLT &record)
{
    const bool signApplied = record.acdc == QLatin1String("DC") && record.negative != 0;
    return qint16(signApplied ? -record.voltage.value : record.voltage.value);
}

void appendVoltage(Payload &out, const DMMDataVOLT &record)
{
    FrameBuilder::appendInt16(out, sentVoltage(record));
    appendFlag(out, record.acdc != QLatin1String("AC"));
    FrameBuilder::appendByte(out, record.negative);
}

void appendComparison(Payload &out, const DMMDataCOMP &record)
{
    appendCurrentAndVoltages(out, record);
    FrameBuilder::appendInt32(out, record.compareLimit.value);
    FrameBuilder::appendByte(out, UnitTable::resistanceCode(record.compareLimit.unit));
    appendResistance(out, record.resistance);
    FrameBuilder::appendByte(out, record.result);
}

template <typename Ratio>
void appendLiveRatio(Payload &out, const DMMDataPIDAR &record, const Ratio &ratio)
{
    appendInsulation(out, record);
    appendResistance(out, record.resistance2);
    FrameBuilder::appendFloat(out, float(ratio.value));
    FrameBuilder::appendTime(out, record.elapsedTime);
    FrameBuilder::appendInt16(out, qint16(record.auxValue));
    appendFlag(out, record.testing);
    appendFlag(out, record.resistanceOverRange);
    FrameBuilder::appendTime(out, record.setTime);
    FrameBuilder::appendTime(out, record.setTime2);
    appendFlag(out, record.resistance2OverRange);
}

template <typename Ratio>
void appendStoredRatio(Payload &out, const DMMDataPIDAR &record, const Ratio &ratio)
{
    appendInsulation(out, record);
    appendResistance(out, record.resistance2);
    FrameBuilder::appendFloat(out, float(ratio.value));
    FrameBuilder::appendTime(out, record.elapsedTime);
    appendFlag(out, record.resistanceOverRange);
    FrameBuilder::appendTime(out, record.setTime);
    FrameBuilder::appendTime(out, record.setTime2);
    appendFlag(out, record.resistance2OverRange);
}

// Each encoder returns false when the record is not of its mode's class.
bool liveIR(Payload &out, const DMMData &data)
{
    const auto *record = exactly<DMMDataIR>(data);
    if (!record)
        return false;
    appendInsulation(out, *record);
    FrameBuilder::appendInt16(out, qint16(record->auxValue));
    appendFlag(out, record->testing);
    appendFlag(out, record->resistanceOverRange);
    FrameBuilder::appendFloat(out, float(record->dar.value));
    FrameBuilder::appendFloat(out, float(record->pi.value));
    FrameBuilder::appendByte(out, irState(*record));
    FrameBuilder::appendTime(out, record->testTime);
    return true;
}

bool liveTime(Payload &out, const DMMData &data)
{
    const auto *record = exactly<DMMDataTime>(data);
    if (!record)
        return false;
    appendInsulation(out, *record);
    FrameBuilder::appendTime(out, record->elapsedTime);
    FrameBuilder::appendInt16(out, qint16(record->auxValue));
    appendFlag(out, record->testing);
    appendFlag(out, record->resistanceOverRange);
    FrameBuilder::appendTime(out, record->setTime);
    return true;
}

bool livePI(Payload &out, const DMMData &data)
{
    const auto *record = exactly<DMMDataPI>(data);
    if (record)
        appendLiveRatio(out, *record, record->piRatio);
    return record != nullptr;
}

bool liveDAR(Payload &out, const DMMData &data)
{
    const auto *record = exactly<DMMDataDAR>(data);
    if (record)
        appendLiveRatio(out, *record, record->darRatio);
    return record != nullptr;
}

bool liveCOMP(Payload &out, const DMMData &data)
{
    const auto *record = exactly<DMMDataCOMP>(data);
    if (!record)
        return false;
    appendComparison(out, *record);
    FrameBuilder::appendInt16(out, qint16(record->auxValue));
    appendFlag(out, record->testing);
    appendFlag(out, record->resistanceOverRange);
    return true;
}

bool liveCAP(Payload &out, const DMMData &data)
{
    const auto *record = exactly<DMMDataCAP>(data);
    if (!record)
        return false;
    FrameBuilder::appendFloat(out, float(record->capacitance.value));
    FrameBuilder::appendInt16(out, qint16(record->setVoltage.value));
    FrameBuilder::appendInt16(out, qint16(record->auxValue));
    appendFlag(out, record->testing);
    FrameBuilder::appendByte(out, capState(*record));
    return true;
}

bool liveVOLT(Payload &out, const DMMData &data)
{
    const auto *record = exactly<DMMDataVOLT>(data);
    if (!record)
        return false;
    appendVoltage(out, *record);
    FrameBuilder::appendInt16(out, qint16(record->auxValue));
    FrameBuilder::appendByte(out, voltState(*record));
    return true;
}

bool liveRES(Payload &out, const DMMData &data)
{
    const auto *record = exactly<DMMDataRES>(data);
    if (!record)
        return false;
    FrameBuilder::appendFloat(out, float(record->resistance.value));
    appendFlag(out, record->overRange);
    appendFlag(out, !record->testing);
    FrameBuilder::appendByte(out, resState(*record));
    FrameBuilder::appendByte(out, 0); // not read
    FrameBuilder::appendInt16(out, qint16(record->auxValue));
    return true;
}

bool storedIR(Payload &out, const DMMData &data)
{
    const auto *record = exactly<DMMDataIR>(data);
    if (!record)
        return false;
    appendInsulation(out, *record);
    appendFlag(out, record->resistanceOverRange);
    FrameBuilder::appendFloat(out, float(record->dar.value));
    FrameBuilder::appendFloat(out, float(record->pi.value));
    FrameBuilder::appendByte(out, irState(*record));
    FrameBuilder::appendTime(out, record->testTime);
    return true;
}

bool storedTime(Payload &out, const DMMData &data)
{
    const auto *record = exactly<DMMDataTime>(data);
    if (!record)
        return false;
    appendInsulation(out, *record);
    FrameBuilder::appendTime(out, record->elapsedTime);
    appendFlag(out, record->resistanceOverRange);
    return true;
}

bool storedPI(Payload &out, const DMMData &data)
{
    const auto *record = exactly<DMMDataPI>(data);
    if (record)
        appendStoredRatio(out, *record, record->piRatio);
    return record != nullptr;
}

bool storedDAR(Payload &out, const DMMData &data)
{
    const auto *record = exactly<DMMDataDAR>(data);
    if (record)
        appendStoredRatio(out, *record, record->darRatio);
    return record != nullptr;
}

bool storedCOMP(Payload &out, const DMMData &data)
{
    const auto *record = exactly<DMMDataCOMP>(data);
    if (!record)
        return false;
    appendComparison(out, *record);
    appendFlag(out, record->resistanceOverRange);
    return true;
}

bool storedCAP(Payload &out, const DMMData &data)
{
    const auto *record = exactly<DMMDataCAP>(data);
    if (!record)
        return false;
    FrameBuilder::appendInt16(out, qint16(record->setVoltage.value));
    FrameBuilder::appendInt16(out, 0); // not read
    FrameBuilder::appendFloat(out, float(record->capacitance.value));
    FrameBuilder::appendByte(out, capState(*record));
    return true;
}

bool storedVOLT(Payload &out, const DMMData &data)
{
    const auto *record = exactly<DMMDataVOLT>(data);
    if (!record)
        return false;
    appendVoltage(out, *record);
    FrameBuilder::appendByte(out, voltState(*record));
    return true;
}

bool storedRES(Payload &out, const DMMData &data)
{
    const auto *record = exactly<DMMDataRES>(data);
    if (!record)
        return false;
    FrameBuilder::appendFloat(out, float(record->resistance.value));
    appendFlag(out, record->overRange);
    appendFlag(out, record->testing);
    FrameBuilder::appendByte(out, resState(*record));
    return true;
}

using Encoder = bool (*)(Payload &, const DMMData &);

// Indexed by mode.
const Encoder liveEncoders[DMMData::modeCount] = {liveIR,   liveTime, livePI,  liveDAR,
                                                  liveCOMP, liveCAP,  liveVOLT, liveRES};
const Encoder storedEncoders[DMMData::modeCount] = {storedIR,   storedTime, storedPI,   storedDAR,
                                                    storedCOMP, storedCAP,  storedVOLT, storedRES};

QByteArray encode(quint8 type, const DMMData &record, const Encoder (&encoders)[DMMData::modeCount])
{
    const int mode = record.mode;
    if (mode < 0 || mode >= DMMData::modeCount)
        return {};
    Payload payload;
    FrameBuilder::appendByte(payload, quint8(mode));
    if (!encoders[mode](payload, record))
        return {};
    return FrameBuilder::frame(type, payload);
}
} // namespace

QByteArray FrameBuilder::frame(quint8 type, const QByteArray &payload)
{
    if (payload.size() > maxPayloadSize)
        return {};
    QByteArray body;
    appendByte(body, type);
    body.append(payload);
    const auto length = quint16(body.size() + 2); // type, payload and checksum
    const auto checksum = quint16(Utils::getCheckSum(body.constData(), body.size()));

    QByteArray result("\xAB\xCD", 2);
    appendInt16(result, qint16(length));
    result.append(body);
    appendInt16(result, qint16(checksum));
    return result;
}

void FrameBuilder::appendByte(QByteArray &payload, quint8 value)
{
    payload.append(char(value));
}

void FrameBuilder::appendInt16(QByteArray &payload, qint16 value)
{
    const auto bits = quint16(value);
    appendByte(payload, quint8(bits >> 8));
    appendByte(payload, quint8(bits));
}

void FrameBuilder::appendInt32(QByteArray &payload, qint32 value)
{
    const auto bits = quint32(value);
    appendInt16(payload, qint16(quint16(bits >> 16)));
    appendInt16(payload, qint16(quint16(bits)));
}

void FrameBuilder::appendTime(QByteArray &payload, quint16 time)
{
    appendInt16(payload, qint16(time));
}

void FrameBuilder::appendFloat(QByteArray &payload, float value)
{
    quint32 bits = 0;
    std::memcpy(&bits, &value, sizeof(bits));
    appendInt32(payload, qint32(bits));
}

QByteArray FrameBuilder::liveFrame(const DMMData &record)
{
    return encode(MyDMM::liveFrameType, record, liveEncoders);
}

QByteArray FrameBuilder::storedFrame(const DMMData &record)
{
    return encode(MyDMM::storedFrameType, record, storedEncoders);
}
