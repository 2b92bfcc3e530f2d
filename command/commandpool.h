// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "command/command.h"

#include <QMutex>
#include <QObject>
#include <QSharedPointer>
#include <QVector>

// A thread-safe queue of commands waiting to be sent; subclasses decide the
// order in which they are handed out. Every call holds the pool's mutex.
class CommandPool : public QObject
{
public:
    CommandPool();
    ~CommandPool() override;

    virtual void reset();
    // The command to send next, or an empty pointer when there is none.
    virtual QSharedPointer<Command> getNextCommand() = 0;
    // The command handed out last, without moving on.
    virtual QSharedPointer<Command> getCurrentCommand() = 0;

    // Appends `command` and returns the new number of commands.
    int add(QSharedPointer<Command> command);

protected:
    QVector<QSharedPointer<Command>> m_commands;
    QMutex m_mutex;
};
