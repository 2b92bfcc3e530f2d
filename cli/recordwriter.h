// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "meter/dmmdata.h"

#include <QSharedPointer>
#include <QString>

// Where the logger's records go: each one is written out completely, and
// flushed, before write() returns.
class RecordWriter
{
public:
    enum class Kind { Live, Stored };

    RecordWriter() = default;
    virtual ~RecordWriter();

    RecordWriter(const RecordWriter &) = delete;
    RecordWriter &operator=(const RecordWriter &) = delete;

    // False when the record could not be written; errorString() says why.
    [[nodiscard]] virtual bool write(Kind kind, const QSharedPointer<DMMData> &record) = 0;
    virtual QString errorString() const = 0;

    // "live" or "stored".
    static QString kindName(Kind kind);
};
