// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "meter/dmmdata.h"

#include <QSharedPointer>

#include <memory>

class BenchReadings;
class DataModel;
class MyDMM;
class QCustomPlot;
class TemplateWindow;

// The main window, shown, fed the way its meter connection feeds it: records
// arrive through the connection's signals and the event loop runs between
// them, as it does between two reports from the meter.
class WindowProbe
{
public:
    WindowProbe();
    ~WindowProbe();

    WindowProbe(const WindowProbe &) = delete;
    WindowProbe &operator=(const WindowProbe &) = delete;

    void live(const QSharedPointer<DMMData> &record) const;
    // Lets the event loop do what the last records left for it: the chart's
    // drawing and the repainting of the window.
    static void settle();

    // Records IR readings until the live IR table holds `rows` rows, emptying
    // it first when it already holds more than `rows` and `slack` together.
    void recordIR(int rows, int slack, BenchReadings &readings) const;
    // Empties the live table of the mode shown and the chart with it.
    void clearLive() const;
    void showTab(int index) const;

    DataModel *liveModel() const;
    QCustomPlot *plot() const;

private:
    MyDMM *meter() const;

    std::unique_ptr<TemplateWindow> m_window;
};
