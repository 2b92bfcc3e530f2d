// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "bench/benchfigures.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {
QtMessageHandler defaultHandler = nullptr;

// The stored-data debug line is built as always, but not written out: the
// terminal would measure itself.
void dropDebugLines(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type != QtDebugMsg && defaultHandler)
        defaultHandler(type, context, message);
}
} // namespace

// A widget application without a screen, working in a directory of its own
// (the window reads and writes its settings file in the working directory).
int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    defaultHandler = qInstallMessageHandler(dropDebugLines);
    QTemporaryDir workDir;
    if (!workDir.isValid() || !QDir::setCurrent(workDir.path()))
        return 1;

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    BenchFigures figures;
    benchmark::RunSpecifiedBenchmarks(&figures);
    figures.printFigures();
    benchmark::Shutdown();
    return 0;
}
