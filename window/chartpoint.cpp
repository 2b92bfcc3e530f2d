// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "window/chartpoint.h"

#include "meter/unittable.h"

#include <qcustomplot.h>

#include <cmath>
#include <limits>

namespace {
template <class Record>
Record *recordAs(const QSharedPointer<DMMData> &data)
{
    return dynamic_cast<Record *>(data.data());
}

// Showing a box whose value was not finite turns it into 0 with the text
// "-" (the panel does so before the chart sees a live reading); that is
// still no value, and drawing it as 0 would show a dead short.
double boxValue(const ValueBox &box)
{
    return box.text == QLatin1String("-") ? std::numeric_limits<double>::quiet_NaN() : box.value;
}
} // namespace

double ChartPoint::key(const DMMData &record)
{
    return QCPAxisTickerDateTime::dateTimeToKey(record.dateTime);
}

// An infinite value would leave the axes nothing valid to fit, so every
// non-finite value becomes a gap in the line instead.
double ChartPoint::value(const QSharedPointer<DMMData> &record)
{
    const double value = mainQuantity(record);
    return std::isfinite(value) ? value : std::numeric_limits<double>::quiet_NaN();
}

double ChartPoint::mainQuantity(const QSharedPointer<DMMData> &record)
{
    if (!record)
        return 0.0;
    switch (record->mode) {
    case DMMData::dmIR:
    case DMMData::dmTime:
    case DMMData::dmCOMP:
        if (auto *ir = recordAs<DMMDataIR>(record))
            return boxValue(ir->resistance) * UnitTable::megohmFactor(ir->resistance.unit);
        break;
    case DMMData::dmPI:
        if (auto *pi = recordAs<DMMDataPI>(record))
            return boxValue(pi->piRatio);
        break;
    case DMMData::dmDAR:
        if (auto *dar = recordAs<DMMDataDAR>(record))
            return boxValue(dar->darRatio);
        break;
    case DMMData::dmCAP:
        if (auto *cap = recordAs<DMMDataCAP>(record))
            return boxValue(cap->capacitance);
        break;
    case DMMData::dmVOLT:
        if (auto *volt = recordAs<DMMDataVOLT>(record))
            return boxValue(volt->voltage);
        break;
    case DMMData::dmRES:
        if (auto *res = recordAs<DMMDataRES>(record))
            return boxValue(res->resistance);
        break;
    }
    return 0.0;
}

