// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

class BackgroundJob;
class QAbstractButton;
class QProgressBar;
class QWidget;

// Runs a background job to its end while a progress bar follows it and a
// button cancels it. The event loop keeps turning meanwhile, so readings go
// on being recorded.
class JobProgress
{
public:
    JobProgress() = delete;

    // On a bar and a button of a dialog that is open already.
    static bool run(BackgroundJob &job, QProgressBar &bar, QAbstractButton &cancel);
    // In a progress dialog of its own, shown once the work takes a moment.
    static bool run(BackgroundJob &job, const QString &label, QWidget *parent);
};
