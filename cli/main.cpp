// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "cli/loggercli.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QLoggingCategory>

#include <cstdio>
#include <memory>

namespace {
// Reports draw their charts with widgets: those runs need a widget
// application, on no screen unless one is asked for.
bool writesReport(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (argument == "--report" || argument == "--report-item" || argument.startsWith("--report=")
            || argument.startsWith("--report-item="))
            return true;
    }
    return false;
}

std::unique_ptr<QCoreApplication> makeApplication(int &argc, char *argv[])
{
    if (!writesReport(argc, argv))
        return std::make_unique<QCoreApplication>(argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QApplication>(argc, argv);
}
} // namespace

int main(int argc, char *argv[])
{
    const std::unique_ptr<QCoreApplication> app = makeApplication(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tessra-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.00"));
    // The program library's diagnostic lines would drown the status messages;
    // QT_LOGGING_RULES still turns them back on.
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));

    QFile out;
    QFile err;
    if (!out.open(fileno(stdout), QIODevice::WriteOnly | QIODevice::Unbuffered)
        || !err.open(fileno(stderr), QIODevice::WriteOnly | QIODevice::Unbuffered))
        return 1;
    LoggerCli cli(out, err);
    return cli.run(QCoreApplication::arguments());
}
