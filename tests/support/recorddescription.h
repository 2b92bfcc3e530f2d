// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>

class DMMData;

// Every field of a record but its time stamp, one "name: value" line each, so
// that two records compare field by field and a mismatch names its field.
class RecordDescription
{
public:
    RecordDescription() = delete;

    static QStringList describe(const DMMData &record);
    // The record's full class, "DMMDataPI" and so on.
    static QString className(const DMMData &record);
};
