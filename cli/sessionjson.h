// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>

struct JournalSession;

// One journal session as a single line of JSON, as --list-sessions prints
// it: its id, uuid, source, start and end (ISO 8601 with the local offset,
// as records are stamped; null when it never ended), whether it ended
// cleanly, the meter, the program version and its readings counted by kind
// and mode, with the mode names of the records' own lines.
class SessionJson
{
public:
    SessionJson() = delete;

    // Without a line end.
    static QByteArray line(const JournalSession &session);
};
