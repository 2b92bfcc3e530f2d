// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QJsonValue>

// A JSON object written as text in the order its members were added.
// QJsonObject sorts its keys; a line that a person reads in a bug report
// should keep the order that makes sense of it.
class OrderedJsonObject
{
public:
    void add(const char *key, const QJsonValue &value);
    void add(const char *key, const OrderedJsonObject &object);

    // Compact, without a line end.
    QByteArray text() const;

private:
    static QByteArray scalar(const QJsonValue &value);
    static QByteArray member(const char *key, const QByteArray &value);

    QByteArrayList m_members;
};
