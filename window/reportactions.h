// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QCoreApplication>
#include <QDate>
#include <QSqlDatabase>
#include <QString>

#include <optional>

class QWidget;
struct ReportContent;

// The report and export actions of the Tests and Equipment windows: each
// asks where to write, writes the file whole and offers to open it.
class ReportActions
{
    Q_DECLARE_TR_FUNCTIONS(ReportActions)

public:
    // Dialogs and messages open over `parent`.
    ReportActions(QSqlDatabase journal, QWidget &parent);

    void reportTest(qint64 testId);
    void reportItem(const QString &tag, const QDate &from, const QDate &to);
    void exportRegister();

private:
    void writeReport(const ReportContent &content, const QString &suggestedName);
    void offerToOpen(const QString &fileName);

    QSqlDatabase m_journal;
    QWidget &m_parent;
};
