// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "journal/journalsession.h"

int JournalSession::count(JournalReading::Kind kind) const
{
    int sum = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.key().first == kind)
            sum += it.value();
    }
    return sum;
}

int JournalSession::total() const
{
    return count(JournalReading::Live) + count(JournalReading::Stored);
}
