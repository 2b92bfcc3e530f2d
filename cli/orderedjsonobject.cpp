// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "cli/orderedjsonobject.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QString>

void OrderedJsonObject::add(const char *key, const QJsonValue &value)
{
    m_members << member(key, scalar(value));
}

void OrderedJsonObject::add(const char *key, const OrderedJsonObject &object)
{
    m_members << member(key, object.text());
}

QByteArray OrderedJsonObject::text() const
{
    return '{' + m_members.join(',') + '}';
}

// Qt's own writer does the escaping and number forms (null for NaN and
// infinities); a one-element array makes it write a lone value.
QByteArray OrderedJsonObject::scalar(const QJsonValue &value)
{
    const QByteArray array = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
}

QByteArray OrderedJsonObject::member(const char *key, const QByteArray &value)
{
    return scalar(QString::fromLatin1(key)) + ':' + value;
}
