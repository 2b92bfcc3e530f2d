// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "sim/demoscenario.h"

#include "sim/democycle.h"
#include "sim/simulatedhid.h"

#include <memory>

DemoScenario::DemoScenario(Pace pace)
    : m_pace(pace)
{
}

void DemoScenario::installMeter(const QString &path, Pace pace)
{
    SimulatedHid::addDevice(VirtualHidDevice::meter(path));
    SimulatedHid::attachSource(path, std::make_shared<DemoScenario>(pace));
}

StreamSource::Chunk DemoScenario::nextChunk()
{
    if (m_planned.isEmpty())
        planNextRound();
    return m_planned.takeFirst();
}

void DemoScenario::planNextRound()
{
    const DemoCycle cycle(m_round++);
    // A download arrives as one burst, so its frames straddle reports.
    const QByteArray download = cycle.storedFrames().join();
    if (m_pace == Pace::Fast) {
        m_planned.append({cycle.liveFrames().join() + download, std::chrono::milliseconds(0)});
        return;
    }
    const bool firstRound = m_round == 1;
    for (const QByteArray &frame : cycle.liveFrames()) {
        m_planned.append({frame, liveInterval});
        m_sinceDownload += liveInterval;
    }
    if (firstRound || m_sinceDownload >= downloadPeriod) {
        m_planned.append({download, downloadDelay});
        m_sinceDownload = std::chrono::milliseconds(0);
    }
}
