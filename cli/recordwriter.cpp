// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "cli/recordwriter.h"

RecordWriter::~RecordWriter() = default;

QString RecordWriter::kindName(Kind kind)
{
    return kind == Kind::Live ? QStringLiteral("live") : QStringLiteral("stored");
}
