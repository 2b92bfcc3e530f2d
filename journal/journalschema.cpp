// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "journal/journalschema.h"

#include "journal/tagkey.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QPair>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("JournalSchema", text);
}

// Every item gets its tag's key. Tags that NOCASE told apart but the key
// does not ("PUMPE-Ä1", "PUMPE-ä1") cannot both stay: the item added first
// keeps its tag, a later one gets a number after it, as a new version that
// goes to the server like any edit, its old version kept in the history.
bool keyTags(const QSqlDatabase &database, QString &error)
{
    QSqlQuery items(database);
    items.setForwardOnly(true);
    if (!items.exec(QStringLiteral("SELECT id, uuid, tag FROM equipment ORDER BY id"))) {
        error = items.lastError().text();
        return false;
    }
    QList<std::tuple<qint64, QString, QString>> all;
    while (items.next())
        all.append({items.value(0).toLongLong(), items.value(1).toString(), items.value(2).toString()});
    items.finish();
    QSet<QString> keys;
    QSqlQuery query(database);
    for (const auto &[id, uuid, tag] : qAsConst(all)) {
        const QString kept = TagKey::unclaimed(tag, keys);
        if (kept != tag) {
            query.prepare(QStringLiteral(
                "INSERT INTO equipment_history (equipment_uuid, version, tag, description, site, location, kind,"
                " rated_kv, insulation_class, winding, base_celsius, notes, updated_ms, kept_ms, reason)"
                " SELECT uuid, version, tag, description, site, location, kind, rated_kv, insulation_class,"
                " winding, base_celsius, notes, updated_ms, ?, 'tag clash' FROM equipment WHERE id = ?"));
            query.addBindValue(QDateTime::currentMSecsSinceEpoch());
            query.addBindValue(id);
            if (!query.exec()) {
                error = query.lastError().text();
                return false;
            }
        }
        query.prepare(QStringLiteral("UPDATE equipment SET tag = ?, tag_key = ?,"
                                     " version = version + ?, updated_ms = CASE WHEN ? THEN ? ELSE updated_ms END"
                                     " WHERE id = ?"));
        const bool renamed = kept != tag;
        for (const QVariant &value : {QVariant(kept), QVariant(TagKey::of(kept)), QVariant(renamed ? 1 : 0),
                                      QVariant(renamed ? 1 : 0), QVariant(QDateTime::currentMSecsSinceEpoch()),
                                      QVariant(id)})
            query.addBindValue(value);
        if (!query.exec()) {
            error = query.lastError().text();
            return false;
        }
    }
    if (!query.exec(QStringLiteral("CREATE UNIQUE INDEX equipment_by_tag_key ON equipment (tag_key)"))) {
        error = query.lastError().text();
        return false;
    }
    return true;
}

// What the item's own columns are, in the register and beside each test's
// details, and in the history of both.
QStringList itemLimitColumns(const QString &table)
{
    return {QStringLiteral("ALTER TABLE %1 ADD COLUMN medium INTEGER NOT NULL DEFAULT 0").arg(table), // 1 solid, 2 oil
            QStringLiteral("ALTER TABLE %1 ADD COLUMN maker_minimum_megohms REAL").arg(table),
            QStringLiteral("ALTER TABLE %1 ADD COLUMN maker_minimum_celsius REAL").arg(table),
            QStringLiteral("ALTER TABLE %1 ADD COLUMN maker_minimum_pi REAL").arg(table)};
}

QStringList detailsRevision7()
{
    QStringList statements;
    for (const QString &table : {QStringLiteral("test_details"), QStringLiteral("test_details_history")}) {
        statements << QStringLiteral("ALTER TABLE %1 ADD COLUMN test_point TEXT NOT NULL DEFAULT ''").arg(table)
                   << QStringLiteral("ALTER TABLE %1 ADD COLUMN tested_ms INTEGER NOT NULL DEFAULT 0").arg(table)
                   // 0 the standard's way, 1 the halving formula
                   << QStringLiteral("ALTER TABLE %1 ADD COLUMN correction INTEGER NOT NULL DEFAULT 0").arg(table)
                   << itemLimitColumns(table)
                   << QStringLiteral("UPDATE %1 SET correction = 1 WHERE halving_celsius <> 10").arg(table);
    }
    for (const QString &table : {QStringLiteral("equipment"), QStringLiteral("equipment_history")})
        statements << itemLimitColumns(table);
    return statements;
}
} // namespace

// Times are milliseconds since the epoch, in UTC. A reading keeps the frame
// it was decoded from: the decoder makes the rest of the record from it, and
// nothing the meter sent is lost to a rounding or a format.
const std::vector<JournalSchema::Revision> &JournalSchema::revisions()
{
    static const std::vector<Revision> all = {
        {1, 1,
         {QStringLiteral("CREATE TABLE journal_info ("
                         " name TEXT PRIMARY KEY,"
                         " value INTEGER NOT NULL"
                         ") WITHOUT ROWID"),
          QStringLiteral("CREATE TABLE sessions ("
                         " id INTEGER PRIMARY KEY,"
                         " uuid TEXT NOT NULL UNIQUE,"
                         " source TEXT NOT NULL,"          // "window" or "logger"
                         " started_ms INTEGER NOT NULL,"
                         " ended_ms INTEGER,"              // null until the session ends
                         " clean_end INTEGER NOT NULL DEFAULT 0,"
                         " meter_path TEXT NOT NULL DEFAULT '',"
                         " serial_number TEXT NOT NULL DEFAULT '',"
                         " manufacturer TEXT NOT NULL DEFAULT '',"
                         " product TEXT NOT NULL DEFAULT '',"
                         " program_version TEXT NOT NULL DEFAULT ''"
                         ")"),
          QStringLiteral("CREATE INDEX sessions_by_start ON sessions (started_ms)"),
          QStringLiteral("CREATE TABLE readings ("
                         " session_id INTEGER NOT NULL REFERENCES sessions (id) ON DELETE CASCADE,"
                         " seq INTEGER NOT NULL,"          // order within the session, from 0
                         " kind INTEGER NOT NULL,"         // 0 live, 1 stored
                         " mode INTEGER NOT NULL,"
                         " time_ms INTEGER NOT NULL,"      // when the frame was decoded
                         " frame BLOB NOT NULL,"
                         " PRIMARY KEY (session_id, seq)"
                         ") WITHOUT ROWID")}},
        // Listing sessions must not count every reading of every session.
        {2, 1,
         {QStringLiteral("CREATE TABLE session_counts ("
                         " session_id INTEGER NOT NULL REFERENCES sessions (id) ON DELETE CASCADE,"
                         " kind INTEGER NOT NULL,"
                         " mode INTEGER NOT NULL,"
                         " count INTEGER NOT NULL,"
                         " PRIMARY KEY (session_id, kind, mode)"
                         ") WITHOUT ROWID"),
          QStringLiteral("INSERT INTO session_counts (session_id, kind, mode, count)"
                         " SELECT readings.session_id, kind, mode, count(*) FROM readings"
                         " JOIN sessions ON sessions.id = readings.session_id"
                         " WHERE sessions.ended_ms IS NOT NULL"
                         " GROUP BY readings.session_id, kind, mode")}},
        // Tests: the runs of readings the meter tested with, and what the
        // technician tells about each. A test's curve and values are made
        // again from its readings; `tests_through_seq` says how far a
        // session's readings have been cut into tests.
        {3, 1,
         {QStringLiteral("ALTER TABLE sessions ADD COLUMN tests_through_seq INTEGER NOT NULL DEFAULT -1"),
          QStringLiteral("CREATE TABLE tests ("
                         " id INTEGER PRIMARY KEY,"
                         " uuid TEXT NOT NULL UNIQUE,"
                         " session_id INTEGER NOT NULL REFERENCES sessions (id) ON DELETE CASCADE,"
                         " first_seq INTEGER NOT NULL,"
                         " last_seq INTEGER NOT NULL,"
                         " mode INTEGER NOT NULL,"
                         " origin INTEGER NOT NULL,"        // 0 live readings, 1 the meter's memory
                         " status INTEGER NOT NULL,"        // 1 completed, 2 interrupted
                         " started_ms INTEGER NOT NULL,"
                         " ended_ms INTEGER NOT NULL,"
                         " set_volts INTEGER NOT NULL DEFAULT 0"
                         ")"),
          QStringLiteral("CREATE INDEX tests_by_session ON tests (session_id, first_seq)"),
          QStringLiteral("CREATE INDEX tests_by_start ON tests (started_ms)"),
          QStringLiteral("CREATE TABLE test_details ("
                         " test_id INTEGER PRIMARY KEY REFERENCES tests (id) ON DELETE CASCADE,"
                         " equipment TEXT NOT NULL DEFAULT '',"
                         " kind INTEGER NOT NULL DEFAULT 3,"
                         " rated_kv REAL,"
                         " insulation_class INTEGER NOT NULL DEFAULT 0,"
                         " winding INTEGER NOT NULL DEFAULT 0,"
                         " insulation_celsius REAL,"
                         " ambient_celsius REAL,"
                         " humidity_percent REAL,"
                         " operator TEXT NOT NULL DEFAULT '',"
                         " notes TEXT NOT NULL DEFAULT '',"
                         " base_celsius REAL,"
                         " halving_celsius REAL NOT NULL DEFAULT 10"
                         ")")}},
        // The equipment register. A test's details name their item by its
        // tag; `equipment_id` links them once the tag is in the register.
        {4, 1,
         {QStringLiteral("CREATE TABLE equipment ("
                         " id INTEGER PRIMARY KEY,"
                         " uuid TEXT NOT NULL UNIQUE,"
                         " tag TEXT NOT NULL UNIQUE COLLATE NOCASE,"
                         " description TEXT NOT NULL DEFAULT '',"
                         " site TEXT NOT NULL DEFAULT '',"
                         " location TEXT NOT NULL DEFAULT '',"
                         " kind INTEGER NOT NULL DEFAULT 3,"
                         " rated_kv REAL,"
                         " insulation_class INTEGER NOT NULL DEFAULT 0,"
                         " winding INTEGER NOT NULL DEFAULT 0,"
                         " base_celsius REAL,"
                         " notes TEXT NOT NULL DEFAULT '',"
                         " version INTEGER NOT NULL DEFAULT 1,"
                         " updated_ms INTEGER NOT NULL DEFAULT 0"
                         ")"),
          QStringLiteral("ALTER TABLE test_details ADD COLUMN equipment_id INTEGER"
                         " REFERENCES equipment (id) ON DELETE SET NULL"),
          QStringLiteral("CREATE INDEX test_details_by_equipment ON test_details (equipment_id)")}},
        // What the shared server has. Sessions and tests go up once, when
        // `synced` is 0; what came down from the server is marked synced at
        // once and never goes back. Register items and test details stay
        // editable: `synced_version` is the server's version this copy was
        // last the same as, so a copy whose `version` differs waits to go up.
        // An offline edit that lost to a newer one on the server is kept in
        // the history tables.
        {5, 1,
         {QStringLiteral("ALTER TABLE sessions ADD COLUMN synced INTEGER NOT NULL DEFAULT 0"),
          QStringLiteral("ALTER TABLE sessions ADD COLUMN from_server INTEGER NOT NULL DEFAULT 0"),
          QStringLiteral("CREATE INDEX sessions_to_sync ON sessions (synced, ended_ms)"),
          QStringLiteral("ALTER TABLE tests ADD COLUMN synced INTEGER NOT NULL DEFAULT 0"),
          QStringLiteral("CREATE INDEX tests_to_sync ON tests (synced)"),
          QStringLiteral("ALTER TABLE equipment ADD COLUMN synced_version INTEGER NOT NULL DEFAULT 0"),
          QStringLiteral("ALTER TABLE test_details ADD COLUMN version INTEGER NOT NULL DEFAULT 1"),
          QStringLiteral("ALTER TABLE test_details ADD COLUMN synced_version INTEGER NOT NULL DEFAULT 0"),
          QStringLiteral("ALTER TABLE test_details ADD COLUMN updated_ms INTEGER NOT NULL DEFAULT 0"),
          QStringLiteral("CREATE TABLE equipment_history ("
                         " id INTEGER PRIMARY KEY,"
                         " equipment_uuid TEXT NOT NULL,"
                         " version INTEGER NOT NULL,"
                         " tag TEXT NOT NULL,"
                         " description TEXT NOT NULL DEFAULT '',"
                         " site TEXT NOT NULL DEFAULT '',"
                         " location TEXT NOT NULL DEFAULT '',"
                         " kind INTEGER NOT NULL DEFAULT 3,"
                         " rated_kv REAL,"
                         " insulation_class INTEGER NOT NULL DEFAULT 0,"
                         " winding INTEGER NOT NULL DEFAULT 0,"
                         " base_celsius REAL,"
                         " notes TEXT NOT NULL DEFAULT '',"
                         " updated_ms INTEGER NOT NULL DEFAULT 0,"
                         " kept_ms INTEGER NOT NULL,"
                         " reason TEXT NOT NULL"             // "conflict"
                         ")"),
          QStringLiteral("CREATE INDEX equipment_history_by_item ON equipment_history (equipment_uuid, version)"),
          QStringLiteral("CREATE TABLE test_details_history ("
                         " id INTEGER PRIMARY KEY,"
                         " test_uuid TEXT NOT NULL,"
                         " version INTEGER NOT NULL,"
                         " equipment TEXT NOT NULL DEFAULT '',"
                         " kind INTEGER NOT NULL DEFAULT 3,"
                         " rated_kv REAL,"
                         " insulation_class INTEGER NOT NULL DEFAULT 0,"
                         " winding INTEGER NOT NULL DEFAULT 0,"
                         " insulation_celsius REAL,"
                         " ambient_celsius REAL,"
                         " humidity_percent REAL,"
                         " operator TEXT NOT NULL DEFAULT '',"
                         " notes TEXT NOT NULL DEFAULT '',"
                         " base_celsius REAL,"
                         " halving_celsius REAL NOT NULL DEFAULT 10,"
                         " updated_ms INTEGER NOT NULL DEFAULT 0,"
                         " kept_ms INTEGER NOT NULL,"
                         " reason TEXT NOT NULL"
                         ")"),
          QStringLiteral("CREATE INDEX test_details_history_by_test ON test_details_history (test_uuid, version)"),
          // The server this journal syncs with, how far its changes have come
          // down, and when the last sync finished.
          QStringLiteral("CREATE TABLE sync_info ("
                         " name TEXT PRIMARY KEY,"
                         " value TEXT NOT NULL"
                         ") WITHOUT ROWID")}},
        // Two tags are the same tag when their Unicode case folding is, on
        // the server as here; SQLite's NOCASE folds ASCII only. The key is
        // the program's to keep: an older program would add items without
        // it, so it may no longer write this journal.
        {6, 6,
         {QStringLiteral("ALTER TABLE equipment ADD COLUMN tag_key TEXT NOT NULL DEFAULT ''")},
         keyTags},
        // Where on the item a test was made, when a test from the meter's
        // memory was made, and how readings are corrected; the item's
        // insulation medium and its maker's limits, kept with the item and
        // with each test's details as the item's other fields are. Details
        // whose halving interval is not the usual 10 °C were given it by
        // the user: they keep the formula. An older program would take rows
        // that came down from the server as synced without these columns,
        // so it may no longer write this journal.
        {7, 7, detailsRevision7()},
        // A record of the meter's memory comes again with every download;
        // it is known by its frame, which the journal must find without
        // reading every live reading. An older program keeps the index as
        // it writes.
        {8, 7,
         {QStringLiteral("CREATE INDEX readings_stored_by_frame ON readings (frame) WHERE kind = 1")}},
    };
    return all;
}

int JournalSchema::currentVersion()
{
    return revisions().back().version;
}

SchemaRunner::Result JournalSchema::upgrade(const QSqlDatabase &database)
{
    return runner(database).upgrade();
}

SchemaRunner::Result JournalSchema::inspect(const QSqlDatabase &database)
{
    return runner(database).inspect();
}

QString JournalSchema::message(const SchemaRunner::Result &result)
{
    switch (result.outcome) {
    case SchemaRunner::Outcome::UpToDate:
    case SchemaRunner::Outcome::Upgraded:
    case SchemaRunner::Outcome::NewerButReadable:
        return QString();
    case SchemaRunner::Outcome::NotOurs:
        return tr("It is a database, but not a Tessra journal.");
    case SchemaRunner::Outcome::NewerRefused:
        return tr("It was written by a newer version of Tessra (journal schema %1); this version reads "
                  "journals up to schema %2.")
            .arg(result.storedVersion)
            .arg(result.currentVersion);
    case SchemaRunner::Outcome::Older:
        return tr("It can only be read, and was written by an older version of Tessra (journal schema %1); "
                  "opened once where it can be written, it is brought up to date.")
            .arg(result.storedVersion);
    case SchemaRunner::Outcome::Failed:
        break;
    }
    return tr("Its tables could not be brought up to date: %1").arg(result.databaseError);
}

namespace {
using SchemaObjects = QSet<QPair<QString, QString>>;

SchemaObjects objectsOf(const QSqlDatabase &database)
{
    SchemaObjects objects;
    QSqlQuery query(database);
    query.setForwardOnly(true);
    // SQLite's own tables and the indexes it makes for constraints are
    // nobody's addition.
    if (!query.exec(QStringLiteral("SELECT type, name FROM sqlite_master"
                                   " WHERE type IN ('table', 'index', 'view', 'trigger')"
                                   " AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\'")))
        return objects;
    while (query.next())
        objects.insert({query.value(0).toString(), query.value(1).toString()});
    return objects;
}

// What the revisions make, learned by applying them to a database in
// memory, so that the list can never fall behind the revisions.
SchemaObjects programObjects()
{
    static const SchemaObjects objects = [] {
        const QString name = QStringLiteral("tessra-journal-schema-objects");
        SchemaObjects made;
        {
            QSqlDatabase memory = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            memory.setDatabaseName(QStringLiteral(":memory:"));
            if (memory.open() && JournalSchema::upgrade(memory).isUsable())
                made = objectsOf(memory);
            memory.close();
        }
        QSqlDatabase::removeDatabase(name);
        return made;
    }();
    return objects;
}
} // namespace

// A journal is only what the program made: a trigger of someone else's
// could, say, delete every reading as it is written while the logger counts
// them as kept.
QStringList JournalSchema::foreignObjects(const QSqlDatabase &database, int storedVersion)
{
    const SchemaObjects known = programObjects();
    const bool newer = storedVersion > currentVersion();
    QStringList foreign;
    for (const auto &[type, name] : objectsOf(database)) {
        if (known.contains({type, name}) || (newer && type != QLatin1String("trigger")))
            continue;
        foreign.append(QStringLiteral("%1 %2").arg(type, name));
    }
    foreign.sort();
    return foreign;
}

int JournalSchema::storedVersion(const QSqlDatabase &database)
{
    return runner(database).storedVersion();
}

// A file with nothing in it is a new journal; one with tables of another
// program is no journal.
// An upgrade takes the write lock as it begins: a deferred transaction that
// read the revision could not take it later while another program reads.
SchemaRunner JournalSchema::runner(const QSqlDatabase &database)
{
    SchemaRunner runner(database, QStringLiteral("journal_info"), revisions(), [database] {
        QSqlQuery query(database);
        return query.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) && query.next()
               && query.value(0).toInt() == 0;
    });
    runner.setBeginStatements({QStringLiteral("BEGIN IMMEDIATE")});
    return runner;
}
