// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// The equipment register and the tests as one CSV file for a spreadsheet:
// one row per test, with its item's fields beside its own, and one row for
// each item without tests. Numbers are plain (a point for decimals, no
// unit), so that a spreadsheet reads them as numbers; the quoting and UTF-8
// are those of the table export.
class TestsCsvExport
{
    Q_DECLARE_TR_FUNCTIONS(TestsCsvExport)

public:
    explicit TestsCsvExport(QSqlDatabase journal);

    static QStringList header();
    // The file is written whole or not at all.
    [[nodiscard]] bool write(const QString &fileName);
    QString errorString() const { return m_error; }

private:
    QSqlDatabase m_journal;
    QString m_error;
};
