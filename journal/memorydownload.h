// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "hid/hiddevinfo.h"

#include <QByteArray>
#include <QHash>
#include <QSqlDatabase>

// Tells the records a download of the meter's memory brings for the first
// time from those the journal (or this run) already keeps from that meter.
//
// The meter sends its whole memory each time, with no count, no numbers and
// no markers. A record is known by the meter, its frame and how many of the
// same frame came before it in the same download: the n-th copy of a frame
// is new only when fewer than n copies from that meter are kept. Two equal
// results measured one after the other thus stay two, and a third download
// of both adds nothing.
class MemoryDownload
{
public:
    // Without a valid database only this run's records are known.
    explicit MemoryDownload(QSqlDatabase database = QSqlDatabase());

    // The meter the next records come from; a download ends with it.
    void setMeter(const HIDDevInfo &meter);
    // A live frame or a pause ends a download; the next stored frame begins one.
    void end();
    static constexpr qint64 pauseEndsDownloadMs = 3000;

    // Counts the record as part of the running download; true when it is
    // new, which also makes it known from now on.
    bool admit(const QByteArray &frame, qint64 timeMs);
    // The records of the running (or last) download, and the new ones among them.
    int records() const { return m_records; }
    int fresh() const { return m_fresh; }

    // Readings deleted from the journal are no longer known.
    void forgetKnown() { m_known.clear(); }

private:
    int knownCopies(const QByteArray &frame);

    QSqlDatabase m_database;
    HIDDevInfo m_meter;
    // Copies of each frame kept so far from this meter, learned from the
    // journal the first time a frame comes.
    QHash<QByteArray, int> m_known;
    // Copies of each frame in the running download.
    QHash<QByteArray, int> m_seen;
    bool m_running = false;
    qint64 m_lastMs = 0;
    int m_records = 0;
    int m_fresh = 0;
};
