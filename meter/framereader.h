// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>

// Reads the big-endian fields of one received frame. Reads are limited to the
// bytes in front of the checksum; a field outside them reads as 0, so a
// decoder can never reach past the end of its frame.
class FrameReader
{
public:
    static constexpr int checksumSize = 2;

    explicit FrameReader(const QByteArray &frame);

    // True when every byte from the start up to `lastOffset` lies in front of
    // the checksum.
    [[nodiscard]] bool covers(int lastOffset) const;

    quint8 readByte(int offset) const;
    qint16 readInt16(int offset) const;
    qint32 readInt32(int offset) const;
    // Minutes in the first byte, seconds in the second.
    quint16 readTime(int offset) const;
    float readFloat(int offset) const;

private:
    quint32 readUnsigned(int offset, int width) const;

    QByteArray m_frame;
    int m_end = 0;
};
