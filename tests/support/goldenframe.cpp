// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "support/goldenframe.h"

#include "sim/framebuilder.h"

namespace {
constexpr int payloadOffset = 5;
constexpr int framingSize = 7; // header, length, type, checksum
} // namespace

GoldenFrame::GoldenFrame(quint8 type, quint8 mode, int frameSize)
    : m_type(type)
    , m_payload(qMax(1, frameSize - framingSize), '\0')
{
    m_payload[0] = char(mode);
}

GoldenFrame &GoldenFrame::set(int offset, std::initializer_list<int> bytes)
{
    int at = offset - payloadOffset;
    for (const int byte : bytes) {
        Q_ASSERT(at >= 0 && at < m_payload.size());
        m_payload[at++] = char(byte);
    }
    return *this;
}

QByteArray GoldenFrame::bytes() const
{
    return FrameBuilder::frame(m_type, m_payload);
}
