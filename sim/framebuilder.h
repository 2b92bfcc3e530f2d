// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>

class DMMData;

// Builds meter frames: raw frames from a type and payload, and the live or
// stored frame that decodes into a given record.
class FrameBuilder
{
public:
    FrameBuilder() = delete;

    // The longest payload whose length still fits the 16-bit length field.
    static constexpr int maxPayloadSize = 0xFFFF - 7;

    // Header, length, type, payload and checksum; empty when the payload is
    // longer than maxPayloadSize.
    static QByteArray frame(quint8 type, const QByteArray &payload);

    // Big-endian field writers, appending to a payload.
    static void appendByte(QByteArray &payload, quint8 value);
    static void appendInt16(QByteArray &payload, qint16 value);
    static void appendInt32(QByteArray &payload, qint32 value);
    // Minutes in the high byte, seconds in the low byte.
    static void appendTime(QByteArray &payload, quint16 time);
    static void appendFloat(QByteArray &payload, float value);

    // The frame whose decoding gives back `record`'s fields: numbers from the
    // `value` of each box, unit codes from unit texts, flag and state bytes
    // from the flags and status texts. Empty when the record's class does not
    // match its mode.
    static QByteArray liveFrame(const DMMData &record);
    static QByteArray storedFrame(const DMMData &record);
};
