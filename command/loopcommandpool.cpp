// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "command/loopcommandpool.h"

#include <QMutexLocker>

LoopCommandPool::LoopCommandPool() = default;

LoopCommandPool::~LoopCommandPool() = default;

void LoopCommandPool::reset()
{
    CommandPool::reset();
    QMutexLocker locker(&m_mutex);
    m_index = -1;
}

QSharedPointer<Command> LoopCommandPool::getNextCommand()
{
    QMutexLocker locker(&m_mutex);
    if (m_commands.isEmpty()) {
        m_index = -1;
        return {};
    }
    // The index may point past the end when the commands were cleared but the
    // index not yet rewound (reset takes two locked steps): wrap, don't overrun.
    const int next = m_index + 1;
    m_index = next >= m_commands.size() ? 0 : next;
    return m_commands.at(m_index);
}

QSharedPointer<Command> LoopCommandPool::getCurrentCommand()
{
    QMutexLocker locker(&m_mutex);
    if (m_index < 0 || m_index >= m_commands.size())
        return {};
    return m_commands.at(m_index);
}
