// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QObject>
#include <QStringList>

class QAbstractTableModel;

// Static helpers shared by several parts of the program; never instantiated.
class Utils : public QObject
{
public:
    Utils() = delete;

    // Sum of `len` bytes taken as unsigned values; 0 for len <= 0.
    static int getCheckSum(const char *data, int len);

    // Writes the model's header texts and display texts as CSV (UTF-8, one
    // line feed after every line, cells quoted only where they need it).
    // False, with the reason in `errorString` when given, when the file
    // cannot be opened or the writing fails; a file that was there before
    // then stays as it was.
    static bool exportToCSV(QAbstractTableModel *model, const QString &fileName, QString *errorString = nullptr);

    // Waits `ms` milliseconds while handling events, at most `maxTime`
    // milliseconds of event processing at a time.
    static void delayMs(unsigned int ms, unsigned int maxTime);

    // Children of `parent` whose class name is one of `classNames` (all of
    // them when the list is empty), depth first, each before its descendants.
    static QList<QObject *> getChildObject(QObject *parent, const QStringList &classNames, bool recursive);
};
