// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// What tells the register's items and the tests' details apart where both
// are synced alike: editable rows with a version, on the server and in the
// journal, whose lost edits go to a history table. The sync builds its
// statements from this description; every name in it is the program's own,
// never a user's, and values are always bound.
struct VersionedTable
{
    // A column only the server keeps, sent with the fields, and what the
    // journal reads for it: an expression over the row (r) and its owner (o).
    struct Extra
    {
        QString column;
        QString expression;
        // The server gives it back with the row, and its history keeps it.
        bool kept = false;
    };
    // A statement of the journal's with the names of the values it binds,
    // in order: "id" for the row's own id in the journal, else a field or a
    // kept extra of the row that came down.
    struct Statement
    {
        QString sql;
        QStringList values;
    };

    QString table;           // the same name on the server and in the journal
    QString history;         // the same name on both sides
    QString serverKey;       // the server's key: a uuid
    QString localHistoryKey; // the column of the journal's history naming the row's key
    QString localId;         // the journal's own key column
    // The journal's table the row belongs to, when the row's key is its
    // owner's (details are a test's): `localId` is then the owner's id.
    QString owner;
    QString localKey;        // the key's column, in the row's table or its owner's
    // A field that names a row as well as its key, whatever its letters'
    // case: a row of the same value is the same row. Only a row whose key
    // is its own column has one.
    QString naturalKey;
    // Where both sides keep the natural key's TagKey, the one rule by which
    // two values are the same; unique on both.
    QString naturalKeyColumn;
    QStringList fields;      // the editable columns, named alike on both sides
    QList<Extra> extras;
    // What a row waiting to go up must meet as well, over r and o.
    QString pendingCondition;
    // Run in the journal after a row came down: tests belong to the item
    // their details name.
    Statement link;

    QStringList extraColumns() const;
    QStringList keptExtras() const;

    // key, fields, kept extras, version, updated_ms.
    QString serverColumns() const;
    // Rows edited here since their last sync: local id, key, fields,
    // extras, version, synced_version, updated_ms.
    QString localPending() const;
    // One row by its key: local id, version, synced_version.
    QString localByKey() const;
    // Keeps a row of the journal, by its local id, in the journal's history
    // with the time and reason bound after it.
    QString localKeep() const;

    static const VersionedTable &equipment();
    static const VersionedTable &testDetails();
};
