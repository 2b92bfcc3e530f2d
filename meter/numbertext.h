// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

// The number text rule of the decoders: how wide a reading's text is, with
// how many decimals, and the reading cut to them.
class NumberText
{
public:
    NumberText() = delete;

    // Field width and decimals of a number text for `value`.
    static void fieldFor(double value, int &fieldWidth, int &precision);
    // `value` truncated toward zero to `precision` decimals; a zero result is
    // +0 and a non-finite value stays as it is.
    static double cut(double value, int precision);
};
