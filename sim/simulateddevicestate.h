// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "sim/streamsource.h"
#include "sim/virtualhiddevice.h"

#include <hidapi.h>

#include <QByteArray>
#include <QList>

#include <chrono>
#include <deque>
#include <memory>
#include <string>

// One virtual device as the simulation keeps it. Open handles share it, so a
// device that is unplugged or dropped by a reset stays valid for them.
struct SimulatedDeviceState
{
    using Clock = std::chrono::steady_clock;

    struct Report
    {
        QByteArray bytes; // exactly what a read returns
        Clock::time_point due;
    };

    VirtualHidDevice info;
    bool openFails = false;
    bool unplugged = false;
    // Reads still to fail as if a signal had interrupted them.
    int failingReads = 0;
    std::deque<Report> pending;
    std::shared_ptr<StreamSource> source;
    QList<QByteArray> written;
};

// The handle hidapi hands out, opaque to its callers.
struct hid_device_
{
    std::shared_ptr<SimulatedDeviceState> device;
    bool nonBlocking = false;
    std::wstring lastError;
};
