// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "report/chartblock.h"

#include <qcustomplot.h>

ChartBlock::ChartBlock(std::unique_ptr<QCustomPlot> plot, double width, double height, double unitsPerPixel)
    : m_plot(std::move(plot))
    , m_width(width)
    , m_height(height)
    , m_unitsPerPixel(unitsPerPixel)
{
}

ChartBlock::~ChartBlock() = default;

ReportPaginator::Block ChartBlock::geometry() const
{
    ReportPaginator::Block geometry;
    geometry.height = m_height;
    return geometry;
}

void ChartBlock::paint(QCPPainter &painter, double from, double to) const
{
    Q_UNUSED(to)
    painter.save();
    painter.translate(0.0, -from);
    painter.scale(m_unitsPerPixel, m_unitsPerPixel);
    painter.setMode(QCPPainter::pmVectorized);
    painter.setMode(QCPPainter::pmNonCosmetic);
    m_plot->toPainter(&painter, qRound(m_width / m_unitsPerPixel), qRound(m_height / m_unitsPerPixel));
    painter.setModes(QCPPainter::PainterModes());
    painter.restore();
}
