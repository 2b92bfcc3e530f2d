// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "sync/serverschema.h"

#include "journal/tagkey.h"
#include "sync/versionedtable.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QSet>
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

// Every tag gets its key, as the program makes it (the server has no
// Unicode case folding of its own). Tags that the server's lower() told
// apart but the key does not cannot both stay: the item the server had
// first keeps its tag, a later one gets a number after it, as a new
// version that comes down to every laptop, its old one kept in history.
bool keyTags(const QSqlDatabase &database, QString &error)
{
    QSqlQuery items(database);
    if (!items.exec(QStringLiteral("SELECT uuid, tag FROM equipment ORDER BY change_xid, updated_ms, uuid"))) {
        error = items.lastError().text();
        return false;
    }
    QSet<QString> keys;
    QSqlQuery query(database);
    while (items.next()) {
        const QString uuid = items.value(0).toString();
        const QString tag = items.value(1).toString();
        const QString kept = TagKey::unclaimed(tag, keys);
        if (kept != tag) {
            query.prepare(QStringLiteral(
                "INSERT INTO equipment_history (uuid, tag, description, site, location, kind, rated_kv,"
                " insulation_class, winding, base_celsius, notes, version, updated_ms, updated_by, kept_ms, reason)"
                " SELECT uuid, tag, description, site, location, kind, rated_kv, insulation_class, winding,"
                " base_celsius, notes, version, updated_ms, updated_by, ?, 'tag clash' FROM equipment"
                " WHERE uuid = ?::uuid"));
            query.addBindValue(QDateTime::currentMSecsSinceEpoch());
            query.addBindValue(uuid);
            if (!query.exec()) {
                error = query.lastError().text();
                return false;
            }
        }
        query.prepare(QStringLiteral("UPDATE equipment SET tag = ?, tag_key = ?, version = version + ?,"
                                     " change_xid = CASE WHEN ? THEN pg_current_xact_id() ELSE change_xid END"
                                     " WHERE uuid = ?::uuid"));
        const bool renamed = kept != tag;
        for (const QVariant &value : {QVariant(kept), QVariant(TagKey::of(kept)), QVariant(renamed ? 1 : 0),
                                      QVariant(renamed), QVariant(uuid)})
            query.addBindValue(value);
        if (!query.exec()) {
            error = query.lastError().text();
            return false;
        }
    }
    return true;
}

// The columns revision 4 gave the register's items and the tests' details
// (the item's medium and its maker's limits; where, when and how a test was
// corrected), on each table and its history alike.
struct AddedColumn
{
    QString name;
    QString type;
};

const QList<AddedColumn> &itemColumnsOf4()
{
    static const QList<AddedColumn> columns = {
        {QStringLiteral("medium"), QStringLiteral("smallint NOT NULL DEFAULT 0")}, // 1 solid, 2 oil-immersed
        {QStringLiteral("maker_minimum_megohms"), QStringLiteral("double precision")},
        {QStringLiteral("maker_minimum_celsius"), QStringLiteral("double precision")},
        {QStringLiteral("maker_minimum_pi"), QStringLiteral("double precision")},
    };
    return columns;
}

const QList<AddedColumn> &detailsColumnsOf4()
{
    static const QList<AddedColumn> columns = QList<AddedColumn>{
        {QStringLiteral("correction"), QStringLiteral("smallint NOT NULL DEFAULT 0")}, // 1 the halving formula
        {QStringLiteral("test_point"), QStringLiteral("text NOT NULL DEFAULT ''")},
        {QStringLiteral("tested_ms"), QStringLiteral("bigint NOT NULL DEFAULT 0")},
    } + itemColumnsOf4();
    return columns;
}

const QList<AddedColumn> &columnsOf4(const VersionedTable &table)
{
    return &table == &VersionedTable::equipment() ? itemColumnsOf4() : detailsColumnsOf4();
}

// The table's fields as revision 3 knew them, before revision 4 added its own.
QStringList fieldsOf3(const VersionedTable &table)
{
    QStringList fields = table.fields;
    for (const AddedColumn &column : columnsOf4(table))
        fields.removeAll(column.name);
    return fields;
}

// The columns of a versioned table's history that keep a replaced version.
QString historyColumns(const VersionedTable &table, const QStringList &fields)
{
    QStringList columns = {table.serverKey};
    columns << fields << table.keptExtras() << QStringLiteral("version") << QStringLiteral("updated_ms")
            << QStringLiteral("updated_by");
    return columns.join(QStringLiteral(", "));
}

// An edit of a register item or of a test's details is a new version of
// it, made by whoever is logged in: the key stays, the version goes up by
// one, and the version it replaces goes to the history, written by the
// server with the login that replaced it and when. A revision that adds
// fields makes the function again with them, so that the history keeps
// every field.
QString newVersionFunction(const VersionedTable &table, const QStringList &fields)
{
    const QString columns = historyColumns(table, fields);
    QStringList oldColumns;
    for (const QString &column : columns.split(QStringLiteral(", ")))
        oldColumns << QStringLiteral("OLD.") + column;
    return QStringLiteral("CREATE OR REPLACE FUNCTION %1_new_version() RETURNS trigger LANGUAGE plpgsql"
                          " SECURITY DEFINER SET search_path = tessra, pg_temp AS $$"
                          " BEGIN"
                          "  IF TG_OP = 'INSERT' AND NEW.version <> 1 THEN"
                          "   RAISE EXCEPTION 'a new %1 row starts at version 1';"
                          "  END IF;"
                          "  IF TG_OP = 'UPDATE' THEN"
                          "   IF NEW.%2 IS DISTINCT FROM OLD.%2 THEN"
                          "    RAISE EXCEPTION 'the key of a %1 row never changes';"
                          "   END IF;"
                          "   IF NEW.version IS DISTINCT FROM OLD.version + 1 THEN"
                          "    RAISE EXCEPTION 'a %1 row changes only as its next version (%)', OLD.version + 1;"
                          "   END IF;"
                          "   INSERT INTO %3 (%4, kept_ms, reason)"
                          "    VALUES (%5, (extract(epoch FROM clock_timestamp()) * 1000)::bigint, 'replaced');"
                          "  END IF;"
                          "  NEW.updated_by := session_user;"
                          "  NEW.change_xid := pg_current_xact_id();"
                          "  RETURN NEW;"
                          " END $$")
        .arg(table.table, table.serverKey, table.history, columns, oldColumns.join(QStringLiteral(", ")));
}

QStringList versionedRules(const VersionedTable &table)
{
    const QString t = table.table;
    return {
        newVersionFunction(table, fieldsOf3(table)),
        QStringLiteral("CREATE TRIGGER %1_new_version BEFORE INSERT OR UPDATE ON %1"
                       " FOR EACH ROW EXECUTE FUNCTION %1_new_version()")
            .arg(t),
        QStringLiteral("CREATE TRIGGER %1_logged AFTER INSERT OR UPDATE ON %1"
                       " FOR EACH ROW EXECUTE FUNCTION log_row('%2')")
            .arg(t, table.serverKey),
        QStringLiteral("ALTER TABLE %1 ADD COLUMN kept_by text NOT NULL DEFAULT session_user,"
                       " ADD COLUMN kept_at timestamptz NOT NULL DEFAULT now()")
            .arg(table.history),
        QStringLiteral("CREATE TRIGGER %1_kept BEFORE INSERT ON %1 FOR EACH ROW EXECUTE FUNCTION keep_history()")
            .arg(table.history),
        QStringLiteral("CREATE TRIGGER %1_logged AFTER INSERT ON %1 FOR EACH ROW EXECUTE FUNCTION log_row('%2')")
            .arg(table.history, table.serverKey),
    };
}

// The new columns on each table and its history. The rights the group has
// on the tables cover their new columns, and a replaced function keeps its
// owner and rights. Details whose halving interval is not the usual 10 °C
// were given it by the user, who keeps the formula: the same rule every
// laptop's journal applies to its own copy, so the rows are not new
// versions, and neither logged nor kept in the history.
QStringList detailsRules()
{
    QStringList statements;
    for (const VersionedTable *table : {&VersionedTable::equipment(), &VersionedTable::testDetails()}) {
        for (const QString &name : {table->table, table->history}) {
            QStringList added;
            for (const AddedColumn &column : columnsOf4(*table))
                added << QStringLiteral("ADD COLUMN %1 %2").arg(column.name, column.type);
            statements << QStringLiteral("ALTER TABLE %1 %2").arg(name, added.join(QStringLiteral(", ")));
        }
        statements << newVersionFunction(*table, table->fields);
    }
    statements << QStringLiteral("ALTER TABLE test_details DISABLE TRIGGER USER")
               << QStringLiteral("UPDATE test_details SET correction = 1 WHERE halving_celsius <> 10")
               << QStringLiteral("ALTER TABLE test_details ENABLE TRIGGER USER")
               << QStringLiteral("UPDATE test_details_history SET correction = 1 WHERE halving_celsius <> 10");
    return statements;
}

// The department's record, kept by the server itself: the schema's owner
// (a role no laptop logs in as) owns every table and the functions of the
// triggers; technicians log in as themselves, members of the group
// tessra_technicians, which may read everything, add sessions, readings
// and tests but never change or remove them, and change register items
// and tests' details only as new versions. Every change made with a
// technician's login is logged by the server with that login and the time.
QStringList recordRules()
{
    QStringList statements = {
        // A server made for an earlier Tessra has no group yet: its
        // administrator makes the roles first, and nothing changes before.
        QStringLiteral("DO $$ BEGIN"
                       " IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = 'tessra_technicians') THEN"
                       "  RAISE EXCEPTION 'the role tessra_technicians is missing: the administrator runs"
                       " team-server-upgrade.sql first';"
                       " END IF;"
                       " END $$"),
        QStringLiteral("ALTER TABLE equipment ALTER COLUMN tag_key SET NOT NULL"),
        QStringLiteral("DROP INDEX equipment_by_tag"),
        QStringLiteral("CREATE UNIQUE INDEX equipment_by_tag_key ON equipment (tag_key)"),
        QStringLiteral("ALTER TABLE sessions ADD COLUMN uploaded_at timestamptz NOT NULL DEFAULT now()"),
        QStringLiteral("CREATE TABLE change_log ("
                       " id bigserial PRIMARY KEY,"
                       " changed_at timestamptz NOT NULL DEFAULT now(),"
                       " changed_by text NOT NULL DEFAULT session_user,"
                       " table_name text NOT NULL,"
                       " row_key text NOT NULL,"
                       " action text NOT NULL,"
                       " row_count bigint NOT NULL DEFAULT 1)"),
        QStringLiteral("CREATE INDEX change_log_by_row ON change_log (table_name, row_key)"),
        // Who and when are the server's to say, whatever a statement gave.
        QStringLiteral("CREATE FUNCTION log_row() RETURNS trigger LANGUAGE plpgsql"
                       " SECURITY DEFINER SET search_path = tessra, pg_temp AS $$"
                       " BEGIN"
                       "  INSERT INTO change_log (changed_at, changed_by, table_name, row_key, action)"
                       "   VALUES (now(), session_user, TG_TABLE_NAME, to_jsonb(NEW) ->> TG_ARGV[0], lower(TG_OP));"
                       "  RETURN NULL;"
                       " END $$"),
        QStringLiteral("CREATE FUNCTION log_readings() RETURNS trigger LANGUAGE plpgsql"
                       " SECURITY DEFINER SET search_path = tessra, pg_temp AS $$"
                       " BEGIN"
                       "  INSERT INTO change_log (changed_at, changed_by, table_name, row_key, action, row_count)"
                       "   SELECT now(), session_user, 'readings', session_uuid::text, 'insert', count(*)"
                       "   FROM added GROUP BY session_uuid;"
                       "  RETURN NULL;"
                       " END $$"),
        QStringLiteral("CREATE FUNCTION stamp_row() RETURNS trigger LANGUAGE plpgsql AS $$"
                       " BEGIN"
                       "  IF TG_TABLE_NAME = 'sessions' THEN"
                       "   NEW.uploaded_by := session_user;"
                       "   NEW.uploaded_at := now();"
                       "  END IF;"
                       "  NEW.change_xid := pg_current_xact_id();"
                       "  RETURN NEW;"
                       " END $$"),
        // A lost edit is the only history a login writes itself; the
        // versions replaced come from the owner's trigger.
        QStringLiteral("CREATE FUNCTION keep_history() RETURNS trigger LANGUAGE plpgsql AS $$"
                       " BEGIN"
                       "  IF NOT pg_has_role(current_user,"
                       "    (SELECT nspowner FROM pg_namespace WHERE nspname = 'tessra'), 'USAGE') THEN"
                       "   IF NEW.reason IS DISTINCT FROM 'conflict' THEN"
                       "    RAISE EXCEPTION 'history is kept by the server; a login may add only a lost edit';"
                       "   END IF;"
                       "   NEW.updated_by := session_user;"
                       "  END IF;"
                       "  NEW.kept_by := session_user;"
                       "  NEW.kept_at := now();"
                       "  RETURN NEW;"
                       " END $$"),
        QStringLiteral("CREATE TRIGGER sessions_stamped BEFORE INSERT ON sessions"
                       " FOR EACH ROW EXECUTE FUNCTION stamp_row()"),
        QStringLiteral("CREATE TRIGGER tests_stamped BEFORE INSERT ON tests FOR EACH ROW EXECUTE FUNCTION stamp_row()"),
        QStringLiteral("CREATE TRIGGER sessions_logged AFTER INSERT ON sessions"
                       " FOR EACH ROW EXECUTE FUNCTION log_row('uuid')"),
        QStringLiteral("CREATE TRIGGER tests_logged AFTER INSERT ON tests FOR EACH ROW EXECUTE FUNCTION log_row('uuid')"),
        QStringLiteral("CREATE TRIGGER readings_logged AFTER INSERT ON readings REFERENCING NEW TABLE AS added"
                       " FOR EACH STATEMENT EXECUTE FUNCTION log_readings()"),
    };
    statements << versionedRules(VersionedTable::equipment()) << versionedRules(VersionedTable::testDetails());
    statements << QStringList{
        QStringLiteral("REVOKE ALL ON SCHEMA tessra FROM PUBLIC"),
        QStringLiteral("REVOKE ALL ON ALL FUNCTIONS IN SCHEMA tessra FROM PUBLIC"),
        QStringLiteral("GRANT USAGE ON SCHEMA tessra TO tessra_technicians"),
        QStringLiteral("GRANT SELECT ON ALL TABLES IN SCHEMA tessra TO tessra_technicians"),
        QStringLiteral("GRANT INSERT ON sessions, readings, tests, equipment, test_details, equipment_history,"
                       " test_details_history TO tessra_technicians"),
        QStringLiteral("GRANT UPDATE ON equipment, test_details TO tessra_technicians"),
        QStringLiteral("GRANT USAGE ON SEQUENCE equipment_history_id_seq, test_details_history_id_seq"
                       " TO tessra_technicians"),
    };
    return statements;
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
        // Tags are one tag by Unicode case folding, as in the journal.
        {2, 2, {QStringLiteral("ALTER TABLE equipment ADD COLUMN tag_key text")}, keyTags},
        {3, 3, recordRules()},
        // An older program still syncs: what it adds takes the defaults,
        // and its edits keep the fields it does not know as they were.
        {4, 3, detailsRules()},
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
    error = tr("The server has no schema \"%1\" for Tessra's tables, and this user may not create it (the "
               "department's administrator makes it with team-server.sql): %2")
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

bool ServerSchema::isOwnedBy(const QSqlDatabase &database)
{
    QSqlQuery query(database);
    query.prepare(QStringLiteral("SELECT pg_has_role(current_user, nspowner, 'USAGE') FROM pg_namespace"
                                 " WHERE nspname = ?"));
    query.addBindValue(name());
    return query.exec() && query.next() && query.value(0).toBool();
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
