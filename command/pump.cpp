// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "command/pump.h"

#include <QMetaType>
#include <QMutexLocker>

Pump::Pump(QObject *parent)
    : QObject(parent)
{
    qRegisterMetaType<Pump::PoolMode>("Pump::PoolMode");
}

Pump::~Pump() = default;

Pump::ResponseResult Pump::result() const
{
    return m_result;
}

void Pump::setResult(ResponseResult result)
{
    QMutexLocker locker(&m_mutex);
    m_result = result;
    m_cond.wakeAll();
}

bool Pump::isPaused() const
{
    return m_pause;
}

void Pump::setPause(bool pause)
{
    m_pause = pause;
}

void Pump::requestStop()
{
    QMutexLocker locker(&m_mutex);
    m_stopRequested = true;
    m_result = rrStop;
    m_cond.wakeAll();
}

void Pump::clearStopRequest()
{
    QMutexLocker locker(&m_mutex);
    m_stopRequested = false;
}

bool Pump::stopRequested() const
{
    return m_stopRequested;
}
