// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "util/savefilename.h"

#include <QFileInfo>
#include <QRegularExpression>

QStringList SaveFileName::suffixesOf(const QString &filter)
{
    static const QRegularExpression pattern(QStringLiteral("\\*\\.([A-Za-z0-9]+)"));
    QStringList suffixes;
    QRegularExpressionMatchIterator it = pattern.globalMatch(filter);
    while (it.hasNext())
        suffixes << it.next().captured(1).toLower();
    return suffixes;
}

QString SaveFileName::withSuffix(const QString &fileName, const QString &filter, const QString &suffix)
{
    // A file that is there was picked as it is, and its replacing agreed to.
    if (fileName.isEmpty() || QFileInfo::exists(fileName))
        return fileName;
    const QString typed = QFileInfo(fileName).suffix().toLower();
    if (!typed.isEmpty() && suffixesOf(filter).contains(typed))
        return fileName;
    // "chart." would become "chart..png"
    const QString stem = fileName.endsWith(QLatin1Char('.')) ? fileName.chopped(1) : fileName;
    return stem + QLatin1Char('.') + suffix;
}
