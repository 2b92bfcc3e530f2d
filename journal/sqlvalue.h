// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QVariant>

// How the journal keeps values that may be missing: a number not given
// (NaN or infinite) is NULL and reads back as NaN; text is never NULL.
class SqlValue
{
public:
    static QVariant ofNumber(double value);
    static double toNumber(const QVariant &value);
    static QVariant ofText(const QString &value);
};
