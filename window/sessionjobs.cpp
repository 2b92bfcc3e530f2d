// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "window/sessionjobs.h"

#include "export/sessioncsvexport.h"
#include "journal/sessionreader.h"
#include "util/backgroundjob.h"
#include "window/jobprogress.h"
#include "window/templatewindow.h"

#include <memory>

namespace {
bool finish(BackgroundJob &job, bool succeeded, QString &error)
{
    error = succeeded || job.wasCancelled() ? QString() : job.errorString();
    return succeeded;
}
} // namespace

SessionJobs::Runner SessionJobs::progressWindow(TemplateWindow &window)
{
    return [&window](BackgroundJob &job, const QString &label) { return JobProgress::run(job, label, &window); };
}

bool SessionJobs::open(const QString &journalFile, qint64 id, TemplateWindow &window, const Runner &run,
                       QString &error)
{
    auto records = std::make_shared<SessionReader::Records>();
    BackgroundJob job([journalFile, id, records](BackgroundJob::Context &context) {
        SessionReader reader(journalFile);
        if (!reader.open()) {
            context.setError(reader.errorString());
            return false;
        }
        if (reader.readRecords(id, *records, &context))
            return true;
        context.setError(reader.errorString());
        return false;
    });
    if (!finish(job, run(job, tr("Loading the session's readings...")), error))
        return false;
    window.restoreRecords(records->live, records->stored);
    return true;
}

bool SessionJobs::exportTo(const QString &journalFile, qint64 id, const QString &directory, const Runner &run,
                           QString &error)
{
    BackgroundJob job([journalFile, id, directory](BackgroundJob::Context &context) {
        SessionReader reader(journalFile);
        SessionReader::Records records;
        if (!reader.open() || !reader.readRecords(id, records, &context)) {
            context.setError(reader.errorString());
            return false;
        }
        SessionCsvExport csv(records.live, records.stored);
        if (csv.write(directory, &context))
            return true;
        context.setError(csv.errorString());
        return false;
    });
    return finish(job, run(job, tr("Exporting the session...")), error);
}
