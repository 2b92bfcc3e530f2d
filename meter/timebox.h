// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// Display form of a meter time: minutes in the high byte, seconds in the low byte.
class TimeBox
{
public:
    TimeBox() = delete;

    // "mm:ss", each part at least two digits; values above 59 are shown as sent.
    static QString convertString(unsigned short time);
};
