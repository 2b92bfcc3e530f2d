// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "meter/dmmdata.h"

#include <QByteArray>
#include <QDateTime>
#include <QSharedPointer>

// The decoding of one live or stored frame into its record, with no
// connection to a meter: the meter connection decodes what arrives this way,
// and readings kept as their frames are decoded again the same way.
class FrameDecoder
{
public:
    FrameDecoder() = delete;

    // The record the frame decodes into, stamped with `time`, or without one
    // with the time of decoding; null for a frame that carries none.
    static QSharedPointer<DMMData> liveRecordOf(const QByteArray &frame, const QDateTime &time = QDateTime());
    static QSharedPointer<DMMData> storedRecordOf(const QByteArray &frame, const QDateTime &time = QDateTime());
};
