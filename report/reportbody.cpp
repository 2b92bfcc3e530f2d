// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "report/reportbody.h"

#include "report/chartblock.h"
#include "report/curvechart.h"
#include "report/htmltable.h"
#include "report/itemsection.h"
#include "report/reporttext.h"
#include "report/rulessection.h"
#include "report/signatureblock.h"
#include "report/testgroups.h"
#include "report/testsection.h"
#include "report/textblock.h"
#include "report/trendchart.h"
#include "report/trendsection.h"

#include <qcustomplot.h>

#include <QSet>

#include <algorithm>

namespace {
constexpr double millimetresPerInch = 25.4;
constexpr double curveHeightMm = 54.0;
constexpr double trendHeightMm = 100.0;

double units(double millimetres, double dotsPerInch)
{
    return millimetres / millimetresPerInch * dotsPerInch;
}
} // namespace

ReportBody::ReportBody(const ReportContent &content, const QString &technician)
    : m_content(content)
    , m_trend(content.trend)
    , m_technician(technician)
{
    TestGroups::sort(m_content.tests);
    std::stable_sort(m_trend.begin(), m_trend.end(),
                     [](const TrendAnalysis::Point &a, const TrendAnalysis::Point &b) { return a.ms < b.ms; });
    if (m_content.scope == ReportContent::Scope::OneTest)
        keepWarningsOfReportedTests();

    add(Part::Kind::Text, ItemSection::titleHtml(m_content)).keepWithNext = true;
    add(Part::Kind::Text, ItemSection::detailsHtml(m_content)).keepTogether = true;
    addTests();
    addTrend();
    const QString rules = RulesSection::html(m_content.tests);
    if (!rules.isEmpty())
        add(Part::Kind::Text, rules).keepTogether = true;
    // A signature alone on a page signs nothing that can be seen: what ends
    // the report goes with it.
    m_parts.last().keepWithNext = true;
    add(Part::Kind::Signature);
}

QString ReportBody::text() const
{
    QString text = m_technician;
    for (const Part &part : m_parts)
        text += part.html;
    return text;
}

std::vector<std::unique_ptr<ReportBlock>> ReportBody::blocks(const QFont &font, QPaintDevice *device, double width,
                                                             double dotsPerInch) const
{
    std::vector<std::unique_ptr<ReportBlock>> blocks;
    for (const Part &part : m_parts) {
        blocks.push_back(block(part, font, device, width, dotsPerInch));
        blocks.back()->setKeepWithNext(part.keepWithNext);
        blocks.back()->setKeepTogether(part.keepTogether);
    }
    return blocks;
}

void ReportBody::addTests()
{
    if (m_content.tests.isEmpty()) {
        const QString none = m_content.scope == ReportContent::Scope::ItemTests && (m_content.from.isValid() || m_content.to.isValid())
            ? tr("The item has no tests in this period.")
            : tr("There are no tests to report.");
        add(Part::Kind::Text, QStringLiteral("<p class=\"heading\">%1</p>").arg(ReportText::html(none)));
        return;
    }
    const int count = m_content.tests.size();
    const bool grouped = m_content.scope == ReportContent::Scope::ItemTests && TestGroups::anyNamed(m_content.tests);
    for (int index = 0; index < count; ++index) {
        const ReportContent::Test &test = m_content.tests.at(index);
        if (grouped && (index == 0 || !TestGroups::sameGroup(m_content.tests.at(index - 1), test)))
            add(Part::Kind::Text, QStringLiteral("<p class=\"heading\">%1</p>")
                                      .arg(ReportText::html(TestGroups::heading(test))))
                .keepWithNext = true;
        if (test.test.isMeasurement()) {
            add(Part::Kind::Text, TestSection::measurementHtml(test)).keepTogether = true;
            continue;
        }
        // A test starts on a page that holds its table and its curve.
        Part &table = add(Part::Kind::Text, TestSection::html(test, index + 1, count));
        table.keepTogether = true;
        if (CurveChart::hasCurve(test.test)) {
            table.keepWithNext = true;
            add(Part::Kind::Curve).test = index;
        }
    }
}

void ReportBody::addTrend()
{
    if (!m_content.item || m_trend.isEmpty())
        return;
    const QString warnings = TrendSection::warningsHtml(m_trend);
    add(Part::Kind::Text, TrendSection::headingHtml(m_content.item->tag)).keepWithNext = true;
    add(Part::Kind::Trend).keepWithNext = !warnings.isEmpty();
    if (!warnings.isEmpty())
        add(Part::Kind::Text, warnings);
}

// A report of one test speaks of that test: the item's trend stands beside
// it, but the other tests' warnings are for their own reports.
void ReportBody::keepWarningsOfReportedTests()
{
    QSet<qint64> reported;
    for (const ReportContent::Test &test : qAsConst(m_content.tests))
        reported.insert(test.test.id);
    for (TrendAnalysis::Point &point : m_trend) {
        if (!reported.contains(point.testId))
            point.warning.clear();
    }
}

ReportBody::Part &ReportBody::add(Part::Kind kind, const QString &html)
{
    Part part;
    part.kind = kind;
    part.html = html;
    m_parts << part;
    return m_parts.last();
}

std::unique_ptr<ReportBlock> ReportBody::block(const Part &part, const QFont &font, QPaintDevice *device,
                                               double width, double dotsPerInch) const
{
    const double unitsPerPixel = dotsPerInch / ChartBlock::screenDpi;
    switch (part.kind) {
    case Part::Kind::Curve:
        return std::make_unique<ChartBlock>(CurveChart::make(m_content.tests.at(part.test), font), width,
                                            units(curveHeightMm, dotsPerInch), unitsPerPixel);
    case Part::Kind::Trend:
        return std::make_unique<ChartBlock>(TrendChart::make(m_trend, font), width, units(trendHeightMm, dotsPerInch),
                                            unitsPerPixel);
    case Part::Kind::Signature:
        return std::make_unique<SignatureBlock>(m_technician, font, device, width);
    case Part::Kind::Text:
        break;
    }
    return std::make_unique<TextBlock>(part.html, HtmlTable::styleSheet(), font, device, width);
}
