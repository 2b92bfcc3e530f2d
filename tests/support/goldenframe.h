// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>

#include <initializer_list>

// A frame written byte by byte at its layout offsets (counted from the first
// header byte), zero elsewhere, with only length and checksum computed. Tests
// state layouts with it independently of the encoders.
class GoldenFrame
{
public:
    // `frameSize` counts header, length, type, payload and checksum.
    GoldenFrame(quint8 type, quint8 mode, int frameSize);

    // Writes `bytes` starting at frame offset `offset` (5 or more).
    GoldenFrame &set(int offset, std::initializer_list<int> bytes);

    QByteArray bytes() const;

private:
    quint8 m_type = 0;
    QByteArray m_payload;
};
