// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "journal/equipmentstore.h"

#include "journal/scopedtransaction.h"
#include "journal/sqlvalue.h"
#include "journal/tagkey.h"
#include "journal/teststore.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <QVariant>

#include <limits>

namespace {
const QString itemColumns = QStringLiteral("id, uuid, tag, description, site, location, kind, rated_kv,"
                                           " insulation_class, winding, base_celsius, notes, version, updated_ms,"
                                           " medium, maker_minimum_megohms, maker_minimum_celsius,"
                                           " maker_minimum_pi");

EquipmentItem itemFrom(const QSqlQuery &query)
{
    EquipmentItem item;
    item.id = query.value(0).toLongLong();
    item.uuid = query.value(1).toString();
    item.tag = query.value(2).toString();
    item.description = query.value(3).toString();
    item.site = query.value(4).toString();
    item.location = query.value(5).toString();
    item.kind = TestDetails::EquipmentKind(qBound(0, query.value(6).toInt(), 3));
    item.ratedKilovolts = SqlValue::toNumber(query.value(7));
    item.insulationClass = TestDetails::InsulationClass(qBound(0, query.value(8).toInt(), 4));
    item.winding = TestDetails::WindingType(qBound(0, query.value(9).toInt(), 3));
    item.baseCelsius = SqlValue::toNumber(query.value(10));
    item.notes = query.value(11).toString();
    item.version = query.value(12).toInt();
    item.updatedMs = query.value(13).toLongLong();
    item.medium = TestDetails::InsulationMedium(qBound(0, query.value(14).toInt(), 2));
    item.makerMinimumMegohms = SqlValue::toNumber(query.value(15));
    item.makerMinimumCelsius = SqlValue::toNumber(query.value(16));
    item.makerMinimumPi = SqlValue::toNumber(query.value(17));
    return item;
}
} // namespace

EquipmentStore::EquipmentStore(QSqlDatabase database)
    : m_database(std::move(database))
{
}

bool EquipmentStore::save(EquipmentItem &item)
{
    item.tag = item.tag.trimmed();
    if (item.tag.isEmpty()) {
        m_error = QCoreApplication::translate("EquipmentStore", "An item needs a tag.");
        return false;
    }
    const std::optional<EquipmentItem> sameTag = findByTag(item.tag);
    if (sameTag && sameTag->id != item.id) {
        m_error = QCoreApplication::translate("EquipmentStore", "The tag %1 is already in the register.").arg(item.tag);
        return false;
    }
    const bool adding = item.id < 0;
    if (adding && item.uuid.isEmpty())
        item.uuid = QUuid::createUuid().toString(QUuid::WithoutBraces);
    QSqlQuery query(m_database);
    query.prepare(adding ? QStringLiteral("INSERT INTO equipment (tag, description, site, location, kind, rated_kv,"
                                          " insulation_class, winding, base_celsius, notes, medium,"
                                          " maker_minimum_megohms, maker_minimum_celsius, maker_minimum_pi, version,"
                                          " updated_ms, tag_key, uuid)"
                                          " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                         : QStringLiteral("UPDATE equipment SET tag = ?, description = ?, site = ?, location = ?,"
                                          " kind = ?, rated_kv = ?, insulation_class = ?, winding = ?,"
                                          " base_celsius = ?, notes = ?, medium = ?, maker_minimum_megohms = ?,"
                                          " maker_minimum_celsius = ?, maker_minimum_pi = ?,"
                                          " version = max(version + 1, ?), updated_ms = ?, tag_key = ? WHERE id = ?"));
    const int version = adding ? std::max(item.version, 1) : item.version + 1;
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    for (const QVariant &value :
         {SqlValue::ofText(item.tag), SqlValue::ofText(item.description), SqlValue::ofText(item.site),
          SqlValue::ofText(item.location), QVariant(int(item.kind)), SqlValue::ofNumber(item.ratedKilovolts),
          QVariant(int(item.insulationClass)), QVariant(int(item.winding)), SqlValue::ofNumber(item.baseCelsius),
          SqlValue::ofText(item.notes), QVariant(int(item.medium)), SqlValue::ofNumber(item.makerMinimumMegohms),
          SqlValue::ofNumber(item.makerMinimumCelsius), SqlValue::ofNumber(item.makerMinimumPi), QVariant(version),
          QVariant(now), QVariant(TagKey::of(item.tag)), adding ? QVariant(item.uuid) : QVariant(item.id)})
        query.addBindValue(value);
    if (!query.exec()) {
        m_error = query.lastError().text();
        return false;
    }
    if (adding)
        item.id = query.lastInsertId().toLongLong();
    // An edit begun on a copy older than the journal's (another program, or
    // a sync, saved the item meanwhile) still makes a newer version.
    item.version = adding ? version : storedVersion(item.id);
    item.updatedMs = now;
    // Details that named the tag before the item existed now belong to it.
    QSqlQuery link(m_database);
    link.prepare(QStringLiteral("UPDATE test_details SET equipment_id = ? WHERE equipment = ? COLLATE NOCASE"));
    link.addBindValue(item.id);
    link.addBindValue(item.tag);
    link.exec();
    return true;
}

int EquipmentStore::storedVersion(qint64 id) const
{
    QSqlQuery query(m_database);
    query.prepare(QStringLiteral("SELECT version FROM equipment WHERE id = ?"));
    query.addBindValue(id);
    return query.exec() && query.next() ? query.value(0).toInt() : 0;
}

bool EquipmentStore::remove(qint64 id)
{
    QSqlQuery query(m_database);
    query.prepare(QStringLiteral("DELETE FROM equipment WHERE id = ?"));
    query.addBindValue(id);
    if (query.exec())
        return true;
    m_error = query.lastError().text();
    return false;
}

std::optional<EquipmentItem> EquipmentStore::find(qint64 id) const
{
    const QList<EquipmentItem> found = select(QStringLiteral("WHERE id = ?"), {id});
    return found.isEmpty() ? std::nullopt : std::optional<EquipmentItem>(found.first());
}

std::optional<EquipmentItem> EquipmentStore::findByTag(const QString &tag) const
{
    const QList<EquipmentItem> found = select(QStringLiteral("WHERE tag_key = ?"), {TagKey::of(tag)});
    return found.isEmpty() ? std::nullopt : std::optional<EquipmentItem>(found.first());
}

QList<EquipmentItem> EquipmentStore::list() const
{
    return select(QStringLiteral("ORDER BY tag"), {});
}

QStringList EquipmentStore::tags() const
{
    QStringList tags;
    for (const EquipmentItem &item : list())
        tags << item.tag;
    return tags;
}

QList<qint64> EquipmentStore::testsOf(qint64 itemId, qint64 fromMs, qint64 toMs) const
{
    QList<qint64> tests;
    QSqlQuery query(m_database);
    query.setForwardOnly(true);
    // A test is dated by the day the technician gave it (a record of the
    // meter's memory carries none of its own), else by its readings.
    query.prepare(QStringLiteral("SELECT id FROM (SELECT tests.id,"
                                 " CASE WHEN test_details.tested_ms > 0 THEN test_details.tested_ms"
                                 " ELSE tests.started_ms END AS tested_ms"
                                 " FROM tests JOIN test_details ON test_details.test_id = tests.id"
                                 " WHERE test_details.equipment_id = ?)"
                                 " WHERE tested_ms >= ? AND tested_ms < ? ORDER BY tested_ms, id"));
    query.addBindValue(itemId);
    query.addBindValue(fromMs < 0 ? std::numeric_limits<qint64>::min() : fromMs);
    query.addBindValue(toMs < 0 ? std::numeric_limits<qint64>::max() : toMs);
    if (!query.exec()) {
        m_error = query.lastError().text();
        return tests;
    }
    while (query.next())
        tests << query.value(0).toLongLong();
    return tests;
}

int EquipmentStore::registerFreeText()
{
    QSqlQuery query(m_database);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT test_details.test_id, trim(test_details.equipment) FROM test_details"
                                   " JOIN tests ON tests.id = test_details.test_id"
                                   " WHERE test_details.equipment_id IS NULL AND trim(test_details.equipment) <> ''"
                                   " ORDER BY tests.started_ms DESC"))) {
        m_error = query.lastError().text();
        return 0;
    }
    QList<QPair<qint64, QString>> unmatched;
    while (query.next())
        unmatched.append({query.value(0).toLongLong(), query.value(1).toString()});
    if (unmatched.isEmpty())
        return 0;

    ScopedTransaction transaction(m_database);
    const TestStore tests(m_database);
    int linked = 0;
    for (const auto &[testId, tag] : qAsConst(unmatched)) {
        std::optional<EquipmentItem> item = findByTag(tag);
        if (!item) {
            // The newest test naming it tells most about the item.
            EquipmentItem created = EquipmentItem::describedBy(tests.details(testId));
            created.tag = tag;
            if (!save(created))
                continue;
            item = created;
        }
        QSqlQuery link(m_database);
        link.prepare(QStringLiteral("UPDATE test_details SET equipment_id = ? WHERE test_id = ?"));
        link.addBindValue(item->id);
        link.addBindValue(testId);
        linked += link.exec() ? 1 : 0;
    }
    return transaction.commit() ? linked : 0;
}

QList<EquipmentItem> EquipmentStore::select(const QString &where, const QVariantList &values) const
{
    QList<EquipmentItem> items;
    QSqlQuery query(m_database);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT %1 FROM equipment %2").arg(itemColumns, where));
    for (const QVariant &value : values)
        query.addBindValue(value);
    if (!query.exec()) {
        m_error = query.lastError().text();
        return items;
    }
    while (query.next())
        items.append(itemFrom(query));
    return items;
}
