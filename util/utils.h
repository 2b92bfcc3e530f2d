// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

// Static helpers shared by several parts of the program; never instantiated.
class Utils : public QObject
{
public:
    Utils() = delete;

    // Sum of `len` bytes taken as unsigned values; 0 for len <= 0.
    static int getCheckSum(const char *data, int len);
};
