// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

// How much memory the process uses: resident, as the kernel counts it, and
// in use on the heap, as the allocator counts it. Differences of the first
// can hide memory that earlier work freed and later work reused; the second
// counts every allocation where it was made.
class MemoryUse
{
public:
    MemoryUse() = delete;

    // Bytes resident now; 0 where the kernel does not tell.
    static long long resident();
    // Bytes of the heap handed out and not yet freed.
    static long long heapInUse();
};
