// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "meter/framereader.h"

#include <cstring>

FrameReader::FrameReader(const QByteArray &frame)
    : m_frame(frame)
    , m_end(qMax(0, frame.size() - checksumSize))
{
}

bool FrameReader::covers(int lastOffset) const
{
    return lastOffset >= 0 && lastOffset < m_end;
}

quint8 FrameReader::readByte(int offset) const
{
    return quint8(readUnsigned(offset, 1));
}

qint16 FrameReader::readInt16(int offset) const
{
    return qint16(quint16(readUnsigned(offset, 2)));
}

qint32 FrameReader::readInt32(int offset) const
{
    return qint32(readUnsigned(offset, 4));
}

quint16 FrameReader::readTime(int offset) const
{
    return quint16(readUnsigned(offset, 2));
}

float FrameReader::readFloat(int offset) const
{
    const quint32 bits = readUnsigned(offset, 4);
    float value = 0.0F;
    static_assert(sizeof(value) == sizeof(bits), "IEEE 754 single precision expected");
    std::memcpy(&value, &bits, sizeof(value));
    return value;
}

quint32 FrameReader::readUnsigned(int offset, int width) const
{
    if (offset < 0 || width > m_end - offset)
        return 0;
    quint32 result = 0;
    for (int i = 0; i < width; ++i)
        result = (result << 8) | quint8(m_frame.at(offset + i));
    return result;
}
