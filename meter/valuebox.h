// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// A measured value with its display text and unit.
struct ValueBox
{
    QString text;
    double value = 0.0;
    QString unit;

    // "text unit". A non-finite value is first normalised in the box itself
    // to 0 with the text "-", so every later reader sees the same.
    QString toString();
};
