// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "support/pacedloop.h"

#include <QEventLoop>
#include <QTimer>

#include <algorithm>

namespace {
constexpr quint64 slackFactor = 2;
constexpr quint64 slackPasses = 10;
} // namespace

quint64 PacedLoop::mostPasses(qint64 elapsedMs, int pauseMs)
{
    const auto pauses = static_cast<quint64>(std::max<qint64>(0, elapsedMs) / std::max(1, pauseMs));
    return pauses * slackFactor + slackPasses;
}

void PacedLoop::watch()
{
    QEventLoop loop;
    QTimer::singleShot(watchMs, &loop, &QEventLoop::quit);
    loop.exec();
}
