// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "sync/versionedtable.h"

namespace {
QStringList prefixed(const QString &alias, const QStringList &columns)
{
    QStringList names;
    for (const QString &column : columns)
        names << alias + column;
    return names;
}

// The journal's row (r), joined with its owner (o) when it has one.
QString localFrom(const VersionedTable &table)
{
    return table.owner.isEmpty() ? QStringLiteral("%1 r").arg(table.table)
                                 : QStringLiteral("%1 r JOIN %2 o ON o.id = r.%3")
                                       .arg(table.table, table.owner, table.localId);
}

// Where the journal keeps the row's key: in the row, or in its owner.
QString localKeyOf(const VersionedTable &table)
{
    return (table.owner.isEmpty() ? QStringLiteral("r.") : QStringLiteral("o.")) + table.localKey;
}
} // namespace

QStringList VersionedTable::extraColumns() const
{
    QStringList columns;
    for (const Extra &extra : extras)
        columns << extra.column;
    return columns;
}

QStringList VersionedTable::keptExtras() const
{
    QStringList columns;
    for (const Extra &extra : extras) {
        if (extra.kept)
            columns << extra.column;
    }
    return columns;
}

QString VersionedTable::serverColumns() const
{
    QStringList columns = {serverKey};
    columns << fields << keptExtras() << QStringLiteral("version") << QStringLiteral("updated_ms");
    return columns.join(QStringLiteral(", "));
}

QString VersionedTable::localPending() const
{
    QStringList columns = {QStringLiteral("r.") + localId, localKeyOf(*this)};
    columns << prefixed(QStringLiteral("r."), fields);
    for (const Extra &extra : extras)
        columns << extra.expression;
    columns << QStringLiteral("r.version") << QStringLiteral("r.synced_version") << QStringLiteral("r.updated_ms");
    QString where = QStringLiteral("r.version <> r.synced_version");
    if (!pendingCondition.isEmpty())
        where += QStringLiteral(" AND ") + pendingCondition;
    return QStringLiteral("SELECT %1 FROM %2 WHERE %3 ORDER BY r.%4")
        .arg(columns.join(QStringLiteral(", ")), localFrom(*this), where, localId);
}

QString VersionedTable::localByKey() const
{
    return QStringLiteral("SELECT r.%1, r.version, r.synced_version FROM %2 WHERE %3 = ?")
        .arg(localId, localFrom(*this), localKeyOf(*this));
}

QString VersionedTable::localKeep() const
{
    QStringList columns = {localHistoryKey};
    columns << fields << QStringLiteral("version") << QStringLiteral("updated_ms") << QStringLiteral("kept_ms")
            << QStringLiteral("reason");
    QStringList values = {localKeyOf(*this)};
    values << prefixed(QStringLiteral("r."), fields) << QStringLiteral("r.version") << QStringLiteral("r.updated_ms")
           << QStringLiteral("?") << QStringLiteral("?");
    return QStringLiteral("INSERT INTO %1 (%2) SELECT %3 FROM %4 WHERE r.%5 = ?")
        .arg(history, columns.join(QStringLiteral(", ")), values.join(QStringLiteral(", ")), localFrom(*this),
             localId);
}

const VersionedTable &VersionedTable::equipment()
{
    static const VersionedTable table = [] {
        VersionedTable equipment;
        equipment.table = QStringLiteral("equipment");
        equipment.history = QStringLiteral("equipment_history");
        equipment.serverKey = QStringLiteral("uuid");
        equipment.localHistoryKey = QStringLiteral("equipment_uuid");
        equipment.localId = QStringLiteral("id");
        equipment.localKey = QStringLiteral("uuid");
        // Two journals that each added an item with the same tag added the
        // same item.
        equipment.naturalKey = QStringLiteral("tag");
        equipment.naturalKeyColumn = QStringLiteral("tag_key");
        equipment.fields = QStringList{
            QStringLiteral("tag"), QStringLiteral("description"), QStringLiteral("site"),
            QStringLiteral("location"), QStringLiteral("kind"), QStringLiteral("rated_kv"),
            QStringLiteral("insulation_class"), QStringLiteral("winding"), QStringLiteral("base_celsius"),
            QStringLiteral("notes"), QStringLiteral("medium"), QStringLiteral("maker_minimum_megohms"),
            QStringLiteral("maker_minimum_celsius"), QStringLiteral("maker_minimum_pi")};
        // The tests whose details name the item's tag.
        equipment.link = {QStringLiteral("UPDATE test_details SET equipment_id = ? WHERE equipment = ? COLLATE NOCASE"),
                          {QStringLiteral("id"), QStringLiteral("tag")}};
        return equipment;
    }();
    return table;
}

// Details go up only once their test is on the server. What an item's trend
// lists of the test goes with them (the server keeps it beside them), and
// the item they belong to by its uuid.
const VersionedTable &VersionedTable::testDetails()
{
    static const VersionedTable table = [] {
        VersionedTable details;
        details.table = QStringLiteral("test_details");
        details.history = QStringLiteral("test_details_history");
        details.serverKey = QStringLiteral("test_uuid");
        details.localHistoryKey = QStringLiteral("test_uuid");
        details.localId = QStringLiteral("test_id");
        details.owner = QStringLiteral("tests");
        details.localKey = QStringLiteral("uuid");
        details.fields = QStringList{
            QStringLiteral("equipment"), QStringLiteral("kind"), QStringLiteral("rated_kv"),
            QStringLiteral("insulation_class"), QStringLiteral("winding"), QStringLiteral("insulation_celsius"),
            QStringLiteral("ambient_celsius"), QStringLiteral("humidity_percent"), QStringLiteral("operator"),
            QStringLiteral("notes"), QStringLiteral("base_celsius"), QStringLiteral("halving_celsius"),
            QStringLiteral("correction"), QStringLiteral("test_point"), QStringLiteral("tested_ms"),
            QStringLiteral("medium"), QStringLiteral("maker_minimum_megohms"), QStringLiteral("maker_minimum_celsius"),
            QStringLiteral("maker_minimum_pi")};
        details.extras = {
            {QStringLiteral("started_ms"), QStringLiteral("o.started_ms")},
            {QStringLiteral("equipment_uuid"),
             QStringLiteral("(SELECT uuid FROM equipment WHERE equipment.id = r.equipment_id)"), true},
            {QStringLiteral("session_uuid"),
             QStringLiteral("(SELECT uuid FROM sessions WHERE sessions.id = o.session_id)")},
            {QStringLiteral("ended_ms"), QStringLiteral("o.ended_ms")},
            {QStringLiteral("mode"), QStringLiteral("o.mode")},
            {QStringLiteral("set_volts"), QStringLiteral("o.set_volts")},
        };
        details.pendingCondition = QStringLiteral("o.synced = 1");
        // The item of that uuid, else the one whose tag the details name.
        details.link = {QStringLiteral("UPDATE test_details SET equipment_id = coalesce((SELECT id FROM equipment WHERE"
                                       " uuid = ?), (SELECT id FROM equipment WHERE tag = trim(test_details.equipment)"
                                       " COLLATE NOCASE)) WHERE test_id = ?"),
                        {QStringLiteral("equipment_uuid"), QStringLiteral("id")}};
        return details;
    }();
    return table;
}
