// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "command/commandpump.h"

#include <QDeadlineTimer>
#include <QDebug>
#include <QMutexLocker>

#include <algorithm>

CommandPump::CommandPump(int interval, QObject *parent)
    : Pump(parent)
    , m_interval(interval)
    , m_oncePool(std::make_unique<OnceCommandPool>())
    , m_loopPool(std::make_unique<LoopCommandPool>())
{
}

CommandPump::~CommandPump() = default;

bool CommandPump::isRunning() const
{
    return m_isRunning;
}

void CommandPump::setRunning(bool running)
{
    m_isRunning = running;
}

int CommandPump::interval() const
{
    return m_interval;
}

void CommandPump::setInterval(int ms)
{
    m_interval = ms;
}

quint64 CommandPump::cycleCount() const
{
    return m_cycles;
}

void CommandPump::reset()
{
    qDebug() << "CommandPump::reset()" << "==========================================";
    m_oncePool->reset();
    m_loopPool->reset();
}

void CommandPump::add(const QSharedPointer<Command> &command, Pump::PoolMode mode)
{
    switch (mode) {
    case pmOnce:
        m_oncePool->add(command);
        break;
    case pmLoop:
        m_loopPool->add(command);
        break;
    }
}

void CommandPump::doRun()
{
    beginRun();
    emit started();
    if (!shouldStop())
        runCycles();
    emit stoped();
}

// A stop requested before the loop got here must not be wiped out by the
// fresh result.
void CommandPump::beginRun()
{
    QMutexLocker locker(&m_mutex);
    m_result = m_stopRequested ? rrStop : rrNone;
}

bool CommandPump::shouldStop() const
{
    return m_stopRequested || m_result == rrStop;
}

void CommandPump::runCycles()
{
    int attempts = 0;
    QSharedPointer<Command> current; // kept across cycles for its retries
    for (;;) {
        ++m_cycles;
        if (!m_pause) {
            bool fromOncePool = false;
            if (attempts == 0)
                current = fetchNextCommand(fromOncePool);
            if (current) {
                const Attempt attempt = sendAndAwait(current);
                if (attempt == Attempt::Answered) {
                    attempts = 0;
                } else if (attempt == Attempt::Unanswered && ++attempts >= m_retryNum) {
                    emit communicationTimeout();
                    setResult(rrStop);
                    return;
                }
                // The once pool lets go of a command when it is first sent;
                // its retries use `current`.
                if (fromOncePool && attempt != Attempt::NotSent)
                    m_oncePool->removeFirstCommand();
            }
        }
        sleepInterval();
        if (shouldStop())
            return;
    }
}

QSharedPointer<Command> CommandPump::fetchNextCommand(bool &fromOncePool) const
{
    QSharedPointer<Command> command = m_oncePool->getNextCommand();
    fromOncePool = !command.isNull();
    if (!fromOncePool)
        command = m_loopPool->getNextCommand();
    return command;
}

// The command is emitted with the mutex held, so a response cannot slip in
// before the wait begins.
CommandPump::Attempt CommandPump::sendAndAwait(const QSharedPointer<Command> &command)
{
    QMutexLocker locker(&m_mutex);
    if (m_stopRequested)
        return Attempt::NotSent;
    m_result = rrWaiting;
    emit nextCommand(command);
    // A negative time-out would mean "wait forever".
    m_cond.wait(&m_mutex, QDeadlineTimer(std::max(0, command->timeout())));
    if (m_stopRequested)
        return Attempt::Interrupted;
    return m_result == rrSuccess ? Attempt::Answered : Attempt::Unanswered;
}

// Waiting on the condition rather than sleeping lets a stop end the pause at
// once; responses that wake it early do not shorten the interval.
void CommandPump::sleepInterval()
{
    const QDeadlineTimer deadline(std::max(0, m_interval.load()));
    QMutexLocker locker(&m_mutex);
    while (!m_stopRequested && m_cond.wait(&m_mutex, deadline)) {
    }
}
