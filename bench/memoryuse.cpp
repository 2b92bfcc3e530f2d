// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "bench/memoryuse.h"

#include <cstdio>

#include <malloc.h>
#include <unistd.h>

// The second field of /proc/self/statm counts resident pages.
long long MemoryUse::resident()
{
    std::FILE *statm = std::fopen("/proc/self/statm", "r");
    if (!statm)
        return 0;
    long long size = 0;
    long long resident = 0;
    const int read = std::fscanf(statm, "%lld %lld", &size, &resident);
    std::fclose(statm);
    return read == 2 ? resident * sysconf(_SC_PAGESIZE) : 0;
}

// Small blocks and those mapped on their own.
long long MemoryUse::heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return static_cast<long long>(info.uordblks + info.hblkhd);
}
