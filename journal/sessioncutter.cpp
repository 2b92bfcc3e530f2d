// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "journal/sessioncutter.h"

#include "insulation/testsegmenter.h"
#include "journal/readingstore.h"
#include "journal/scopedtransaction.h"
#include "journal/teststore.h"

#include <QSqlQuery>
#include <QVariant>

#include <limits>

bool SessionCutter::cut(QSqlDatabase database, qint64 sessionId)
{
    TestStore tests(database);
    const ReadingStore readings(database);
    const qint64 through = tests.throughSeq(sessionId);
    const qint64 last = readings.nextSeq(sessionId) - 1;
    if (last <= through)
        return true;

    // Another program on the same file (the window, the logger, a sync) may
    // have cut the session meanwhile; read again inside the transaction, so
    // that a cut made after this read makes this one's commit fail instead
    // of keeping every test twice.
    ScopedTransaction transaction(database);
    if (tests.throughSeq(sessionId) != through)
        return true;
    TestSegmenter segmenter;
    bool kept = true;
    QObject::connect(&segmenter, &TestSegmenter::testFinished, [&](const InsulationTest &finished) {
        InsulationTest test = finished;
        test.sessionId = sessionId;
        kept = tests.add(test) && kept;
    });
    const bool read = readings.segment(sessionId, through + 1, std::numeric_limits<qint64>::max(), segmenter);
    segmenter.finish();
    return read && kept && tests.setThroughSeq(sessionId, last) && transaction.commit();
}

bool SessionCutter::cutEnded(QSqlDatabase database)
{
    QSqlQuery query(database);
    query.setForwardOnly(true);
    // Only the sessions with readings not cut yet: a synced journal holds the
    // whole team's sessions.
    if (!query.exec(QStringLiteral("SELECT id FROM sessions WHERE ended_ms IS NOT NULL AND tests_through_seq <"
                                   " coalesce((SELECT max(seq) FROM readings WHERE session_id = sessions.id), -1)"
                                   " ORDER BY id")))
        return false;
    QList<qint64> sessions;
    while (query.next())
        sessions << query.value(0).toLongLong();
    bool done = true;
    for (const qint64 session : sessions)
        done = cut(database, session) && done;
    return done;
}
