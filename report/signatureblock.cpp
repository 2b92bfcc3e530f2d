// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "report/signatureblock.h"

#include <QFontMetricsF>

#include <qcustomplot.h>

namespace {
constexpr int rows = 3;
constexpr int signatureRow = 2;
// Room to write by hand: a signature needs more than a date.
constexpr double writingLines = 2.0;
constexpr double signatureLines = 3.0;
constexpr double columnGap = 0.08; // of the width
} // namespace

SignatureBlock::SignatureBlock(const QString &technician, const QFont &font, QPaintDevice *device, double width)
    : m_technician(technician)
    , m_font(font, device)
    , m_device(device)
    , m_width(width)
    , m_lineHeight(QFontMetricsF(m_font, device).height())
{
}

ReportPaginator::Block SignatureBlock::geometry() const
{
    ReportPaginator::Block geometry;
    for (int row = 0; row < rows; ++row)
        geometry.height += rowHeight(row);
    geometry.height += m_lineHeight * 0.5;
    return geometry;
}

void SignatureBlock::paint(QCPPainter &painter, double from, double to) const
{
    Q_UNUSED(to)
    painter.save();
    painter.translate(0.0, -from);
    painter.setFont(m_font);
    const double column = m_width * (1.0 - columnGap) / 2.0;
    paintColumn(painter, 0.0, tr("Tested by"), m_technician);
    paintColumn(painter, column + m_width * columnGap, tr("Accepted by"), QString());
    painter.restore();
}

double SignatureBlock::rowHeight(int row) const
{
    return m_lineHeight * (row == signatureRow ? signatureLines : writingLines);
}

void SignatureBlock::paintColumn(QCPPainter &painter, double left, const QString &title, const QString &name) const
{
    const QString labels[rows] = {title, tr("Date"), tr("Signature")};
    double bottom = 0.0;
    for (int row = 0; row < rows; ++row) {
        bottom += rowHeight(row);
        paintLine(painter, left, bottom, labels[row], row == 0 ? name : QString());
    }
}

// The label, then a rule to the column's end to write on, and what is
// already known written on it.
void SignatureBlock::paintLine(QCPPainter &painter, double left, double baseline, const QString &label,
                               const QString &text) const
{
    const QFontMetricsF metrics(m_font, m_device);
    const double column = m_width * (1.0 - columnGap) / 2.0;
    const QString caption = label + QLatin1Char(':');
    const double ruleStart = left + metrics.horizontalAdvance(caption) + metrics.averageCharWidth();
    painter.setPen(QPen(Qt::black));
    painter.drawText(QPointF(left, baseline), caption);
    if (!text.isEmpty())
        painter.drawText(QPointF(ruleStart + metrics.averageCharWidth(), baseline - metrics.descent()),
                         metrics.elidedText(text, Qt::ElideRight, left + column - ruleStart));
    painter.setPen(QPen(Qt::black, m_lineHeight / 30.0));
    painter.drawLine(QPointF(ruleStart, baseline + metrics.descent()), QPointF(left + column, baseline + metrics.descent()));
}
