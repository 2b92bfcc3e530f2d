// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QtGlobal>

// Telling a loop that pauses between its passes from one that spins, by
// counting passes rather than timing them.
namespace PacedLoop {

// How long a test lets a loop run before it counts.
constexpr int watchMs = 300;

// Turns the event loop for watchMs without pausing, so that whatever the loop
// under watch waits for from this thread comes back as fast as it can.
void watch();

// The most passes a loop that pauses `pauseMs` after each can make within
// `elapsedMs`, with room to spare for pauses that end early: a slow machine
// only makes fewer, while a loop that stopped pausing makes many thousands.
quint64 mostPasses(qint64 elapsedMs, int pauseMs);

} // namespace PacedLoop
