// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

// Collects the debug output of every thread while it lives, so that tests can
// look for the program's diagnostic lines. One collector at a time.
class MessageCollector
{
public:
    MessageCollector();
    ~MessageCollector();

    MessageCollector(const MessageCollector &) = delete;
    MessageCollector &operator=(const MessageCollector &) = delete;

    QStringList messages() const;
    bool contains(const QString &message) const;
    int countStartingWith(const QString &prefix) const;
};
