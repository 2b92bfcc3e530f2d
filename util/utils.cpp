// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "util/utils.h"

int Utils::getCheckSum(const char *data, int len)
{
    int sum = 0;
    for (int i = 0; i < len; ++i)
        sum += static_cast<unsigned char>(data[i]);
    return sum;
}

QList<QObject *> Utils::getChildObject(QObject *parent, const QStringList &classNames, bool recursive)
{
    QList<QObject *> found;
    if (!parent)
        return found;
    for (QObject *child : parent->children()) {
        if (classNames.isEmpty() || classNames.contains(QLatin1String(child->metaObject()->className())))
            found.append(child);
        if (recursive)
            found.append(getChildObject(child, classNames, true));
    }
    return found;
}
