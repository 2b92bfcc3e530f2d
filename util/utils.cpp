// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "util/utils.h"

int Utils::getCheckSum(const char *data, int len)
{
    int sum = 0;
    for (int i = 0; i < len; ++i)
        sum += static_cast<unsigned char>(data[i]);
    return sum;
}
