// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "report/textblock.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextTable>

#include <qcustomplot.h>

#include <algorithm>

namespace {
// Lines that run to the edge, like a table's border, are drawn half outside.
constexpr double bleed = 8.0;

void sortUnique(QVector<double> &values, double height)
{
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
    values.erase(std::remove_if(values.begin(), values.end(), [height](double y) { return y <= 0.0 || y >= height; }),
                 values.end());
}
} // namespace

TextBlock::TextBlock(const QString &html, const QString &styleSheet, const QFont &font, QPaintDevice *device,
                     double width)
    : m_document(std::make_unique<QTextDocument>())
    , m_width(width)
{
    m_document->documentLayout()->setPaintDevice(device);
    m_document->setDefaultFont(font);
    m_document->setDefaultStyleSheet(styleSheet);
    m_document->setDocumentMargin(0.0);
    m_document->setHtml(html);
    m_document->setTextWidth(width);
    m_geometry.height = m_document->size().height();
    findCuts();
}

TextBlock::~TextBlock() = default;

ReportPaginator::Block TextBlock::geometry() const
{
    return m_geometry;
}

void TextBlock::paint(QCPPainter &painter, double from, double to) const
{
    painter.save();
    painter.translate(0.0, -from);
    m_document->drawContents(&painter, QRectF(-bleed, from, m_width + 2 * bleed, to - from));
    painter.restore();
}

QString TextBlock::plainText() const
{
    return m_document->toPlainText();
}

void TextBlock::findCuts()
{
    QTextFrame *root = m_document->rootFrame();
    for (auto it = root->begin(); !it.atEnd(); ++it) {
        if (auto *table = qobject_cast<QTextTable *>(it.currentFrame()))
            addTableCuts(table);
        else if (it.currentBlock().isValid())
            addParagraphCuts(it.currentBlock());
    }
    sortUnique(m_geometry.cuts, m_geometry.height);
    sortUnique(m_geometry.lineCuts, m_geometry.height);
}

void TextBlock::addParagraphCuts(const QTextBlock &block)
{
    for (const Line &line : blockLines(block))
        m_geometry.cuts << line.bottom;
}

// A row ends halfway between its tallest cell's text and the next row's
// text: the cell padding on either side of a border is the same.
void TextBlock::addTableCuts(QTextTable *table)
{
    QVector<double> rowTops;
    QVector<double> rowBottoms;
    for (int row = 0; row < table->rows(); ++row) {
        QVector<Line> lines;
        for (int column = 0; column < table->columns(); ++column) {
            const QTextTableCell cell = table->cellAt(row, column);
            if (cell.row() == row && cell.column() == column)
                lines += cellLines(cell);
        }
        if (lines.isEmpty())
            return;
        addCutsBetweenLines(lines);
        const auto byTop = [](const Line &a, const Line &b) { return a.top < b.top; };
        const auto byBottom = [](const Line &a, const Line &b) { return a.bottom < b.bottom; };
        rowTops << std::min_element(lines.cbegin(), lines.cend(), byTop)->top;
        rowBottoms << std::max_element(lines.cbegin(), lines.cend(), byBottom)->bottom;
    }
    for (int row = 1; row < rowTops.size(); ++row)
        m_geometry.cuts << (rowBottoms.at(row - 1) + rowTops.at(row)) / 2.0;

    const int headerRows = table->format().headerRowCount();
    if (headerRows > 0 && headerRows < rowTops.size() && m_geometry.headerBottom <= 0.0) {
        const double boundary = (rowBottoms.at(headerRows - 1) + rowTops.at(headerRows)) / 2.0;
        const double padding = rowTops.at(headerRows) - boundary;
        m_geometry.headerTop = std::max(0.0, rowTops.at(0) - padding);
        m_geometry.headerBottom = boundary;
    }
}

QVector<TextBlock::Line> TextBlock::cellLines(const QTextTableCell &cell) const
{
    QVector<Line> lines;
    const QTextBlock last = cell.lastCursorPosition().block();
    for (QTextBlock block = cell.firstCursorPosition().block(); block.isValid(); block = block.next()) {
        lines += blockLines(block);
        if (block == last)
            break;
    }
    return lines;
}

QVector<TextBlock::Line> TextBlock::blockLines(const QTextBlock &block) const
{
    QVector<Line> lines;
    const QRectF bounds = m_document->documentLayout()->blockBoundingRect(block);
    const QTextLayout *layout = block.layout();
    for (int index = 0; layout && index < layout->lineCount(); ++index) {
        const QTextLine line = layout->lineAt(index);
        lines << Line{bounds.top() + line.y(), bounds.top() + line.y() + line.height()};
    }
    return lines;
}

// Inside one row: below a line of one cell, unless a line of another cell
// runs across there.
void TextBlock::addCutsBetweenLines(const QVector<Line> &lines)
{
    for (const Line &line : lines) {
        const bool crosses = std::any_of(lines.cbegin(), lines.cend(), [&line](const Line &other) {
            return other.top < line.bottom && line.bottom < other.bottom;
        });
        if (!crosses)
            m_geometry.lineCuts << line.bottom;
    }
}
