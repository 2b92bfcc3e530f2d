// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "cli/recordwriter.h"
#include "journal/sessionreader.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QString>

class QIODevice;

// Reads a journal back for the logger: its sessions as JSON lines, or the
// records of one session written out exactly as the logger wrote them when
// they arrived, decoded again from their frames with their own time stamps.
class JournalPrinter
{
    Q_DECLARE_TR_FUNCTIONS(JournalPrinter)

public:
    explicit JournalPrinter(const QString &fileName);

    // False for a file that is no usable journal, and for a missing one:
    // reading back creates no file.
    [[nodiscard]] bool open();
    // The reader's connection to the journal.
    QSqlDatabase database() const { return m_reader.database(); }
    // Every session, the oldest first, one line each.
    [[nodiscard]] bool writeSessions(QIODevice &out);
    // Every test, the oldest first, one line each; sessions that no program
    // cut into tests yet are cut first, and the tests kept in the journal.
    // Predictions as TestJson makes them, from `predictAtSeconds`.
    [[nodiscard]] bool writeTests(QIODevice &out, double predictAtSeconds = -1);
    bool hasSession(qint64 id) const;
    [[nodiscard]] bool writeSession(qint64 id, RecordWriter &writer);

    int liveWritten() const { return m_liveWritten; }
    int storedWritten() const { return m_storedWritten; }
    QString errorString() const { return m_error; }

private:
    bool writeReading(const JournalReading &reading, RecordWriter &writer);
    bool fail(const QString &reason);

    QString m_fileName;
    SessionReader m_reader;
    int m_liveWritten = 0;
    int m_storedWritten = 0;
    QString m_error;
};
