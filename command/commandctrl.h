// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "command/command.h"
#include "command/pump.h"

#include <QObject>
#include <QSharedPointer>

#include <memory>

class CommandPump;
class QThread;

// Runs a command pump on a thread of its own and relays its signals to the
// owner's thread. Every operation except response() belongs to the owner's thread.
class CommandCtrl : public QObject
{
    Q_OBJECT

public:
    explicit CommandCtrl(QObject *parent = nullptr);
    ~CommandCtrl() override;

    // False when the pump is already running.
    bool start();
    // Ends the pump and waits for its thread; returns within about one
    // interval, however long the command in flight may wait.
    void stop();
    // Empties both pools.
    void reset();
    void add(QSharedPointer<Command> cmd, Pump::PoolMode mode);
    // Reports the outcome of the command in flight; any thread may call it.
    void response(Pump::ResponseResult r);
    void setInterval(int ms);
    // A paused pump sends nothing but keeps a command it is retrying.
    void setPause(bool pause);
    // The pump's cycles so far; any thread may call it.
    quint64 cycleCount() const;

signals:
    void started();
    void stoped();
    void communicationTimeout();
    void nextCommand(QSharedPointer<Command> cmd);
    void startRun();

private:
    std::unique_ptr<QThread> m_thread;
    std::unique_ptr<CommandPump> m_pump;
};
