// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QSqlDatabase>

// Brings up to date what the journal derives from its records: ended
// sessions that no program cut are cut into tests, and tests that name
// their equipment in free text join the register's item of that tag (a new
// item when the register has none). Runs where the records change, once:
// when a program opens a journal (an older one, or one a program left
// behind), and when a sync brought records down. Whatever lists, prints or
// exports the journal only reads.
class JournalUpkeep
{
public:
    JournalUpkeep() = delete;

    // False when part of it failed; what could be done is done.
    static bool catchUp(QSqlDatabase journal);
};
