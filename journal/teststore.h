// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "insulation/insulationtest.h"
#include "insulation/testdetails.h"
#include "journal/roworigin.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <optional>

class ReadingStore;

// The tests table of a journal and the details kept with each test. A test
// is kept as the readings it was cut from; its curve and final values are
// made again from them when it is loaded.
class TestStore
{
public:
    explicit TestStore(QSqlDatabase database);

    // Keeps a finished test; its id (and a new uuid when it has none) is set.
    // A test that came from the server is on the server already.
    bool add(InsulationTest &test, RowOrigin origin = RowOrigin::Here);
    bool saveDetails(qint64 testId, const TestDetails &details);
    // Empty details when none were given.
    TestDetails details(qint64 testId) const;

    // Tests started from `fromMs` up to `toMs` (-1 leaves a side open), the
    // newest first, as the list shows them: without their curves.
    QList<InsulationTest> list(qint64 fromMs = -1, qint64 toMs = -1) const;
    QList<InsulationTest> ofSession(qint64 sessionId) const;
    std::optional<InsulationTest> find(qint64 id) const;
    // The id of the test of that uuid, or -1; `ok` is false when the journal
    // could not be read.
    qint64 idOf(const QString &uuid, bool *ok = nullptr) const;
    // The test with its curve and final values, from its readings.
    std::optional<InsulationTest> load(qint64 id, const ReadingStore &readings) const;

    // How far a session's readings are cut into tests: the last reading
    // looked at, or -1.
    qint64 throughSeq(qint64 sessionId) const;
    bool setThroughSeq(qint64 sessionId, qint64 seq);

    QString errorString() const { return m_error; }

private:
    QList<InsulationTest> select(const QString &where, const QVariantList &values) const;

    QSqlDatabase m_database;
    mutable QString m_error;
};
