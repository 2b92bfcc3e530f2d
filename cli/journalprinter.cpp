// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "cli/journalprinter.h"

#include "cli/sessionjson.h"
#include "cli/testjson.h"
#include "journal/readingstore.h"
#include "journal/teststore.h"

#include <QFileInfo>
#include <QIODevice>

#include <algorithm>

JournalPrinter::JournalPrinter(const QString &fileName)
    : m_fileName(fileName)
    , m_reader(fileName)
{
}

bool JournalPrinter::open()
{
    if (!QFileInfo::exists(m_fileName))
        return fail(tr("There is no such file."));
    if (m_reader.open())
        return true;
    return fail(m_reader.errorString());
}

bool JournalPrinter::writeSessions(QIODevice &out)
{
    QList<JournalSession> sessions = m_reader.sessions();
    std::reverse(sessions.begin(), sessions.end());
    for (const JournalSession &session : qAsConst(sessions)) {
        const QByteArray line = SessionJson::line(session) + '\n';
        if (out.write(line) != line.size())
            return fail(tr("Cannot write the sessions: %1").arg(out.errorString()));
    }
    return true;
}

bool JournalPrinter::writeTests(QIODevice &out, double predictAtSeconds)
{
    const QSqlDatabase database = m_reader.database();
    const TestStore store(database);
    const ReadingStore readings(database);
    QList<InsulationTest> tests = store.list();
    std::reverse(tests.begin(), tests.end());
    for (const InsulationTest &listed : qAsConst(tests)) {
        const InsulationTest test = store.load(listed.id, readings).value_or(listed);
        const QByteArray line = TestJson::line(test, store.details(test.id), predictAtSeconds) + '\n';
        if (out.write(line) != line.size())
            return fail(tr("Cannot write the tests: %1").arg(out.errorString()));
    }
    return true;
}

bool JournalPrinter::hasSession(qint64 id) const
{
    return m_reader.session(id).has_value();
}

// The journal is read as a stream, so a session of any length needs no
// more memory than one record.
bool JournalPrinter::writeSession(qint64 id, RecordWriter &writer)
{
    m_error.clear();
    const bool read = m_reader.forEachReading(
        id, [&](const JournalReading &reading) { return writeReading(reading, writer); });
    if (!m_error.isEmpty())
        return false;
    if (!read)
        return fail(m_reader.errorString());
    return true;
}

// A frame that decodes into no record was never written by the logger nor
// shown by the window, and is left out here too.
bool JournalPrinter::writeReading(const JournalReading &reading, RecordWriter &writer)
{
    const QSharedPointer<DMMData> record = reading.record();
    if (!record)
        return true;
    const bool live = reading.kind == JournalReading::Live;
    if (!writer.write(live ? RecordWriter::Kind::Live : RecordWriter::Kind::Stored, record))
        return fail(writer.errorString());
    ++(live ? m_liveWritten : m_storedWritten);
    return true;
}

bool JournalPrinter::fail(const QString &reason)
{
    m_error = reason;
    return false;
}
