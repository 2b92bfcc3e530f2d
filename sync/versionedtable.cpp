// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "sync/versionedtable.h"

const VersionedTable &VersionedTable::equipment()
{
    static const VersionedTable table = {
        Kind::Equipment,
        QStringLiteral("equipment"),
        QStringLiteral("uuid"),
        QStringLiteral("equipment_history"),
        QStringLiteral("equipment_uuid"),
        QStringLiteral("id"),
        {QStringLiteral("tag"), QStringLiteral("description"), QStringLiteral("site"), QStringLiteral("location"),
         QStringLiteral("kind"), QStringLiteral("rated_kv"), QStringLiteral("insulation_class"),
         QStringLiteral("winding"), QStringLiteral("base_celsius"), QStringLiteral("notes")},
        {},
        QStringLiteral("SELECT id, uuid, tag, description, site, location, kind, rated_kv, insulation_class, winding,"
                       " base_celsius, notes, version, synced_version, updated_ms FROM equipment"
                       " WHERE version <> synced_version ORDER BY id"),
        QStringLiteral("SELECT id, tag, description, site, location, kind, rated_kv, insulation_class, winding,"
                       " base_celsius, notes, version, synced_version FROM equipment WHERE uuid = ?"),
    };
    return table;
}

// Details go up only once their test is on the server.
const VersionedTable &VersionedTable::testDetails()
{
    static const VersionedTable table = {
        Kind::TestDetails,
        QStringLiteral("test_details"),
        QStringLiteral("test_uuid"),
        QStringLiteral("test_details_history"),
        QStringLiteral("test_uuid"),
        QStringLiteral("test_id"),
        {QStringLiteral("equipment"), QStringLiteral("kind"), QStringLiteral("rated_kv"),
         QStringLiteral("insulation_class"), QStringLiteral("winding"), QStringLiteral("insulation_celsius"),
         QStringLiteral("ambient_celsius"), QStringLiteral("humidity_percent"), QStringLiteral("operator"),
         QStringLiteral("notes"), QStringLiteral("base_celsius"), QStringLiteral("halving_celsius")},
        {QStringLiteral("started_ms"), QStringLiteral("equipment_uuid"), QStringLiteral("session_uuid"),
         QStringLiteral("ended_ms"), QStringLiteral("mode"), QStringLiteral("set_volts")},
        QStringLiteral("SELECT d.test_id, t.uuid, d.equipment, d.kind, d.rated_kv, d.insulation_class, d.winding,"
                       " d.insulation_celsius, d.ambient_celsius, d.humidity_percent, d.operator, d.notes,"
                       " d.base_celsius, d.halving_celsius, t.started_ms,"
                       " (SELECT uuid FROM equipment WHERE equipment.id = d.equipment_id),"
                       " (SELECT uuid FROM sessions WHERE sessions.id = t.session_id), t.ended_ms, t.mode,"
                       " t.set_volts, d.version, d.synced_version, d.updated_ms"
                       " FROM test_details d JOIN tests t ON t.id = d.test_id"
                       " WHERE d.version <> d.synced_version AND t.synced = 1 ORDER BY d.test_id"),
        QStringLiteral("SELECT d.test_id, d.equipment, d.kind, d.rated_kv, d.insulation_class, d.winding,"
                       " d.insulation_celsius, d.ambient_celsius, d.humidity_percent, d.operator, d.notes,"
                       " d.base_celsius, d.halving_celsius, d.version, d.synced_version"
                       " FROM test_details d JOIN tests t ON t.id = d.test_id WHERE t.uuid = ?"),
    };
    return table;
}
