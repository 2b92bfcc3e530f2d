// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "report/reportblock.h"

#include <QVector>

#include <memory>

class QFont;
class QPaintDevice;
class QTextBlock;
class QTextDocument;
class QTextTable;
class QTextTableCell;

// Rich text laid out for the PDF device at the width of the page: its
// paragraphs may be cut between lines, its tables between rows, and a
// table's <thead> rows are its header for the parts continued on later
// pages.
class TextBlock : public ReportBlock
{
public:
    TextBlock(const QString &html, const QString &styleSheet, const QFont &font, QPaintDevice *device, double width);
    ~TextBlock() override;

    void paint(QCPPainter &painter, double from, double to) const override;

    // The text, for checks of what a report holds.
    QString plainText() const;

protected:
    ReportPaginator::Block geometry() const override;

private:
    struct Line
    {
        double top;
        double bottom;
    };

    void findCuts();
    void addParagraphCuts(const QTextBlock &block);
    void addTableCuts(QTextTable *table);
    QVector<Line> cellLines(const QTextTableCell &cell) const;
    QVector<Line> blockLines(const QTextBlock &block) const;
    void addCutsBetweenLines(const QVector<Line> &lines);

    std::unique_ptr<QTextDocument> m_document;
    double m_width = 0.0;
    ReportPaginator::Block m_geometry;
};
