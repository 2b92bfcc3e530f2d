// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "meter/dmmdata.h"
#include "util/backgroundjob.h"

#include <QList>
#include <QSharedPointer>
#include <QString>
#include <QStringList>

// Writes the records of one session as CSV, one file per kind and mode
// ("live-IR.csv", "stored-PI.csv", ...) with the columns and cell texts of
// the window's tables, as its export writes them. The files are put in
// place together at the end: a failed or cancelled export leaves the
// directory as it was.
class SessionCsvExport
{
public:
    SessionCsvExport(const QList<QSharedPointer<DMMData>> &live, const QList<QSharedPointer<DMMData>> &stored);

    // The names of the files the export writes.
    QStringList fileNames() const;
    [[nodiscard]] bool write(const QString &directory, BackgroundJob::Context *context = nullptr);
    QString errorString() const { return m_error; }

    static QString fileName(bool stored, int mode);

private:
    QList<QSharedPointer<DMMData>> m_live;
    QList<QSharedPointer<DMMData>> m_stored;
    QString m_error;
};
