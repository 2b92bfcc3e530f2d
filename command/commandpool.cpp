// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "command/commandpool.h"

#include <QMetaType>
#include <QMutexLocker>

#include <utility>

CommandPool::CommandPool()
{
    // Commands leave the pump thread through queued signals.
    qRegisterMetaType<QSharedPointer<Command>>("QSharedPointer<Command>");
}

CommandPool::~CommandPool() = default;

void CommandPool::reset()
{
    QMutexLocker locker(&m_mutex);
    m_commands.clear();
}

int CommandPool::add(QSharedPointer<Command> command)
{
    QMutexLocker locker(&m_mutex);
    m_commands.append(std::move(command));
    return m_commands.size();
}
