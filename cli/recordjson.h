// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "cli/recordwriter.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

class DMMData;

// One record as a single line of JSON: its kind, decode time and mode first,
// then every field of its class in declaration order. Value boxes become
// {"value", "unit", "text"} (a value that is not finite becomes null), meter
// times {"value" in seconds, "unit" "s", "text" "mm:ss"}, flags booleans.
class RecordJson
{
public:
    RecordJson() = delete;

    // Without a line end.
    static QByteArray line(RecordWriter::Kind kind, const DMMData &record);

    // ISO 8601 with milliseconds and the UTC offset of `moment`'s own time
    // zone, such as 2026-12-10T04:15:14.123+00:00; empty for a null moment.
    static QString timestamp(const QDateTime &moment);
};
