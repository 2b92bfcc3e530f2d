// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// A whole-number value with its display text and unit.
struct ValueBoxInt
{
    QString text;
    int value = 0;
    QString unit;

    QString toString() const;
};
