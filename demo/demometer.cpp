// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
//
// Linked only into tessra-demo, together with the simulated HID bus in place
// of hidapi: one demonstration meter is attached before main runs, so the
// unchanged program finds it when the user presses Start.
#include "sim/demoscenario.h"

namespace {
const bool demoMeterAttached = [] {
    DemoScenario::installMeter(QStringLiteral("demo:tessra-meter"), DemoScenario::Pace::RealTime);
    return true;
}();
} // namespace
