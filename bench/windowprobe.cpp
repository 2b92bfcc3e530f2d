// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "bench/windowprobe.h"

#include "app/proglobal.h"
#include "bench/benchreadings.h"
#include "meter/mydmm.h"
#include "models/datamodel.h"
#include "window/templatewindow.h"

#include <QCoreApplication>
#include <QTabWidget>
#include <QTableView>

#include <qcustomplot.h>

namespace {
constexpr int liveTab = 0;
constexpr int storedTab = 1;
// Readings between two passes of the event loop while a table is filled; the
// benchmarks measure a pass per reading, filling needs not draw so often.
constexpr int readingsPerPass = 1024;
} // namespace

WindowProbe::WindowProbe()
{
    ProGlobal::instance()->setAppTitle(QStringLiteral("Tessra"));
    ProGlobal::instance()->setAppVersion(QStringLiteral("1.00"));
    m_window = std::make_unique<TemplateWindow>();
    m_window->resize(1280, 800);
    m_window->show();
    settle();
}

WindowProbe::~WindowProbe() = default;

MyDMM *WindowProbe::meter() const
{
    return m_window->findChild<MyDMM *>();
}

void WindowProbe::live(const QSharedPointer<DMMData> &record) const
{
    emit meter()->updateLiveData(record);
}

// Twice: what the first pass posts (the repaint after the chart's drawing)
// is handled by the second.
void WindowProbe::settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

void WindowProbe::recordIR(int rows, int slack, BenchReadings &readings) const
{
    showTab(liveTab);
    if (liveModel()->rowCount() > rows + slack)
        clearLive();
    for (int count = liveModel()->rowCount(); count < rows; ++count) {
        live(readings.nextIR());
        if (count % readingsPerPass == 0)
            settle();
    }
    settle();
}

// The same as the Clear action, without its question.
void WindowProbe::clearLive() const
{
    showTab(liveTab);
    liveModel()->clear();
    showTab(storedTab);
    showTab(liveTab);
    settle();
}

void WindowProbe::showTab(int index) const
{
    m_window->findChild<QTabWidget *>(QStringLiteral("tabWgTV"))->setCurrentIndex(index);
}

DataModel *WindowProbe::liveModel() const
{
    return qobject_cast<DataModel *>(m_window->findChild<QTableView *>(QStringLiteral("tv1"))->model());
}

QCustomPlot *WindowProbe::plot() const
{
    return m_window->findChild<QCustomPlot *>(QStringLiteral("plot1"));
}
