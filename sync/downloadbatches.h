// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "journal/scopedtransaction.h"
#include "sync/syncstep.h"

#include <QSqlDatabase>
#include <QString>

#include <functional>
#include <optional>

class QSqlQuery;

// Rows that come down from the server go into the journal a batch to a
// transaction: the journal's other writers wait no longer than a moment,
// and a sync stopped between two batches keeps what the first brought.
class DownloadBatches
{
public:
    DownloadBatches(QSqlDatabase journal, int rowsPerBatch, std::function<bool(SyncStep)> step);

    // Hands each row of `rows` to `receive` until they run out, and keeps
    // the last batch; false when `receive` failed, a batch could not be
    // kept (errorString() says why) or the sync was stopped.
    [[nodiscard]] bool receiveAll(QSqlQuery &rows, const std::function<bool(const QSqlQuery &)> &receive);
    // Called by `receive` before it writes a row: the batch's transaction
    // begins with its first row written, after the reads that decided it.
    [[nodiscard]] bool beginWrite();

    QString errorString() const { return m_error; }

    // The journal refused a row for breaking one of its rules (a key twice,
    // a value it does not take), as SQLite words it: the row is wrong, not
    // the journal, and it is left out.
    static bool breaksRule(const QString &journalError);

private:
    bool commit();

    QSqlDatabase m_journal;
    int m_rowsPerBatch;
    std::function<bool(SyncStep)> m_step;
    std::optional<ScopedTransaction> m_batch;
    int m_written = 0;
    QString m_error;
};
