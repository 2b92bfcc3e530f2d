// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "cli/fileidentity.h"
#include "cli/loggeroptions.h"

#include <QCoreApplication>
#include <QList>
#include <QString>

// Finds, before anything is opened, the files a run would write that are
// the stream it replays or that another of its outputs writes too: the
// first would be emptied before it is read, the second would mix records
// with raw bytes or write over the journal. A character device (/dev/null, a terminal) keeps nothing,
// so it may serve several ends.
class OutputConflicts
{
    Q_DECLARE_TR_FUNCTIONS(OutputConflicts)

public:
    // False when `options` name such a file; errorString() says which.
    [[nodiscard]] bool check(const LoggerOptions &options);
    QString errorString() const { return m_error; }

private:
    struct Output
    {
        QString option; // "--capture c.bin", "--output tables (its file live-IR.csv)"
        FileIdentity file;
    };

    static QList<Output> recordOutputs(const LoggerOptions &options);
    bool addOutput(QList<Output> &outputs, const QString &option, const QString &path);
    bool addJournalFiles(QList<Output> &outputs, const QString &journal);
    bool fail(const QString &message);

    QString m_error;
};
