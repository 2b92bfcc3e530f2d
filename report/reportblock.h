// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "report/reportpaginator.h"

class QCPPainter;

// One piece of a report's flow (a table, a chart, the signature lines):
// laid out once at the width of the page, then drawn part by part wherever
// the paginator puts it. Coordinates are the PDF writer's device units.
class ReportBlock
{
public:
    virtual ~ReportBlock() = default;

    // Its height, where it may be cut, and what it is kept with.
    ReportPaginator::Block placement() const
    {
        ReportPaginator::Block block = geometry();
        block.keepWithNext = m_keepWithNext;
        block.keepTogether = m_keepTogether;
        return block;
    }
    // Draws [from, to) of the block with `from` at the painter's origin.
    virtual void paint(QCPPainter &painter, double from, double to) const = 0;

    void setKeepWithNext(bool keep) { m_keepWithNext = keep; }
    void setKeepTogether(bool keep) { m_keepTogether = keep; }

protected:
    ReportBlock() = default;
    // Its height and where it may be cut.
    virtual ReportPaginator::Block geometry() const = 0;

private:
    bool m_keepWithNext = false;
    bool m_keepTogether = false;
};
