// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "sync/serverschema.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("ServerSchema", text);
}

// A column every changing table carries: the transaction that last wrote
// the row. What is new since a journal's last sync is what a transaction
// wrote that had not finished when that sync read the server.
const QString changeColumn = QStringLiteral(" change_xid xid8 NOT NULL DEFAULT pg_current_xact_id()");

QString itemColumns()
{
    return QStringLiteral(" tag text NOT NULL,"
                          " description text NOT NULL DEFAULT '',"
                          " site text NOT NULL DEFAULT '',"
                          " location text NOT NULL DEFAULT '',"
                          " kind smallint NOT NULL DEFAULT 3,"
                          " rated_kv double precision,"
                          " insulation_class smallint NOT NULL DEFAULT 0,"
                          " winding smallint NOT NULL DEFAULT 0,"
                          " base_celsius double precision,"
                          " notes text NOT NULL DEFAULT '',"
                          " version integer NOT NULL,"
                          " updated_ms bigint NOT NULL,"
                          " updated_by text NOT NULL DEFAULT current_user,");
}

QString detailsColumns()
{
    return QStringLiteral(" equipment text NOT NULL DEFAULT '',"
                          " equipment_uuid uuid,"
                          " kind smallint NOT NULL DEFAULT 3,"
                          " rated_kv double precision,"
                          " insulation_class smallint NOT NULL DEFAULT 0,"
                          " winding smallint NOT NULL DEFAULT 0,"
                          " insulation_celsius double precision,"
                          " ambient_celsius double precision,"
                          " humidity_percent double precision,"
                          " operator text NOT NULL DEFAULT '',"
                          " notes text NOT NULL DEFAULT '',"
                          " base_celsius double precision,"
                          " halving_celsius double precision NOT NULL DEFAULT 10,"
                          " version integer NOT NULL,"
                          " updated_ms bigint NOT NULL,"
                          " updated_by text NOT NULL DEFAULT current_user,");
}
} // namespace

QString ServerSchema::name()
{
    return QStringLiteral("tessra");
}

// Sessions, readings and tests never change once they are here; register
// items and test details do, and each edit they lose to keeps the older
// version in a history table. The indexes serve the program's questions:
// an item's tests in time order (its trend), the tests of a day, and what
// changed since a journal's last sync.
const std::vector<ServerSchema::Revision> &ServerSchema::revisions()
{
    static const std::vector<Revision> all = {
        {1, 1,
         {QStringLiteral("CREATE TABLE schema_info (name text PRIMARY KEY, value text NOT NULL)"),
          QStringLiteral("INSERT INTO schema_info (name, value) VALUES ('id', gen_random_uuid()::text)"),
          QStringLiteral("CREATE TABLE sessions ("
                         " uuid uuid PRIMARY KEY,"
                         " source text NOT NULL,"
                         " started_ms bigint NOT NULL,"
                         " ended_ms bigint NOT NULL,"
                         " clean_end boolean NOT NULL,"
                         " meter_path text NOT NULL DEFAULT '',"
                         " serial_number text NOT NULL DEFAULT '',"
                         " manufacturer text NOT NULL DEFAULT '',"
                         " product text NOT NULL DEFAULT '',"
                         " program_version text NOT NULL DEFAULT '',"
                         " uploaded_by text NOT NULL DEFAULT current_user,")
              + changeColumn + QStringLiteral(")"),
          QStringLiteral("CREATE INDEX sessions_by_change ON sessions (change_xid)"),
          QStringLiteral("CREATE TABLE readings ("
                         " session_uuid uuid NOT NULL REFERENCES sessions ON DELETE CASCADE,"
                         " seq bigint NOT NULL,"
                         " kind smallint NOT NULL,"
                         " mode smallint NOT NULL,"
                         " time_ms bigint NOT NULL,"
                         " frame bytea NOT NULL,"
                         " PRIMARY KEY (session_uuid, seq))"),
          QStringLiteral("CREATE TABLE tests ("
                         " uuid uuid PRIMARY KEY,"
                         " session_uuid uuid NOT NULL REFERENCES sessions ON DELETE CASCADE,"
                         " first_seq bigint NOT NULL,"
                         " last_seq bigint NOT NULL,"
                         " mode smallint NOT NULL,"
                         " origin smallint NOT NULL,"
                         " status smallint NOT NULL,"
                         " started_ms bigint NOT NULL,"
                         " ended_ms bigint NOT NULL,"
                         " set_volts integer NOT NULL DEFAULT 0,")
              + changeColumn + QStringLiteral(")"),
          QStringLiteral("CREATE INDEX tests_by_start ON tests (started_ms)"),
          QStringLiteral("CREATE INDEX tests_by_session ON tests (session_uuid)"),
          QStringLiteral("CREATE INDEX tests_by_change ON tests (change_xid)"),
          QStringLiteral("CREATE TABLE equipment (uuid uuid PRIMARY KEY,") + itemColumns() + changeColumn
              + QStringLiteral(")"),
          QStringLiteral("CREATE UNIQUE INDEX equipment_by_tag ON equipment (lower(tag))"),
          QStringLiteral("CREATE INDEX equipment_by_change ON equipment (change_xid)"),
          QStringLiteral("CREATE TABLE equipment_history (id bigserial PRIMARY KEY, uuid uuid NOT NULL,")
              + itemColumns() + QStringLiteral(" kept_ms bigint NOT NULL, reason text NOT NULL)"),
          QStringLiteral("CREATE INDEX equipment_history_by_item ON equipment_history (uuid, version)"),
          // What an item's trend lists of each test is kept with its
          // details too (a test never changes once its session ended), so
          // that the trend reads in order from one index and nothing else:
          // an item's thousand tests are a few pages of it, not a thousand
          // lookups among the department's millions.
          QStringLiteral("CREATE TABLE test_details ("
                         " test_uuid uuid PRIMARY KEY REFERENCES tests ON DELETE CASCADE,"
                         " started_ms bigint NOT NULL,"
                         " session_uuid uuid NOT NULL,"
                         " ended_ms bigint NOT NULL,"
                         " mode smallint NOT NULL,"
                         " set_volts integer NOT NULL DEFAULT 0,")
              + detailsColumns() + changeColumn + QStringLiteral(")"),
          QStringLiteral("CREATE INDEX test_details_by_item ON test_details (equipment_uuid, started_ms)"
                         " INCLUDE (test_uuid, session_uuid, ended_ms, mode, set_volts, insulation_celsius)"),
          QStringLiteral("CREATE INDEX test_details_by_change ON test_details (change_xid)"),
          QStringLiteral("CREATE TABLE test_details_history (id bigserial PRIMARY KEY, test_uuid uuid NOT NULL,")
              + detailsColumns() + QStringLiteral(" kept_ms bigint NOT NULL, reason text NOT NULL)"),
          QStringLiteral("CREATE INDEX test_details_history_by_test ON test_details_history (test_uuid, version)")}},
    };
    return all;
}

int ServerSchema::currentVersion()
{
    return revisions().back().version;
}

// Needs the right to create schemas in the database; a team whose
// administrator made the schema for the program's user needs no more than
// owning it.
bool ServerSchema::ensureSchema(const QSqlDatabase &database, QString &error)
{
    if (hasSchema(database))
        return true;
    QSqlQuery query(database);
    if (query.exec(QStringLiteral("CREATE SCHEMA IF NOT EXISTS tessra")))
        return true;
    error = tr("The server has no schema \"%1\" for Tessra's tables, and this user may not create it: %2")
                .arg(name(), query.lastError().databaseText());
    return false;
}

SchemaRunner::Result ServerSchema::upgrade(const QSqlDatabase &database)
{
    return runner(database).upgrade();
}

QString ServerSchema::message(const SchemaRunner::Result &result)
{
    switch (result.outcome) {
    case SchemaRunner::Outcome::UpToDate:
    case SchemaRunner::Outcome::Upgraded:
    case SchemaRunner::Outcome::NewerButReadable:
        return QString();
    case SchemaRunner::Outcome::NewerRefused:
        return tr("The server's tables were made by a newer version of Tessra (server schema %1); this version "
                  "works with schema %2 at most. Nothing was changed on the server.")
            .arg(result.storedVersion)
            .arg(result.currentVersion);
    case SchemaRunner::Outcome::NotOurs:
    case SchemaRunner::Outcome::Older:
    case SchemaRunner::Outcome::Failed:
        break;
    }
    return tr("The server's tables could not be brought up to date: %1").arg(result.databaseError);
}

int ServerSchema::storedVersion(const QSqlDatabase &database)
{
    return hasTables(database) ? runner(database).storedVersion() : 0;
}

QString ServerSchema::serverId(const QSqlDatabase &database)
{
    return runner(database).storedValue(QStringLiteral("id"));
}

bool ServerSchema::hasSchema(const QSqlDatabase &database)
{
    QSqlQuery query(database);
    query.prepare(QStringLiteral("SELECT 1 FROM pg_namespace WHERE nspname = ?"));
    query.addBindValue(name());
    return query.exec() && query.next();
}

bool ServerSchema::hasTables(const QSqlDatabase &database)
{
    QSqlQuery query(database);
    query.prepare(QStringLiteral("SELECT 1 FROM pg_tables WHERE schemaname = ? AND tablename = 'schema_info'"));
    query.addBindValue(name());
    return query.exec() && query.next();
}

// The schema is the program's own: tables in it without a version of ours
// are taken as a start, and the first revision meets them.
// Two laptops meeting a new server at once take turns: the second waits on
// the lock, then finds the tables made.
SchemaRunner ServerSchema::runner(const QSqlDatabase &database)
{
    SchemaRunner runner(database, QStringLiteral("tessra.schema_info"), revisions(),
                        [database] { return storedVersion(database) == 0; });
    runner.setBeginStatements({QStringLiteral("BEGIN"), QStringLiteral("SELECT pg_advisory_xact_lock(4372917)")});
    return runner;
}
