// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "report/reportwriter.h"

#include "report/itemsection.h"
#include "report/pageframe.h"
#include "report/reportbody.h"
#include "report/reportfont.h"
#include "report/reporttext.h"
#include "util/safefile.h"

#include <QBuffer>
#include <QDir>
#include <QPdfWriter>

#include <qcustomplot.h>

namespace {
constexpr int dotsPerInch = 300;
constexpr double bodyPoints = 9.0;
constexpr double millimetresPerInch = 25.4;
// Room for the binding on the left, and for a printer that cannot print to
// the edge everywhere.
const QMarginsF pageMarginsMm(18.0, 12.0, 14.0, 10.0);
constexpr double spacingMm = 4.0;

double units(double millimetres)
{
    return millimetres / millimetresPerInch * dotsPerInch;
}

// Who signs: the technician named in the options, or else whoever ran the tests.
QString technicianOf(const ReportContent &content, const ReportOptions &options)
{
    if (!options.technician.trimmed().isEmpty())
        return options.technician.trimmed();
    QStringList operators;
    for (const ReportContent::Test &test : content.tests) {
        const QString name = test.details.operatorName.trimmed();
        if (!name.isEmpty() && !operators.contains(name))
            operators << name;
    }
    return operators.join(QStringLiteral(", "));
}

void setUpWriter(QPdfWriter &pdf, const ReportOptions &options, const QString &title)
{
    pdf.setResolution(dotsPerInch);
    pdf.setPageSize(QPageSize(options.paper));
    pdf.setPageMargins(pageMarginsMm, QPageLayout::Millimeter);
    pdf.setTitle(title);
    pdf.setCreator(QCoreApplication::applicationName());
}

double bodyTop(const PageFrame &frame)
{
    return frame.headerHeight() + units(spacingMm);
}

struct Laid
{
    std::vector<std::unique_ptr<ReportBlock>> blocks;
    QVector<ReportPaginator::Block> geometry;
    QVector<ReportPaginator::Slice> slices;
};

Laid layOut(const ReportBody &body, const PageFrame &frame, const QFont &font, QPdfWriter &pdf)
{
    Laid laid;
    laid.blocks = body.blocks(font, &pdf, pdf.width(), dotsPerInch);
    for (const auto &block : laid.blocks)
        laid.geometry << block->placement();
    const double bodyHeight = pdf.height() - bodyTop(frame) - frame.footerHeight();
    laid.slices = ReportPaginator(bodyHeight, units(spacingMm)).paginate(laid.geometry);
    return laid;
}

void paintSlice(QCPPainter &painter, const Laid &laid, const ReportPaginator::Slice &slice, double top)
{
    const ReportBlock &block = *laid.blocks.at(size_t(slice.block));
    const ReportPaginator::Block &geometry = laid.geometry.at(slice.block);
    painter.save();
    painter.translate(0.0, top + slice.y);
    if (slice.repeatsHeader) {
        block.paint(painter, geometry.headerTop, geometry.headerBottom);
        painter.translate(0.0, geometry.headerHeight());
    }
    block.paint(painter, slice.from, slice.to);
    painter.restore();
}

// Every page gets its frame, the empty first page of a report without
// blocks too.
bool paintPages(QPdfWriter &pdf, const Laid &laid, const PageFrame &frame, int pageCount)
{
    QCPPainter painter;
    if (!painter.begin(&pdf))
        return false;
    painter.setRenderHint(QPainter::Antialiasing);
    int page = 0;
    frame.paint(painter, pdf.height(), page + 1, pageCount);
    for (const ReportPaginator::Slice &slice : laid.slices) {
        while (page < slice.page) {
            pdf.newPage();
            ++page;
            frame.paint(painter, pdf.height(), page + 1, pageCount);
        }
        paintSlice(painter, laid, slice, bodyTop(frame));
    }
    return painter.end();
}

// The number of pages drawn; 0 when the device could not be painted on.
int drawReport(const ReportContent &content, const ReportOptions &options, QIODevice &device)
{
    PageFrame::Texts texts;
    texts.company = options.company;
    texts.logoFile = options.logoFile;
    texts.date = ReportText::date((content.made.isValid() ? content.made : QDateTime::currentDateTime()).date());
    texts.technician = technicianOf(content, options);
    texts.title = ItemSection::title(content);
    const ReportBody body(content, texts.technician);
    QFont font = ReportFont::forText(body.text() + PageFrame::allText(texts));
    font.setPointSizeF(bodyPoints);
    // Ligatures would turn "fi" into one character that a search of the
    // PDF for "final" does not find.
    font.setStyleStrategy(QFont::PreferNoShaping);

    QPdfWriter pdf(&device);
    setUpWriter(pdf, options, texts.title);
    const PageFrame frame(texts, font, &pdf, pdf.width());
    const Laid laid = layOut(body, frame, font, pdf);
    const int pages = ReportPaginator::pageCount(laid.slices);
    return paintPages(pdf, laid, frame, pages) ? pages : 0;
}
} // namespace

ReportWriter::ReportWriter(const ReportContent &content, const ReportOptions &options)
    : m_content(content)
    , m_options(options)
{
}

// Drawn in memory first, then written whole: a failure leaves the file that
// was there before, and a device (a printer's, /dev/null) is written in
// place rather than replaced by a file.
bool ReportWriter::write(const QString &fileName)
{
    m_error.clear();
    m_pages = 0;
    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    const int pages = drawReport(m_content, m_options, buffer);
    buffer.close();
    if (pages == 0) {
        m_error = tr("Cannot write %1: the PDF could not be drawn").arg(QDir::toNativeSeparators(fileName));
        return false;
    }
    SafeFile file(fileName);
    if (!file.open() || !file.write(pdf) || !file.commit()) {
        m_error = tr("Cannot write %1: %2").arg(QDir::toNativeSeparators(fileName), file.errorString());
        return false;
    }
    m_pages = pages;
    return true;
}
