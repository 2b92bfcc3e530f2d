// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "bench/residentmemory.h"

#include <cstdio>

#include <unistd.h>

// The second field of /proc/self/statm counts resident pages.
long long ResidentMemory::bytes()
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
