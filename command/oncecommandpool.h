// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "command/commandpool.h"

// Commands sent one time each, first in first out. The first command stays in
// the pool until the pump removes it after sending.
class OnceCommandPool : public CommandPool
{
public:
    OnceCommandPool();
    ~OnceCommandPool() override;

    QSharedPointer<Command> getNextCommand() override;
    QSharedPointer<Command> getCurrentCommand() override;
    void removeFirstCommand();
};
