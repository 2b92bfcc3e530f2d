// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "journal/sqlvalue.h"

#include <cmath>
#include <limits>

QVariant SqlValue::ofNumber(double value)
{
    return std::isfinite(value) ? QVariant(value) : QVariant(QVariant::Double);
}

double SqlValue::toNumber(const QVariant &value)
{
    return value.isNull() ? std::numeric_limits<double>::quiet_NaN() : value.toDouble();
}

QVariant SqlValue::ofText(const QString &value)
{
    return value.isNull() ? QVariant(QStringLiteral("")) : QVariant(value);
}
