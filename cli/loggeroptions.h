// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QDate>
#include <QString>

// What one run of the logger is asked to do, as read from its command line.
struct LoggerOptions
{
    enum class Format { Jsonl, Csv };

    bool list = false;
    QString device;        // empty: the only meter attached
    QString replay;        // a capture to decode instead of a meter
    QString capture;       // where the raw stream bytes also go
    Format format = Format::Jsonl;
    QString output;        // jsonl: a file (empty: standard output); csv: a directory
    int samples = -1;      // live records to write; -1: no limit
    qint64 timeMs = -1;    // how long to log; -1: until stopped
    int intervalMs = 0;    // 0: every live record is a sample
    bool testTimeOnly = false;
    bool liveOnly = false;
    bool storedOnly = false;
    QString database;      // the journal the run is kept in, or read back from
    bool listSessions = false;
    bool listTests = false;
    qint64 session = -1;   // the journal session to print; -1: none
    double predictAt = -1; // --list-tests: predict from the readings up to this elapsed time; -1: up to 10 min
    qint64 reportTest = -1; // the journal test to report on as PDF; -1: none
    QString reportItem;     // the item whose tests to report on as PDF
    QDate from;             // the item's tests from this day on; null: open
    QDate to;               // up to this day, included
    qint64 setDetails = -1; // the journal test whose details standard input gives; -1: none
    bool sync = false;      // sync the journal with the team server when the run ends (or the details are saved)

    // Reads a journal back instead of logging.
    bool reports() const { return reportTest > 0 || !reportItem.isEmpty(); }
    bool readsJournal() const { return listSessions || listTests || session > 0 || reports() || setDetails > 0; }
};
