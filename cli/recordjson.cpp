// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "cli/recordjson.h"

#include "cli/orderedjsonobject.h"
#include "meter/dmmdata.h"
#include "meter/timebox.h"

#include <QJsonValue>
#include <QStringList>

#include <cmath>
#include <cstdlib>

namespace {
constexpr int secondsPerMinute = 60;
constexpr int secondsPerHour = 3600;

OrderedJsonObject box(const ValueBox &value)
{
    OrderedJsonObject object;
    object.add("value", std::isfinite(value.value) ? QJsonValue(value.value) : QJsonValue());
    object.add("unit", value.unit);
    object.add("text", value.text);
    return object;
}

OrderedJsonObject box(const ValueBoxInt &value)
{
    OrderedJsonObject object;
    object.add("value", value.value);
    object.add("unit", value.unit);
    object.add("text", value.text);
    return object;
}

OrderedJsonObject meterTime(quint16 time)
{
    OrderedJsonObject object;
    object.add("value", (time >> 8) * secondsPerMinute + (time & 0xFF));
    object.add("unit", QStringLiteral("s"));
    object.add("text", TimeBox::convertString(time));
    return object;
}

QString verdictText(quint8 result)
{
    if (result == 0)
        return QString();
    return result == 2 ? QStringLiteral("PASS") : QStringLiteral("FAIL");
}

void addIR(OrderedJsonObject &out, const DMMDataIR &r)
{
    out.add("resistance", box(r.resistance));
    out.add("leakageCurrent", box(r.leakageCurrent));
    out.add("setVoltage", box(r.setVoltage));
    out.add("outputVoltage", box(r.outputVoltage));
    out.add("resistanceOverRange", r.resistanceOverRange);
    out.add("dar", box(r.dar));
    out.add("pi", box(r.pi));
    out.add("stateFlag1", r.stateFlag1);
    out.add("stateFlag2", r.stateFlag2);
    out.add("testTime", meterTime(r.testTime));
}

void addTimeAndRatios(OrderedJsonObject &out, const DMMDataIR &ir)
{
    if (const auto *r = dynamic_cast<const DMMDataTime *>(&ir)) {
        out.add("elapsedTime", meterTime(r->elapsedTime));
        out.add("setTime", meterTime(r->setTime));
    }
    if (const auto *r = dynamic_cast<const DMMDataPIDAR *>(&ir)) {
        out.add("resistance2", box(r->resistance2));
        out.add("setTime2", meterTime(r->setTime2));
        out.add("resistance2OverRange", r->resistance2OverRange);
    }
    if (const auto *r = dynamic_cast<const DMMDataPI *>(&ir))
        out.add("piRatio", box(r->piRatio));
    if (const auto *r = dynamic_cast<const DMMDataDAR *>(&ir))
        out.add("darRatio", box(r->darRatio));
    if (const auto *r = dynamic_cast<const DMMDataCOMP *>(&ir)) {
        out.add("compareLimit", box(r->compareLimit));
        OrderedJsonObject verdict;
        verdict.add("value", int(r->result));
        verdict.add("text", verdictText(r->result));
        out.add("result", verdict);
    }
}

void addOtherModes(OrderedJsonObject &out, const DMMData &record)
{
    if (const auto *r = dynamic_cast<const DMMDataCAP *>(&record)) {
        out.add("capacitance", box(r->capacitance));
        out.add("setVoltage", box(r->setVoltage));
        out.add("overRange", r->overRange);
        out.add("underRange", r->underRange);
    } else if (const auto *r = dynamic_cast<const DMMDataVOLT *>(&record)) {
        out.add("voltage", box(r->voltage));
        out.add("acdc", r->acdc);
        out.add("negative", int(r->negative));
        out.add("underRange", r->underRange);
        out.add("overload", r->overload);
    } else if (const auto *r = dynamic_cast<const DMMDataRES *>(&record)) {
        out.add("resistance", box(r->resistance));
        out.add("overRange", r->overRange);
    }
}
} // namespace

QByteArray RecordJson::line(RecordWriter::Kind kind, const DMMData &record)
{
    OrderedJsonObject out;
    out.add("kind", RecordWriter::kindName(kind));
    out.add("time", timestamp(record.dateTime));
    out.add("mode", DMMData::modeName(record.mode));
    out.add("testing", record.testing);
    out.add("auxValue", record.auxValue);
    if (const auto *ir = dynamic_cast<const DMMDataIR *>(&record)) {
        addIR(out, *ir);
        addTimeAndRatios(out, *ir);
    }
    addOtherModes(out, record);
    return out.text();
}

QString RecordJson::timestamp(const QDateTime &moment)
{
    if (!moment.isValid())
        return QString();
    const int offset = moment.offsetFromUtc();
    const QDateTime wallClock = moment.toUTC().addSecs(offset);
    const int magnitude = std::abs(offset);
    return wallClock.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz"))
        + QLatin1Char(offset < 0 ? '-' : '+')
        + QStringLiteral("%1:%2")
              .arg(magnitude / secondsPerHour, 2, 10, QLatin1Char('0'))
              .arg(magnitude % secondsPerHour / secondsPerMinute, 2, 10, QLatin1Char('0'));
}
