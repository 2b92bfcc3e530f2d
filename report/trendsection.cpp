// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "report/trendsection.h"

#include "insulation/resistancetext.h"
#include "insulation/testdate.h"
#include "report/htmltable.h"
#include "report/reporttext.h"

#include <QLocale>

QString TrendSection::headingHtml(const QString &tag)
{
    return QStringLiteral("<p class=\"heading\">%1</p><p class=\"caption\">%2</p>")
        .arg(ReportText::html(tr("Trend of %1").arg(tag)),
             ReportText::html(tr("The insulation resistance at 1 min (or the final one) and the PI of every test "
                                 "of the item, each test point a series of its own, all corrected to the base "
                                 "temperature of the item as it is now. A fall of more than half from the "
                                 "previous or the best test at the same test point, test voltage and a similar "
                                 "temperature is a warning, even where both tests pass.")));
}

QString TrendSection::warningsHtml(const QList<TrendAnalysis::Point> &points)
{
    HtmlTable table({6, 16, 16, 62});
    table.addHeaderRow({{tr("No."), HtmlTable::Style::ColumnHead},
                        {tr("Date"), HtmlTable::Style::ColumnHead},
                        {tr("Corrected IR"), HtmlTable::Style::ColumnHead},
                        {tr("Warning"), HtmlTable::Style::ColumnHead}});
    int number = 0;
    for (const TrendAnalysis::Point &point : points) {
        if (point.warning.isEmpty())
            continue;
        ++number;
        table.addRow({HtmlTable::value(QString::number(number)),
                      HtmlTable::value(
                          TestDate::dateText(point.ms, point.dateKnown, QLocale(), ReportText::dateFormat())),
                      HtmlTable::value(ResistanceText::megohms(point.megohms, point.overRange)),
                      HtmlTable::value(point.warning)});
    }
    return table.isEmpty() ? QString() : table.html();
}
