// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "cli/orderedjsonobject.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QJsonValue>
#include <QString>
#include <QStringList>

struct TestDetails;

// A test's details as JSON: the object --list-tests prints under "details",
// and the one --set-details reads back, by the same keys and names.
class DetailsJson
{
    Q_DECLARE_TR_FUNCTIONS(DetailsJson)

public:
    DetailsJson() = delete;

    static OrderedJsonObject object(const TestDetails &details);
    // One key's value as object() prints it; undefined for a key it has not.
    static QJsonValue valueOf(const TestDetails &details, const QString &key);

    // Reads one JSON object into `details`: a key given replaces its value
    // (null clears it), a key left out keeps it. False, with the key and
    // the reason in `error` and `details` untouched, for text that is no
    // object, an unknown key, a value of the wrong type or out of range.
    static bool read(const QByteArray &json, TestDetails &details, QStringList &given, QString &error);

    // The keys of what belongs to the item rather than to one test.
    static QStringList itemKeys();
};
