// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "report/itemsection.h"

#include "insulation/detailstext.h"

#include "insulation/reasontext.h"
#include "insulation/resistancetext.h"
#include "report/htmltable.h"
#include "report/reporttext.h"

#include <QPair>

#include <cmath>

namespace {
using Pairs = QVector<QPair<QString, QString>>;

void addKnown(Pairs &pairs, const QString &label, const QString &value)
{
    if (!value.trimmed().isEmpty())
        pairs.append({label, value});
}

QString voltageText(double kilovolts)
{
    return kilovolts > 0.0 ? ReasonText::voltage(kilovolts) : QString();
}

// What belongs to the equipment rather than to one test, as an item or a
// test's details give it.
void addEquipment(Pairs &pairs, TestDetails::EquipmentKind kind, double kilovolts,
                  TestDetails::InsulationClass insulationClass, TestDetails::WindingType winding, double base)
{
    addKnown(pairs, ItemSection::tr("Kind"), DetailsText::kind(kind));
    addKnown(pairs, ItemSection::tr("Rated voltage"), voltageText(kilovolts));
    addKnown(pairs, ItemSection::tr("Insulation class"), DetailsText::insulationClass(insulationClass));
    addKnown(pairs, ItemSection::tr("Winding type"), DetailsText::winding(winding));
    addKnown(pairs, ItemSection::tr("Base temperature"), ItemSection::baseText(base, kind));
}

Pairs itemPairs(const EquipmentItem &item)
{
    Pairs pairs;
    addKnown(pairs, ItemSection::tr("Tag"), item.tag);
    addKnown(pairs, ItemSection::tr("Description"), item.description);
    addKnown(pairs, ItemSection::tr("Site"), item.site);
    addKnown(pairs, ItemSection::tr("Location"), item.location);
    addEquipment(pairs, item.kind, item.ratedKilovolts, item.insulationClass, item.winding, item.baseCelsius);
    return pairs;
}

Pairs detailsPairs(const TestDetails &details)
{
    Pairs pairs;
    addKnown(pairs, ItemSection::tr("Equipment"),
             details.equipment.isEmpty() ? ItemSection::tr("not given") : details.equipment);
    addEquipment(pairs, details.kind, details.ratedKilovolts, details.insulationClass, details.winding,
                 details.baseCelsius);
    return pairs;
}

// Two label and value pairs to a row; long notes get a row of their own.
QString tableHtml(const Pairs &pairs, const QString &notes)
{
    HtmlTable table({21, 29, 21, 29});
    table.addHeaderRow({{ItemSection::tr("Equipment under test"), HtmlTable::Style::Head}});
    for (int index = 0; index < pairs.size(); index += 2) {
        QVector<HtmlTable::Cell> row{HtmlTable::label(pairs.at(index).first), HtmlTable::value(pairs.at(index).second)};
        if (index + 1 < pairs.size())
            row << HtmlTable::label(pairs.at(index + 1).first) << HtmlTable::value(pairs.at(index + 1).second);
        else
            row << HtmlTable::value(QString(), 2);
        table.addRow(row);
    }
    QString label = ItemSection::tr("Notes");
    for (const QString &paragraph : notes.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        table.addRow({HtmlTable::label(label), HtmlTable::value(paragraph)});
        label.clear();
    }
    return table.html();
}
} // namespace

QString ItemSection::title(const ReportContent &content)
{
    if (content.scope == ReportContent::Scope::OneTest)
        return tr("Insulation test report");
    return content.item ? tr("Insulation tests of %1").arg(content.item->tag) : tr("Insulation tests");
}

QString ItemSection::titleHtml(const ReportContent &content)
{
    QString html = QStringLiteral("<p class=\"title\">%1</p>").arg(ReportText::html(title(content)));
    if (content.scope != ReportContent::Scope::ItemTests)
        return html;
    QString range;
    if (content.from.isValid() && content.to.isValid())
        range = tr("From %1 to %2").arg(ReportText::date(content.from), ReportText::date(content.to));
    else if (content.from.isValid())
        range = tr("From %1").arg(ReportText::date(content.from));
    else if (content.to.isValid())
        range = tr("Up to %1").arg(ReportText::date(content.to));
    const QString count = tr("Tests reported: %1").arg(content.tests.size());
    const QString subtitle = range.isEmpty() ? count : range + QStringLiteral(" · ") + count;
    return html + QStringLiteral("<p class=\"subtitle\">%1</p>").arg(ReportText::html(subtitle));
}

QString ItemSection::detailsHtml(const ReportContent &content)
{
    if (content.item)
        return tableHtml(itemPairs(*content.item), content.item->notes);
    if (!content.tests.isEmpty())
        return tableHtml(detailsPairs(content.tests.constFirst().details), QString());
    return tableHtml({{tr("Equipment"), tr("not given")}}, QString());
}


QString ItemSection::baseText(double baseCelsius, TestDetails::EquipmentKind kind)
{
    if (!std::isnan(baseCelsius))
        return ResistanceText::celsius(baseCelsius);
    TestDetails defaults;
    defaults.kind = kind;
    return tr("%1 (the kind's default)").arg(ResistanceText::celsius(defaults.effectiveBaseCelsius()));
}
