// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "report/htmltable.h"

#include "report/palette.h"
#include "report/reporttext.h"

#include <numeric>

namespace {
QString styleClass(HtmlTable::Style style)
{
    switch (style) {
    case HtmlTable::Style::Label:
        return QStringLiteral(" class=\"label\"");
    case HtmlTable::Style::Head:
        return QStringLiteral(" class=\"head\"");
    case HtmlTable::Style::ColumnHead:
        return QStringLiteral(" class=\"columnhead\"");
    case HtmlTable::Style::Group:
        return QStringLiteral(" class=\"group\"");
    case HtmlTable::Style::Plain:
        break;
    }
    return QString();
}
} // namespace

HtmlTable::HtmlTable(const QVector<int> &columnPercents)
    : m_columns(columnPercents)
{
}

void HtmlTable::addHeaderRow(const QVector<Cell> &cells)
{
    m_header << rowHtml(cells);
}

void HtmlTable::addRow(const QVector<Cell> &cells)
{
    m_rows << rowHtml(cells);
}

QString HtmlTable::html() const
{
    QString html = QStringLiteral("<table width=\"100%\" cellspacing=\"0\" cellpadding=\"2\" border=\"1\" "
                                  "style=\"border-collapse:collapse; border-color:#b8c2cf;\">");
    if (!m_header.isEmpty())
        html += QStringLiteral("<thead>") + m_header.join(QString()) + QStringLiteral("</thead>");
    return html + m_rows.join(QString()) + QStringLiteral("</table>");
}

QString HtmlTable::styleSheet()
{
    return QStringLiteral("td.label { color: #4b5563; }"
                          "td.head { background-color: %1; color: #ffffff; font-weight: bold; }"
                          "td.columnhead { background-color: #dfe6ee; font-weight: bold; }"
                          "td.group { background-color: #eef2f6; font-weight: bold; }"
                          "p.title { font-size: 15pt; font-weight: bold; margin-top: 0px; margin-bottom: 0px; }"
                          "p.subtitle { font-size: 10pt; color: #4b5563; }"
                          "p.heading { font-size: 12pt; font-weight: bold; color: %1; }"
                          "p.caption { color: #4b5563; }")
        .arg(Palette::accent.name());
}

HtmlTable::Cell HtmlTable::label(const QString &text)
{
    return {ReportText::html(text), Style::Label, 1};
}

HtmlTable::Cell HtmlTable::value(const QString &text, int span)
{
    return {ReportText::html(text), Style::Plain, span};
}

QString HtmlTable::rowHtml(const QVector<Cell> &cells) const
{
    QString html = QStringLiteral("<tr>");
    int column = 0;
    for (int index = 0; index < cells.size() && column < m_columns.size(); ++index) {
        const Cell &cell = cells.at(index);
        const bool last = index + 1 == cells.size();
        const int span = last ? m_columns.size() - column : std::min<int>(cell.span, m_columns.size() - column);
        const int percent = std::accumulate(m_columns.cbegin() + column, m_columns.cbegin() + column + span, 0);
        html += QStringLiteral("<td%1 colspan=\"%2\" width=\"%3%\">%4</td>")
                    .arg(styleClass(cell.style))
                    .arg(span)
                    .arg(percent)
                    .arg(cell.html);
        column += span;
    }
    return html + QStringLiteral("</tr>");
}
