// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QSqlDatabase>

class ReadingStore;
class TestStore;

// Cuts a session's readings into tests the way the window does while it
// records: a session written by a program that did not (the logger, an
// older version, one that crashed mid-test) is cut once it has ended.
class SessionCutter
{
public:
    SessionCutter() = delete;

    // The session's readings after those already cut; a test still running
    // at the last of them was interrupted. False when the journal failed.
    static bool cut(QSqlDatabase database, qint64 sessionId);
    // Every ended session with readings not cut yet.
    static bool cutEnded(QSqlDatabase database);
};
