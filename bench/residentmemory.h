// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

// The process's resident size, as the kernel counts it.
class ResidentMemory
{
public:
    ResidentMemory() = delete;

    // Bytes resident now; 0 where the kernel does not tell.
    static long long bytes();
};
