// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "command/command.h"
#include "command/loopcommandpool.h"
#include "command/oncecommandpool.h"
#include "command/pump.h"

#include <QSharedPointer>

#include <atomic>
#include <memory>

// Sends queued commands one at a time from its own thread: once commands
// first, then the loop ring; waits for each response, retries, and reports a
// communication time-out after three unanswered attempts in a row.
class CommandPump : public Pump
{
    Q_OBJECT

public:
    explicit CommandPump(int interval, QObject *parent = nullptr);
    ~CommandPump() override;

    // Whether the owner has started the pump; read and written by the owner's thread only.
    bool isRunning() const;
    void setRunning(bool running);

    int interval() const;
    // Milliseconds slept between cycles, from the next cycle on.
    void setInterval(int ms);

    // Cycles begun since construction. Commands and signals look the same
    // whether the pump sleeps between cycles or spins; only the count tells.
    quint64 cycleCount() const;

    // Empties both pools.
    void reset();
    void add(const QSharedPointer<Command> &command, Pump::PoolMode mode);

signals:
    void nextCommand(QSharedPointer<Command> command);
    void started();
    void stoped();
    void communicationTimeout();

public slots:
    void doRun();

private:
    enum class Attempt {
        NotSent, // a stop came first
        Answered,
        Unanswered,
        Interrupted, // sent, but a stop ended the wait
    };

    void beginRun();
    bool shouldStop() const;
    void runCycles();
    QSharedPointer<Command> fetchNextCommand(bool &fromOncePool) const;
    Attempt sendAndAwait(const QSharedPointer<Command> &command);
    void sleepInterval();

    bool m_isRunning = false;
    std::atomic<int> m_interval{0};
    std::atomic<quint64> m_cycles{0};
    const int m_retryNum = 3;
    std::unique_ptr<OnceCommandPool> m_oncePool;
    std::unique_ptr<LoopCommandPool> m_loopPool;
};
