// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "support/messagecollector.h"

#include <QMutex>
#include <QMutexLocker>
#include <QtGlobal>

namespace {
QMutex collectedMutex;
QStringList collected;
QtMessageHandler previousHandler = nullptr;

void collect(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    QtMessageHandler passOn = nullptr;
    {
        const QMutexLocker locker(&collectedMutex);
        collected.append(message);
        passOn = previousHandler;
    }
    if (passOn)
        passOn(type, context, message);
}
} // namespace

MessageCollector::MessageCollector()
{
    const QMutexLocker locker(&collectedMutex);
    collected.clear();
    previousHandler = qInstallMessageHandler(collect);
}

MessageCollector::~MessageCollector()
{
    qInstallMessageHandler(previousHandler);
    const QMutexLocker locker(&collectedMutex);
    previousHandler = nullptr;
}

// A list of its own: a shared copy would let the caller's release of it race
// with a logging thread growing the list in place, which Qt's implicit
// sharing allows once it sees the list unshared.
QStringList MessageCollector::messages() const
{
    const QMutexLocker locker(&collectedMutex);
    QStringList copy;
    copy.reserve(collected.size());
    for (const QString &message : collected)
        copy.append(message);
    return copy;
}

bool MessageCollector::contains(const QString &message) const
{
    return messages().contains(message);
}

int MessageCollector::countStartingWith(const QString &prefix) const
{
    int count = 0;
    for (const QString &message : messages()) {
        if (message.startsWith(prefix))
            ++count;
    }
    return count;
}
