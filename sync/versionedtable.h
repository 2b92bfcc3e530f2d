// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

// What tells the register's items and the tests' details apart where both
// are synced alike: editable rows with a version, on the server and in the
// journal, whose lost edits go to a history table.
struct VersionedTable
{
    enum class Kind { Equipment, TestDetails };

    Kind kind;
    QString table;         // the same name on the server and in the journal
    QString serverKey;     // the server's key: a uuid
    QString history;       // the same name on both sides
    QString localHistoryKey;
    QString localId;       // the journal's own key column
    QStringList fields;    // the editable columns, named alike on both sides
    QStringList extras;    // columns only the server keeps, sent with the fields
    // Rows waiting to go up: local id, key, fields, extras, version,
    // synced_version, updated_ms.
    QString localPending;
    // One row by its key: local id, fields, version, synced_version.
    QString localByKey;

    bool isEquipment() const { return kind == Kind::Equipment; }

    static const VersionedTable &equipment();
    static const VersionedTable &testDetails();
};
