// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QObject>
#include <QStringList>

// Static helpers shared by several parts of the program; never instantiated.
class Utils : public QObject
{
public:
    Utils() = delete;

    // Sum of `len` bytes taken as unsigned values; 0 for len <= 0.
    static int getCheckSum(const char *data, int len);

    // The children of `parent` whose class name is one of `classNames` (all
    // children when it is empty), each before its own descendants when
    // `recursive` is set.
    static QList<QObject *> getChildObject(QObject *parent, const QStringList &classNames, bool recursive);
};
