// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "report/reportcontent.h"

#include <QCoreApplication>
#include <QString>

// Writes a test report as PDF with Qt's own PDF writer: a header on every
// page (company and logo, report date, technician), the item and its
// details, for each test its conditions, a results table, verdicts with
// their reasons and its curve, then the item's trend, notes and a signature
// line; pages numbered. Charts are drawn as vectors. Texts follow the
// program's language; a font with the characters it needs is chosen.
// Needs a QApplication (the charts are widgets); any platform will do,
// offscreen included.
class ReportWriter
{
    Q_DECLARE_TR_FUNCTIONS(ReportWriter)

public:
    ReportWriter(const ReportContent &content, const ReportOptions &options);

    // The file is written whole or not at all.
    [[nodiscard]] bool write(const QString &fileName);
    QString errorString() const { return m_error; }
    int pageCount() const { return m_pages; }

private:
    ReportContent m_content;
    ReportOptions m_options;
    QString m_error;
    int m_pages = 0;
};
