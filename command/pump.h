// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QMutex>
#include <QObject>
#include <QWaitCondition>

#include <atomic>

// The state a command pump loop shares with other threads: the response
// result it waits on, the pause switch and the stop request.
class Pump : public QObject
{
    Q_OBJECT

public:
    enum PoolMode {
        pmOnce = 0,
        pmLoop = 1,
    };
    Q_ENUM(PoolMode)

    enum ResponseResult {
        rrNone = 0,
        rrWaiting = 1,
        rrStop = 2,
        rrSuccess = 3,
    };
    Q_ENUM(ResponseResult)

    explicit Pump(QObject *parent = nullptr);
    ~Pump() override;

    ResponseResult result() const;
    // Stores `result` and wakes the loop; safe from any thread.
    void setResult(ResponseResult result);

    bool isPaused() const;
    void setPause(bool pause);

    // Asks the loop to end and wakes it. The request outlives the start of
    // the loop, so a stop that comes before the loop runs still counts.
    void requestStop();
    void clearStopRequest();
    bool stopRequested() const;

protected:
    QMutex m_mutex;
    QWaitCondition m_cond;
    std::atomic<bool> m_pause{false};
    std::atomic<ResponseResult> m_result{rrNone};
    // Written under m_mutex so that a waiting loop cannot miss it.
    std::atomic<bool> m_stopRequested{false};
};
