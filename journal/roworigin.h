// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

// Where a session or a test in the journal was made: here, waiting to go up
// to the team's server, or in another journal, come down from the server and
// never going back up.
enum class RowOrigin {
    Here,
    Server,
};
