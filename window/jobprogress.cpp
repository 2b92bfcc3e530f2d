// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "window/jobprogress.h"

#include "util/backgroundjob.h"

#include <QAbstractButton>
#include <QEventLoop>
#include <QProgressBar>
#include <QProgressDialog>

namespace {
bool waitFor(BackgroundJob &job)
{
    QEventLoop loop;
    bool succeeded = false;
    QObject::connect(&job, &BackgroundJob::finished, &loop, [&loop, &succeeded](bool done) {
        succeeded = done;
        loop.quit();
    });
    job.start();
    loop.exec();
    return succeeded;
}
} // namespace

bool JobProgress::run(BackgroundJob &job, QProgressBar &bar, QAbstractButton &cancel)
{
    bar.setRange(0, 100);
    bar.setValue(0);
    bar.show();
    cancel.show();
    const QMetaObject::Connection progress = QObject::connect(&job, &BackgroundJob::progressed, &bar,
                                                              &QProgressBar::setValue);
    const QMetaObject::Connection cancelling = QObject::connect(&cancel, &QAbstractButton::clicked, &job,
                                                                &BackgroundJob::cancel);
    const bool succeeded = waitFor(job);
    QObject::disconnect(progress);
    QObject::disconnect(cancelling);
    bar.hide();
    cancel.hide();
    return succeeded;
}

bool JobProgress::run(BackgroundJob &job, const QString &label, QWidget *parent)
{
    QProgressDialog dialog(label, QProgressDialog::tr("Cancel"), 0, 100, parent);
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setMinimumDuration(500);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    QObject::connect(&job, &BackgroundJob::progressed, &dialog, &QProgressDialog::setValue);
    QObject::connect(&dialog, &QProgressDialog::canceled, &job, &BackgroundJob::cancel);
    return waitFor(job);
}
