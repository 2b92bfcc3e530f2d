// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "command/oncecommandpool.h"

#include <QMutexLocker>

OnceCommandPool::OnceCommandPool() = default;

OnceCommandPool::~OnceCommandPool() = default;

QSharedPointer<Command> OnceCommandPool::getNextCommand()
{
    QMutexLocker locker(&m_mutex);
    return m_commands.isEmpty() ? QSharedPointer<Command>() : m_commands.first();
}

QSharedPointer<Command> OnceCommandPool::getCurrentCommand()
{
    return getNextCommand();
}

void OnceCommandPool::removeFirstCommand()
{
    QMutexLocker locker(&m_mutex);
    if (!m_commands.isEmpty())
        m_commands.removeFirst();
}
