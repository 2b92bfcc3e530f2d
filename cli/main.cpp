// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "cli/loggercli.h"

#include <QCoreApplication>
#include <QFile>
#include <QLoggingCategory>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
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
