// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QVector>

// Places the report's blocks on pages of one height. A block is cut only
// where it allows it (between table rows, between the lines of a paragraph),
// or between the lines of one of its rows when that row alone is taller
// than a page; a table continued on a new page repeats its header rows
// there. A block kept together (a test's table), with the blocks kept with
// it (its curve), starts on a new page when it would fit on one but not in
// what is left; other runs start where their first part fits.
// Plain geometry: heights in the units of the page, no painting.
class ReportPaginator
{
public:
    struct Block
    {
        double height = 0.0;
        // Where the block may be cut, ascending, in its own coordinates.
        QVector<double> cuts;
        // Where else, for a part between two cuts that is taller than a page.
        QVector<double> lineCuts;
        // The header rows drawn again above every continued part; a part
        // that starts the block holds at least one row below them.
        double headerTop = 0.0;
        double headerBottom = 0.0;
        // Starts on the page where the next block starts.
        bool keepWithNext = false;
        // Rather than cut, moves with its run to a new page where that holds it.
        bool keepTogether = false;

        double headerHeight() const { return headerBottom - headerTop; }
    };

    // One part of a block on a page: [from, to) of the block, drawn at `y`
    // (below its repeated header rows when `repeatsHeader`).
    struct Slice
    {
        int page = 0;
        int block = 0;
        double from = 0.0;
        double to = 0.0;
        double y = 0.0;
        bool repeatsHeader = false;
    };

    // `spacing` goes between blocks, never at the top of a page.
    ReportPaginator(double pageHeight, double spacing);

    QVector<Slice> paginate(const QVector<Block> &blocks) const;
    static int pageCount(const QVector<Slice> &slices);

private:
    struct Cursor
    {
        int page = 0;
        double y = 0.0;
    };

    int groupEnd(const QVector<Block> &blocks, int first) const;
    double groupHeight(const QVector<Block> &blocks, int first, int last) const;
    double leadHeight(const QVector<Block> &blocks, int first, int last) const;
    bool startsNewPage(const QVector<Block> &blocks, int first, int last, const Cursor &at) const;
    void place(const QVector<Block> &blocks, int index, Cursor &at, QVector<Slice> &slices) const;
    static double lastCutWithin(const QVector<double> &cuts, double above, double upTo);

    double m_pageHeight;
    double m_spacing;
};
