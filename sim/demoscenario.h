// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "sim/streamsource.h"

#include <QList>
#include <QString>

#include <chrono>

// A virtual meter that goes through the rounds of DemoCycle over and over:
// live frames at the pace of a real meter. Its memory is downloaded (a burst
// of stored frames) after the first full round, and then only every few
// minutes, as a user would ask for it: the window brings the stored table
// forward for each download, and both tables should be there to watch. The
// fast pace hands over whole rounds at once, each with its download, for
// tests that want much data quickly.
class DemoScenario : public StreamSource
{
public:
    enum class Pace { RealTime, Fast };

    static constexpr std::chrono::milliseconds liveInterval{300};
    static constexpr std::chrono::milliseconds downloadDelay{600};
    static constexpr std::chrono::milliseconds downloadPeriod{std::chrono::minutes(4)};

    explicit DemoScenario(Pace pace = Pace::RealTime);

    // Adds a meter at `path` to the simulation and lets a scenario drive it.
    static void installMeter(const QString &path, Pace pace = Pace::RealTime);

    Chunk nextChunk() override;

    int round() const { return m_round; }

private:
    void planNextRound();

    Pace m_pace = Pace::RealTime;
    int m_round = 0;
    QList<Chunk> m_planned;
    // Meter time planned since the last download.
    std::chrono::milliseconds m_sinceDownload{0};
};
