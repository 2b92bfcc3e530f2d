// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "journal/journalreading.h"

#include <QMap>
#include <QMetaType>
#include <QPair>
#include <QString>

// One session of acquisition as the journal lists it: from Start (or the
// logger's start) to its close or the program's exit.
struct JournalSession
{
    qint64 id = -1; // -1 until the session is in the journal
    QString uuid;
    QString source; // "window" or "logger"
    qint64 startedMs = 0;
    qint64 endedMs = -1; // -1 while it runs, or when it never ended
    bool cleanEnd = false;
    QString meterPath;
    QString serialNumber;
    QString manufacturer;
    QString product;
    QString programVersion;
    // Readings by kind and mode.
    QMap<QPair<int, int>, int> counts;

    int count(JournalReading::Kind kind) const;
    int total() const;
    bool hasEnded() const { return endedMs >= 0; }
};

Q_DECLARE_METATYPE(JournalSession)
