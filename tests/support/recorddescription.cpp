// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "support/recorddescription.h"

#include "meter/dmmdata.h"

#include <QLocale>

namespace {
QString number(double value)
{
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

QString line(const char *name, const QString &value)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(name), value);
}

QString line(const char *name, const ValueBox &box)
{
    return line(name, QStringLiteral("'%1' %2 '%3'").arg(box.text, number(box.value), box.unit));
}

QString line(const char *name, const ValueBoxInt &box)
{
    return line(name, QStringLiteral("'%1' %2 '%3'").arg(box.text).arg(box.value).arg(box.unit));
}

QString line(const char *name, bool flag)
{
    return line(name, flag ? QStringLiteral("true") : QStringLiteral("false"));
}

QString line(const char *name, int value)
{
    return line(name, QString::number(value));
}

QString time(const char *name, quint16 value)
{
    return line(name, QStringLiteral("0x%1").arg(value, 4, 16, QLatin1Char('0')));
}

void describeIR(const DMMDataIR &r, QStringList &out)
{
    out << line("resistance", r.resistance) << line("leakageCurrent", r.leakageCurrent)
        << line("setVoltage", r.setVoltage) << line("outputVoltage", r.outputVoltage)
        << line("resistanceOverRange", r.resistanceOverRange) << line("dar", r.dar) << line("pi", r.pi)
        << line("stateFlag1", r.stateFlag1) << line("stateFlag2", r.stateFlag2) << time("testTime", r.testTime);
    if (const auto *t = dynamic_cast<const DMMDataTime *>(&r))
        out << time("elapsedTime", t->elapsedTime) << time("setTime", t->setTime);
    if (const auto *p = dynamic_cast<const DMMDataPIDAR *>(&r))
        out << line("resistance2", p->resistance2) << time("setTime2", p->setTime2)
            << line("resistance2OverRange", p->resistance2OverRange);
    if (const auto *pi = dynamic_cast<const DMMDataPI *>(&r))
        out << line("piRatio", pi->piRatio);
    if (const auto *dar = dynamic_cast<const DMMDataDAR *>(&r))
        out << line("darRatio", dar->darRatio);
    if (const auto *comp = dynamic_cast<const DMMDataCOMP *>(&r))
        out << line("compareLimit", comp->compareLimit) << line("result", int(comp->result));
}

void describeOthers(const DMMData &record, QStringList &out)
{
    if (const auto *r = dynamic_cast<const DMMDataCAP *>(&record))
        out << line("capacitance", r->capacitance) << line("setVoltage", r->setVoltage)
            << line("overRange", r->overRange) << line("underRange", r->underRange);
    if (const auto *r = dynamic_cast<const DMMDataVOLT *>(&record))
        out << line("voltage", r->voltage) << line("acdc", r->acdc) << line("negative", int(r->negative))
            << line("underRange", r->underRange) << line("overload", r->overload);
    if (const auto *r = dynamic_cast<const DMMDataRES *>(&record))
        out << line("resistance", r->resistance) << line("overRange", r->overRange);
}
} // namespace

QStringList RecordDescription::describe(const DMMData &record)
{
    QStringList out;
    out << line("class", className(record)) << line("mode", int(record.mode)) << line("auxValue", record.auxValue)
        << line("testing", record.testing);
    if (const auto *ir = dynamic_cast<const DMMDataIR *>(&record))
        describeIR(*ir, out);
    describeOthers(record, out);
    return out;
}

QString RecordDescription::className(const DMMData &record)
{
    // Most derived first.
    if (dynamic_cast<const DMMDataPI *>(&record))
        return QStringLiteral("DMMDataPI");
    if (dynamic_cast<const DMMDataDAR *>(&record))
        return QStringLiteral("DMMDataDAR");
    if (dynamic_cast<const DMMDataTime *>(&record))
        return QStringLiteral("DMMDataTime");
    if (dynamic_cast<const DMMDataCOMP *>(&record))
        return QStringLiteral("DMMDataCOMP");
    if (dynamic_cast<const DMMDataIR *>(&record))
        return QStringLiteral("DMMDataIR");
    if (dynamic_cast<const DMMDataCAP *>(&record))
        return QStringLiteral("DMMDataCAP");
    if (dynamic_cast<const DMMDataVOLT *>(&record))
        return QStringLiteral("DMMDataVOLT");
    if (dynamic_cast<const DMMDataRES *>(&record))
        return QStringLiteral("DMMDataRES");
    return QStringLiteral("DMMData");
}
