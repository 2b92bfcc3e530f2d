// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QCoreApplication>
#include <QString>

#include <functional>

class BackgroundJob;
class TemplateWindow;

// The long work on a kept session, in the background with progress and a
// cancel: its readings brought back into the window's tables, or written as
// CSV files, one per mode. Each reads the whole session or nothing, and
// writes whole files or none.
class SessionJobs
{
    Q_DECLARE_TR_FUNCTIONS(SessionJobs)

public:
    // Runs a job to its end, showing its progress; false when it failed or
    // was cancelled.
    using Runner = std::function<bool(BackgroundJob &job, const QString &label)>;

    SessionJobs() = delete;

    // A progress window over `window`.
    static Runner progressWindow(TemplateWindow &window);

    // `error` stays empty when the user cancelled.
    static bool open(const QString &journalFile, qint64 id, TemplateWindow &window, const Runner &run,
                     QString &error);
    static bool exportTo(const QString &journalFile, qint64 id, const QString &directory, const Runner &run,
                         QString &error);
};
