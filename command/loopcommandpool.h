// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "command/commandpool.h"

// Commands sent over and over as a ring: c1, c2, c3, c1, c2, ...
class LoopCommandPool : public CommandPool
{
public:
    LoopCommandPool();
    ~LoopCommandPool() override;

    void reset() override;
    QSharedPointer<Command> getNextCommand() override;
    QSharedPointer<Command> getCurrentCommand() override;

private:
    // Position of the command handed out last; -1 when none.
    int m_index = -1;
};
