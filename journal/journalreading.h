// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QMetaType>
#include <QSharedPointer>

class DMMData;

// One reading as the journal keeps it: the frame it was decoded from and the
// moment it was decoded. Decoding the frame again gives the same record.
struct JournalReading
{
    enum Kind : int { Live = 0, Stored = 1 };

    Kind kind = Live;
    qint64 timeMs = 0; // since the epoch, UTC
    QByteArray frame;

    // The record, with its original time stamp; null for a frame that
    // decodes into none.
    QSharedPointer<DMMData> record() const;
    int mode() const;
};

Q_DECLARE_METATYPE(JournalReading)
