// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "sync/downloadbatches.h"

#include <QSqlError>
#include <QSqlQuery>

DownloadBatches::DownloadBatches(QSqlDatabase journal, int rowsPerBatch, std::function<bool(SyncStep)> step)
    : m_journal(std::move(journal))
    , m_rowsPerBatch(rowsPerBatch)
    , m_step(std::move(step))
{
}

bool DownloadBatches::receiveAll(QSqlQuery &rows, const std::function<bool(const QSqlQuery &)> &receive)
{
    while (rows.next()) {
        if (!receive(rows))
            return false;
        if (m_written >= m_rowsPerBatch && (!commit() || !m_step(SyncStep::Received)))
            return false;
    }
    return !m_batch || commit();
}

bool DownloadBatches::beginWrite()
{
    if (!m_batch) {
        m_batch.emplace(m_journal);
        if (!m_batch->isActive()) {
            m_error = m_journal.lastError().text();
            m_batch.reset();
            return false;
        }
    }
    ++m_written;
    return true;
}

bool DownloadBatches::commit()
{
    const bool kept = m_batch->commit();
    if (!kept)
        m_error = m_journal.lastError().text();
    m_batch.reset();
    m_written = 0;
    return kept;
}

bool DownloadBatches::breaksRule(const QString &journalError)
{
    return journalError.contains(QLatin1String("constraint failed"), Qt::CaseInsensitive);
}
