// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "report/reportpaginator.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double noCut = -1.0;
} // namespace

ReportPaginator::ReportPaginator(double pageHeight, double spacing)
    : m_pageHeight(pageHeight)
    , m_spacing(spacing)
{
}

QVector<ReportPaginator::Slice> ReportPaginator::paginate(const QVector<Block> &blocks) const
{
    QVector<Slice> slices;
    Cursor at;
    for (int first = 0; first < blocks.size();) {
        const int last = groupEnd(blocks, first);
        if (startsNewPage(blocks, first, last, at))
            at = {at.page + 1, 0.0};
        for (int index = first; index <= last; ++index)
            place(blocks, index, at, slices);
        first = last + 1;
    }
    return slices;
}

int ReportPaginator::pageCount(const QVector<Slice> &slices)
{
    return slices.isEmpty() ? 1 : slices.constLast().page + 1;
}

int ReportPaginator::groupEnd(const QVector<Block> &blocks, int first) const
{
    int last = first;
    while (last + 1 < blocks.size() && blocks.at(last).keepWithNext)
        ++last;
    return last;
}

double ReportPaginator::groupHeight(const QVector<Block> &blocks, int first, int last) const
{
    double height = m_spacing * (last - first);
    for (int index = first; index <= last; ++index)
        height += blocks.at(index).height;
    return height;
}

// What of a run must stand on the page it starts on: every block kept
// with the next whole, and of the last its first part.
double ReportPaginator::leadHeight(const QVector<Block> &blocks, int first, int last) const
{
    const Block &block = blocks.at(last);
    const auto cut = std::upper_bound(block.cuts.cbegin(), block.cuts.cend(), block.headerBottom);
    const double lead = cut != block.cuts.cend() && *cut < block.height ? *cut : block.height;
    return groupHeight(blocks, first, last) - block.height + lead;
}

bool ReportPaginator::startsNewPage(const QVector<Block> &blocks, int first, int last, const Cursor &at) const
{
    if (at.y <= 0.0)
        return false;
    const double room = m_pageHeight - at.y - m_spacing;
    const double height = groupHeight(blocks, first, last);
    if (height <= room)
        return false;
    const bool together = std::any_of(blocks.cbegin() + first, blocks.cbegin() + last + 1,
                                      [](const Block &block) { return block.keepTogether; });
    if (together && height <= m_pageHeight)
        return true;
    // Cut anyway: it starts here if its first part fits.
    return leadHeight(blocks, first, last) > room;
}

double ReportPaginator::lastCutWithin(const QVector<double> &cuts, double above, double upTo)
{
    double found = noCut;
    for (const double cut : cuts) {
        if (cut > upTo)
            break;
        if (cut > above)
            found = cut;
    }
    return found;
}

void ReportPaginator::place(const QVector<Block> &blocks, int index, Cursor &at, QVector<Slice> &slices) const
{
    const Block &block = blocks.at(index);
    double from = 0.0;
    for (;;) {
        const double gap = at.y > 0.0 ? m_spacing : 0.0;
        const bool continued = from > 0.0 && block.headerHeight() > 0.0;
        const double header = continued ? block.headerHeight() : 0.0;
        const double room = m_pageHeight - at.y - gap - header;
        if (block.height - from <= room) {
            slices << Slice{at.page, index, from, block.height, at.y + gap, continued};
            at.y += gap + header + block.height - from;
            return;
        }
        // The part that starts the block keeps its header with a row.
        const double above = from > 0.0 ? from : std::max(from, block.headerBottom);
        double cut = lastCutWithin(block.cuts, above, from + room);
        if (cut == noCut && at.y > 0.0) {
            at = {at.page + 1, 0.0};
            continue;
        }
        if (cut == noCut)
            cut = lastCutWithin(block.lineCuts, from, from + room);
        if (cut == noCut) // nothing to cut between: one line taller than a page
            cut = from + std::max(room, 1.0);
        slices << Slice{at.page, index, from, cut, at.y + gap, continued};
        at = {at.page + 1, 0.0};
        from = cut;
    }
}
