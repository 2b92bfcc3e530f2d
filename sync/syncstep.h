// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

// The points of a sync at which it may be stopped (the program closing, the
// user switching sync off): what was sent before one is on the server or
// will be sent again, never twice.
enum class SyncStep {
    RecordSent,   // a register item's or a test's details went up
    ReadingsSent, // a batch of a session's readings went up, not yet committed
    SessionSent,  // a session is committed on the server, not yet marked here
    TestsSent,    // tests are committed on the server, not yet marked here
    Received,     // something came down and is in the journal
};
