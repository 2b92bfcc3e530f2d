// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QSqlDatabase>

class ReadingStore;
class TestStore;

// Brings the tests of ended sessions up to date with their readings: a
// session written by a program that did not cut it into tests (the logger,
// an older version, one that crashed mid-test) is cut now, the same way.
class TestIndex
{
public:
    TestIndex() = delete;

    // The session's readings after those already cut; a test still running
    // at the last of them was interrupted. False when the journal failed.
    static bool update(QSqlDatabase database, qint64 sessionId);
    // Every ended session.
    static bool updateEnded(QSqlDatabase database);
};
