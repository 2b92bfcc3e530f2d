// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "insulation/equipmentitem.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <optional>

// The equipment register of a journal. Tags are unique whatever their
// letters' case (TagKey's rule), and a test belongs to the item whose tag its details name.
class EquipmentStore
{
public:
    explicit EquipmentStore(QSqlDatabase database);

    // Adds a new item or saves an edit of one, as a new version of it; false
    // (with the reason) for a tag that is empty or already another item's.
    bool save(EquipmentItem &item);
    bool remove(qint64 id);

    std::optional<EquipmentItem> find(qint64 id) const;
    std::optional<EquipmentItem> findByTag(const QString &tag) const;
    // By tag.
    QList<EquipmentItem> list() const;
    QStringList tags() const;

    // The item's tests started from `fromMs` up to `toMs` (-1: open), the
    // oldest first.
    QList<qint64> testsOf(qint64 itemId, qint64 fromMs = -1, qint64 toMs = -1) const;

    // Tests whose details name equipment by free text become tests of the
    // item with that tag: a new item where the register has none, with what
    // the latest of those tests tells of it. Returns how many tests were
    // linked.
    int registerFreeText();

    QString errorString() const { return m_error; }

private:
    int storedVersion(qint64 id) const;
    QList<EquipmentItem> select(const QString &where, const QVariantList &values) const;

    QSqlDatabase m_database;
    mutable QString m_error;
};
