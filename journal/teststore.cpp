// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "journal/teststore.h"

#include "insulation/testsegmenter.h"
#include "journal/readingstore.h"
#include "journal/sqlvalue.h"

#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <QVariant>

#include <limits>

namespace {
const QString testColumns = QStringLiteral(
    "id, uuid, session_id, first_seq, last_seq, mode, origin, status, started_ms, ended_ms, set_volts");

InsulationTest testFrom(const QSqlQuery &query)
{
    InsulationTest test;
    test.id = query.value(0).toLongLong();
    test.uuid = query.value(1).toString();
    test.sessionId = query.value(2).toLongLong();
    test.firstSeq = query.value(3).toLongLong();
    test.lastSeq = query.value(4).toLongLong();
    test.mode = query.value(5).toInt();
    test.origin = query.value(6).toInt() == 1 ? InsulationTest::Origin::Memory : InsulationTest::Origin::Live;
    test.status = query.value(7).toInt() == 2 ? InsulationTest::Status::Interrupted
                                              : InsulationTest::Status::Completed;
    test.startedMs = query.value(8).toLongLong();
    test.endedMs = query.value(9).toLongLong();
    test.setVolts = query.value(10).toInt();
    return test;
}
} // namespace

TestStore::TestStore(QSqlDatabase database)
    : m_database(std::move(database))
{
}

bool TestStore::add(InsulationTest &test, RowOrigin origin)
{
    if (test.uuid.isEmpty())
        test.uuid = QUuid::createUuid().toString(QUuid::WithoutBraces);
    QSqlQuery query(m_database);
    query.prepare(QStringLiteral("INSERT INTO tests (uuid, session_id, first_seq, last_seq, mode, origin, status,"
                                 " started_ms, ended_ms, set_volts, synced) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    for (const QVariant &value :
         {QVariant(test.uuid), QVariant(test.sessionId), QVariant(test.firstSeq), QVariant(test.lastSeq),
          QVariant(test.mode), QVariant(test.origin == InsulationTest::Origin::Memory ? 1 : 0),
          QVariant(test.status == InsulationTest::Status::Interrupted ? 2 : 1), QVariant(test.startedMs),
          QVariant(test.endedMs), QVariant(test.setVolts), QVariant(origin == RowOrigin::Server ? 1 : 0)})
        query.addBindValue(value);
    if (!query.exec()) {
        m_error = query.lastError().text();
        return false;
    }
    test.id = query.lastInsertId().toLongLong();
    return true;
}

bool TestStore::saveDetails(qint64 testId, const TestDetails &details)
{
    QSqlQuery query(m_database);
    query.prepare(QStringLiteral(
        "INSERT INTO test_details (test_id, equipment, kind, rated_kv, insulation_class, winding,"
        " insulation_celsius, ambient_celsius, humidity_percent, operator, notes, base_celsius, halving_celsius,"
        " correction, test_point, tested_ms, medium, maker_minimum_megohms, maker_minimum_celsius, maker_minimum_pi,"
        " updated_ms) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"
        // An edit is a new version of the details; the shared server tells
        // edits apart by it.
        " ON CONFLICT (test_id) DO UPDATE SET equipment = excluded.equipment, kind = excluded.kind,"
        " rated_kv = excluded.rated_kv, insulation_class = excluded.insulation_class, winding = excluded.winding,"
        " insulation_celsius = excluded.insulation_celsius, ambient_celsius = excluded.ambient_celsius,"
        " humidity_percent = excluded.humidity_percent, operator = excluded.operator, notes = excluded.notes,"
        " base_celsius = excluded.base_celsius, halving_celsius = excluded.halving_celsius,"
        " correction = excluded.correction, test_point = excluded.test_point, tested_ms = excluded.tested_ms,"
        " medium = excluded.medium, maker_minimum_megohms = excluded.maker_minimum_megohms,"
        " maker_minimum_celsius = excluded.maker_minimum_celsius, maker_minimum_pi = excluded.maker_minimum_pi,"
        " updated_ms = excluded.updated_ms, version = test_details.version + 1"));
    for (const QVariant &value :
         {QVariant(testId), SqlValue::ofText(details.equipment), QVariant(int(details.kind)),
          SqlValue::ofNumber(details.ratedKilovolts), QVariant(int(details.insulationClass)),
          QVariant(int(details.winding)), SqlValue::ofNumber(details.insulationCelsius),
          SqlValue::ofNumber(details.ambientCelsius), SqlValue::ofNumber(details.humidityPercent),
          SqlValue::ofText(details.operatorName), SqlValue::ofText(details.notes),
          SqlValue::ofNumber(details.baseCelsius), SqlValue::ofNumber(details.halvingCelsius),
          QVariant(int(details.correction)), SqlValue::ofText(details.testPoint.trimmed()),
          QVariant(qMax<qint64>(0, details.testedMs)), QVariant(int(details.medium)),
          SqlValue::ofNumber(details.makerMinimumMegohms), SqlValue::ofNumber(details.makerMinimumCelsius),
          SqlValue::ofNumber(details.makerMinimumPi), QVariant(QDateTime::currentMSecsSinceEpoch())})
        query.addBindValue(value);
    if (!query.exec()) {
        m_error = query.lastError().text();
        return false;
    }
    // The test belongs to the item its details name, when the register has it.
    QSqlQuery link(m_database);
    link.prepare(QStringLiteral("UPDATE test_details SET equipment_id ="
                                " (SELECT id FROM equipment WHERE tag = trim(test_details.equipment) COLLATE NOCASE)"
                                " WHERE test_id = ?"));
    link.addBindValue(testId);
    link.exec();
    return true;
}

TestDetails TestStore::details(qint64 testId) const
{
    TestDetails details;
    QSqlQuery query(m_database);
    query.prepare(QStringLiteral(
        "SELECT equipment, kind, rated_kv, insulation_class, winding, insulation_celsius, ambient_celsius,"
        " humidity_percent, operator, notes, base_celsius, halving_celsius, correction, test_point, tested_ms,"
        " medium, maker_minimum_megohms, maker_minimum_celsius, maker_minimum_pi FROM test_details WHERE test_id = ?"));
    query.addBindValue(testId);
    if (!query.exec() || !query.next())
        return details;
    details.equipment = query.value(0).toString();
    details.kind = TestDetails::EquipmentKind(qBound(0, query.value(1).toInt(), 3));
    details.ratedKilovolts = SqlValue::toNumber(query.value(2));
    details.insulationClass = TestDetails::InsulationClass(qBound(0, query.value(3).toInt(), 4));
    details.winding = TestDetails::WindingType(qBound(0, query.value(4).toInt(), 3));
    details.insulationCelsius = SqlValue::toNumber(query.value(5));
    details.ambientCelsius = SqlValue::toNumber(query.value(6));
    details.humidityPercent = SqlValue::toNumber(query.value(7));
    details.operatorName = query.value(8).toString();
    details.notes = query.value(9).toString();
    details.baseCelsius = SqlValue::toNumber(query.value(10));
    details.halvingCelsius = query.value(11).isNull() ? 10.0 : query.value(11).toDouble();
    details.correction = query.value(12).toInt() == 1 ? TestDetails::Correction::Halving
                                                      : TestDetails::Correction::Standard;
    details.testPoint = query.value(13).toString();
    details.testedMs = qMax<qint64>(0, query.value(14).toLongLong());
    details.medium = TestDetails::InsulationMedium(qBound(0, query.value(15).toInt(), 2));
    details.makerMinimumMegohms = SqlValue::toNumber(query.value(16));
    details.makerMinimumCelsius = SqlValue::toNumber(query.value(17));
    details.makerMinimumPi = SqlValue::toNumber(query.value(18));
    return details;
}

QList<InsulationTest> TestStore::list(qint64 fromMs, qint64 toMs) const
{
    return select(QStringLiteral("WHERE started_ms >= ? AND started_ms < ? ORDER BY started_ms DESC, id DESC"),
                  {fromMs < 0 ? std::numeric_limits<qint64>::min() : fromMs,
                   toMs < 0 ? std::numeric_limits<qint64>::max() : toMs});
}

QList<InsulationTest> TestStore::ofSession(qint64 sessionId) const
{
    return select(QStringLiteral("WHERE session_id = ? ORDER BY first_seq"), {sessionId});
}

std::optional<InsulationTest> TestStore::find(qint64 id) const
{
    const QList<InsulationTest> found = select(QStringLiteral("WHERE id = ?"), {id});
    if (found.isEmpty())
        return std::nullopt;
    return found.first();
}

qint64 TestStore::idOf(const QString &uuid, bool *ok) const
{
    QSqlQuery query(m_database);
    query.prepare(QStringLiteral("SELECT id FROM tests WHERE uuid = ?"));
    query.addBindValue(uuid);
    const bool read = query.exec();
    if (!read)
        m_error = query.lastError().text();
    if (ok)
        *ok = read;
    return read && query.next() ? query.value(0).toLongLong() : -1;
}

// The readings are cut again exactly as they were: the same readings with
// the same times make the same test.
std::optional<InsulationTest> TestStore::load(qint64 id, const ReadingStore &readings) const
{
    std::optional<InsulationTest> stored = find(id);
    if (!stored)
        return std::nullopt;
    TestSegmenter segmenter;
    std::optional<InsulationTest> made;
    QObject::connect(&segmenter, &TestSegmenter::testFinished, [&made, &stored](const InsulationTest &test) {
        if (!made && test.firstSeq == stored->firstSeq)
            made = test;
    });
    const bool read = readings.segment(stored->sessionId, stored->firstSeq, stored->lastSeq, segmenter);
    segmenter.finish();
    if (!read || !made)
        return stored;
    InsulationTest test = *made;
    test.id = stored->id;
    test.uuid = stored->uuid;
    test.sessionId = stored->sessionId;
    test.status = stored->status;
    return test;
}

qint64 TestStore::throughSeq(qint64 sessionId) const
{
    QSqlQuery query(m_database);
    query.prepare(QStringLiteral("SELECT tests_through_seq FROM sessions WHERE id = ?"));
    query.addBindValue(sessionId);
    return query.exec() && query.next() ? query.value(0).toLongLong() : -1;
}

bool TestStore::setThroughSeq(qint64 sessionId, qint64 seq)
{
    QSqlQuery query(m_database);
    query.prepare(QStringLiteral("UPDATE sessions SET tests_through_seq = ? WHERE id = ?"));
    query.addBindValue(seq);
    query.addBindValue(sessionId);
    if (query.exec())
        return true;
    m_error = query.lastError().text();
    return false;
}

QList<InsulationTest> TestStore::select(const QString &where, const QVariantList &values) const
{
    QList<InsulationTest> tests;
    QSqlQuery query(m_database);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT %1 FROM tests %2").arg(testColumns, where));
    for (const QVariant &value : values)
        query.addBindValue(value);
    if (!query.exec()) {
        m_error = query.lastError().text();
        return tests;
    }
    while (query.next())
        tests.append(testFrom(query));
    return tests;
}
