// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "report/reportblock.h"

#include <memory>

class QCustomPlot;

// A chart drawn as vectors: the plot lays itself out in pixels of a screen
// (fonts sized in pixels, pens one pixel wide) on a painter scaled to the
// device, so it prints as it would show on screen, only sharp.
class ChartBlock : public ReportBlock
{
public:
    // `width` and `height` in device units; `unitsPerPixel`: device units in
    // one screen pixel (the device's resolution over 96 dpi).
    ChartBlock(std::unique_ptr<QCustomPlot> plot, double width, double height, double unitsPerPixel);
    ~ChartBlock() override;

    void paint(QCPPainter &painter, double from, double to) const override;

    static constexpr double screenDpi = 96.0;

protected:
    ReportPaginator::Block geometry() const override;

private:
    std::unique_ptr<QCustomPlot> m_plot;
    double m_width;
    double m_height;
    double m_unitsPerPixel;
};
