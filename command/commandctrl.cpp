// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "command/commandctrl.h"

#include "command/commandpump.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThread>


CommandCtrl::CommandCtrl(QObject *parent)
    : QObject(parent)
    , m_thread(std::make_unique<QThread>())
    , m_pump(std::make_unique<CommandPump>(10))
{
    m_thread->setObjectName(QStringLiteral("CommandPump"));
    m_pump->moveToThread(m_thread.get());

    connect(this, &CommandCtrl::startRun, m_pump.get(), &CommandPump::doRun);
    connect(m_pump.get(), &CommandPump::nextCommand, this, &CommandCtrl::nextCommand);
    connect(m_pump.get(), &CommandPump::started, this, &CommandCtrl::started);
    connect(m_pump.get(), &CommandPump::stoped, this, &CommandCtrl::stoped);
    connect(m_pump.get(), &CommandPump::communicationTimeout, this, &CommandCtrl::communicationTimeout);
}

CommandCtrl::~CommandCtrl()
{
    stop();
    m_pump.reset();
    m_thread.reset();
}

bool CommandCtrl::start()
{
    if (m_pump->isRunning())
        return false;
    m_pump->setPause(false);
    m_pump->clearStopRequest();
    m_pump->setRunning(true);
    m_thread->start();
    emit startRun();
    return true;
}

void CommandCtrl::stop()
{
    if (!m_pump->isRunning())
        return;
    m_pump->requestStop();
    m_pump->setRunning(false);
    m_thread->quit();
    m_thread->wait();
    // A thread told to quit before its event loop ran ends without running
    // the queued start; drop it, or the next start would run the pump twice.
    QCoreApplication::removePostedEvents(m_pump.get(), QEvent::MetaCall);
}

void CommandCtrl::reset()
{
    m_pump->reset();
}

void CommandCtrl::add(QSharedPointer<Command> cmd, Pump::PoolMode mode)
{
    m_pump->add(cmd, mode);
}

void CommandCtrl::response(Pump::ResponseResult r)
{
    m_pump->setResult(r);
}

void CommandCtrl::setInterval(int ms)
{
    m_pump->setInterval(ms);
}

void CommandCtrl::setPause(bool pause)
{
    m_pump->setPause(pause);
}

quint64 CommandCtrl::cycleCount() const
{
    return m_pump->cycleCount();
}
