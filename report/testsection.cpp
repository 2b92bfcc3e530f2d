// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "report/testsection.h"

#include "insulation/curveanalysis.h"
#include "insulation/resistancetext.h"
#include "insulation/testdate.h"
#include "meter/dmmdata.h"
#include "report/htmltable.h"
#include "report/palette.h"
#include "report/reporttext.h"

#include <QLocale>

#include <cmath>

namespace {
using Cell = HtmlTable::Cell;
using Row = QVector<Cell>;
using Pair = QPair<QString, QString>;

constexpr int compPass = 2;
constexpr int compNoVerdict = 0;

QString coloured(const QString &text, const QColor &colour)
{
    return QStringLiteral("<span style=\"color:%1; font-weight:bold\">%2</span>")
        .arg(colour.name(), ReportText::html(text));
}

bool hasSetTimes(const InsulationTest &test)
{
    return (test.mode == DMMData::dmPI || test.mode == DMMData::dmDAR) && test.setSeconds > 0 && test.setSeconds2 > 0;
}

QString heading(const InsulationTest &test, int number, int count)
{
    const QString mode = TestSection::tr("%1 test").arg(test.modeName());
    return count > 1 ? TestSection::tr("Test %1 of %2: %3").arg(number).arg(count).arg(mode) : mode;
}

QString modeText(const InsulationTest &test)
{
    if (hasSetTimes(test))
        return TestSection::tr("%1 (%2 and %3)")
            .arg(test.modeName(), ReportText::seconds(test.setSeconds), ReportText::seconds(test.setSeconds2));
    if (test.mode == DMMData::dmTime && test.setSeconds > 0)
        return TestSection::tr("%1 (%2)").arg(test.modeName(), ReportText::seconds(test.setSeconds));
    return test.modeName();
}

Cell statusCell(InsulationTest::Status status)
{
    const QString text = TestSection::statusText(status);
    if (status == InsulationTest::Status::Completed)
        return HtmlTable::value(text);
    return {coloured(text, Palette::warning), HtmlTable::Style::Plain, 1};
}

// How, in short; the reasons give the factor the verdict used.
QString correctionText(const Verdict &verdict)
{
    if (!verdict.correction.isEmpty())
        return verdict.correction;
    if (std::isnan(verdict.baseCelsius))
        return TestSection::tr("not corrected");
    return TestSection::tr("to %1").arg(ResistanceText::celsius(verdict.baseCelsius));
}

void addConditions(HtmlTable &table, const ReportContent::Test &entry)
{
    const InsulationTest &test = entry.test;
    const TestDetails &details = entry.details;
    const QString operatorName = details.operatorName.isEmpty() ? QStringLiteral("-") : details.operatorName;
    const QString started = TestDate::text(test, details, QLocale(), ReportText::dateFormat(), ReportText::timeFormat());
    table.addRow({HtmlTable::label(TestSection::tr("Started")), HtmlTable::value(started),
                  HtmlTable::label(TestSection::tr("Mode")), HtmlTable::value(modeText(test))});
    table.addRow({HtmlTable::label(TestSection::tr("Set voltage")), HtmlTable::value(ReportText::volts(test.setVolts)),
                  HtmlTable::label(TestSection::tr("Status")), statusCell(test.status)});
    table.addRow({HtmlTable::label(TestSection::tr("Origin")), HtmlTable::value(TestSection::originText(test.origin)),
                  HtmlTable::label(TestSection::tr("Operator")), HtmlTable::value(operatorName)});
    table.addRow({HtmlTable::label(TestSection::tr("Insulation temperature")),
                  HtmlTable::value(ResistanceText::celsius(details.insulationCelsius)),
                  HtmlTable::label(TestSection::tr("Ambient temperature")),
                  HtmlTable::value(ResistanceText::celsius(details.ambientCelsius))});
    table.addRow({HtmlTable::label(TestSection::tr("Relative humidity")),
                  HtmlTable::value(ReportText::percent(details.humidityPercent)),
                  HtmlTable::label(TestSection::tr("Temperature correction")),
                  HtmlTable::value(correctionText(entry.verdict))});
    if (!details.testPoint.trimmed().isEmpty())
        table.addRow({HtmlTable::label(TestSection::tr("Test point")), HtmlTable::value(details.testPoint.trimmed()),
                      HtmlTable::value(QString(), 2)});
}

// A mark's reading; beyond the range there, the lower bound it gives.
QString markText(const InsulationTest &test, double value, double seconds)
{
    if (std::isfinite(value))
        return ResistanceText::megohms(value);
    const CurvePoint point = CurveAnalysis::pointAt(test.curve, seconds);
    return point.overRange ? TestSection::megohmsText(point.megohms, true) : QStringLiteral("-");
}

void addPairs(HtmlTable &table, const QVector<Pair> &left, const QVector<Pair> &right)
{
    for (int index = 0; index < std::max(left.size(), right.size()); ++index) {
        const Pair a = index < left.size() ? left.at(index) : Pair();
        const Pair b = index < right.size() ? right.at(index) : Pair();
        table.addRow({HtmlTable::label(a.first), HtmlTable::value(a.second), HtmlTable::label(b.first),
                      HtmlTable::value(b.second)});
    }
}

void addGroup(HtmlTable &table, const QString &left, const QString &right)
{
    table.addRow({{ReportText::html(left), HtmlTable::Style::Group, 2}, {ReportText::html(right), HtmlTable::Style::Group, 2}});
}

void addCurveValues(HtmlTable &table, const InsulationTest &test, const CurveAnalysis::Values &v)
{
    if (test.curve.isEmpty()) {
        const QString why = test.origin == InsulationTest::Origin::Memory
            ? TestSection::tr("No curve: the meter's memory keeps a test's final values only.")
            : TestSection::tr("No curve: no readings were recorded.");
        table.addRow({{ReportText::html(why), HtmlTable::Style::Group, 4}});
        return;
    }
    addGroup(table, TestSection::tr("Readings of the curve"), TestSection::tr("Ratios of the curve"));
    QVector<Pair> ratios{{TestSection::tr("DAR (R60/R30)"), ResistanceText::ratio(v.dar)},
                         {TestSection::tr("DAR (R60/R15)"), ResistanceText::ratio(v.dar15)},
                         {TestSection::tr("PI (R600/R60)"), ResistanceText::ratio(v.pi)}};
    if (hasSetTimes(test))
        ratios.append({TestSection::tr("At the meter's set times (%1 / %2)")
                           .arg(ReportText::seconds(test.setSeconds2), ReportText::seconds(test.setSeconds)),
                       ResistanceText::ratio(v.ratioAtSetTimes)});
    addPairs(table,
             {{TestSection::tr("R15 (15 s)"), markText(test, v.r15, CurveAnalysis::seconds15)},
              {TestSection::tr("R30 (30 s)"), markText(test, v.r30, CurveAnalysis::seconds30)},
              {TestSection::tr("R60 (1 min)"), markText(test, v.r60, CurveAnalysis::oneMinute)},
              {TestSection::tr("R600 (10 min)"), markText(test, v.r600, CurveAnalysis::tenMinutes)}},
             ratios);
}

QVector<Pair> correctedValues(const ReportContent::Test &entry)
{
    const InsulationTest &test = entry.test;
    const Verdict &verdict = entry.verdict;
    const bool corrected = std::isfinite(verdict.baseCelsius);
    const auto text = [corrected](double value, bool overRange) {
        return corrected ? TestSection::megohmsText(value, overRange) : TestSection::tr("not corrected");
    };
    // The verdict corrects the one-minute reading where the curve has one,
    // and the final reading otherwise, which has a row of its own.
    const CurvePoint atOneMinute = CurveAnalysis::pointAt(test.curve, CurveAnalysis::oneMinute);
    QVector<Pair> values;
    if (std::isfinite(entry.values.r60) || atOneMinute.overRange)
        values.append({TestSection::tr("R60 (1 min)"),
                       text(verdict.correctedMegohms, !std::isfinite(entry.values.r60) && atOneMinute.overRange)});
    values.append({TestSection::tr("R600 (10 min)"), text(verdict.correctedR600, false)});
    values.append({TestSection::tr("Final resistance"), text(verdict.correctedFinalMegohms, test.finalOverRange)});
    return values;
}

QString compText(const InsulationTest &test)
{
    const QString result = test.compResult == compPass   ? TestSection::tr("pass")
                           : test.compResult <= compNoVerdict ? TestSection::tr("no verdict")
                                                               : TestSection::tr("fail");
    if (!std::isfinite(test.compLimitMegohms))
        return result;
    return TestSection::tr("%1 (limit %2)").arg(result, ResistanceText::megohms(test.compLimitMegohms));
}

// A PI or DAR test's ratio at other set times goes by their name, never
// by PI's or DAR's.
QVector<Pair> meterValues(const InsulationTest &test)
{
    QVector<Pair> values{{TestSection::tr("Final resistance"), TestSection::megohmsText(test.finalMegohms, test.finalOverRange)},
                         {TestSection::tr("DAR"), ResistanceText::ratio(CurveAnalysis::meterDar(test))},
                         {TestSection::tr("PI"), ResistanceText::ratio(CurveAnalysis::meterPi(test))}};
    const double ratio = CurveAnalysis::meterRatio(test);
    if (std::isfinite(ratio) && !CurveAnalysis::isStandardPi(test) && !CurveAnalysis::isStandardDar(test))
        values.append({CurveAnalysis::ratioName(test), ResistanceText::ratio(ratio)});
    if (test.mode == DMMData::dmCOMP)
        values.append({TestSection::tr("Comparison"), compText(test)});
    return values;
}

void addCorrectedAndMeter(HtmlTable &table, const ReportContent::Test &entry)
{
    const double base = entry.verdict.baseCelsius;
    addGroup(table,
             std::isfinite(base) ? TestSection::tr("Corrected to %1").arg(ResistanceText::celsius(base))
                                 : TestSection::tr("Corrected values"),
             TestSection::tr("The meter's values"));
    addPairs(table, correctedValues(entry), meterValues(entry.test));
}

// Rows of one label: the label on the first only.
void addLabelled(HtmlTable &table, const QString &label, const QStringList &texts)
{
    QString shown = label;
    for (const QString &text : texts) {
        table.addRow({HtmlTable::label(shown), HtmlTable::value(text)});
        shown.clear();
    }
}

void addVerdict(HtmlTable &table, const ReportContent::Test &entry)
{
    const Verdict &verdict = entry.verdict;
    table.addRow({HtmlTable::label(TestSection::tr("Verdict")),
                  {coloured(verdict.outcomeText(), Palette::of(verdict)), HtmlTable::Style::Plain, 3}});
    QStringList reasons;
    for (const QString &reason : verdict.reasons)
        reasons << QStringLiteral("• ") + reason;
    if (entry.values.darDiffersFromMeter)
        reasons << QStringLiteral("• ") + TestSection::tr("the curve's DAR differs from the meter's by more than 5 %");
    if (entry.values.piDiffersFromMeter)
        reasons << QStringLiteral("• ") + TestSection::tr("the curve's PI differs from the meter's by more than 5 %");
    addLabelled(table, TestSection::tr("Reasons"), reasons);
    QStringList warnings;
    for (const QString &warning : verdict.warnings)
        warnings << QStringLiteral("• ") + warning;
    addLabelled(table, TestSection::tr("Warnings"), warnings);
    if (!verdict.rules.isEmpty())
        addLabelled(table, TestSection::tr("Rules"), {verdict.rules.join(QStringLiteral("; "))});
}
} // namespace

QString TestSection::html(const ReportContent::Test &test, int number, int count)
{
    HtmlTable table({21, 29, 21, 29});
    table.addHeaderRow({{ReportText::html(heading(test.test, number, count)), HtmlTable::Style::Head}});
    addConditions(table, test);
    addCurveValues(table, test.test, test.values);
    addCorrectedAndMeter(table, test);
    addVerdict(table, test);
    addLabelled(table, tr("Notes"), test.details.notes.split(QLatin1Char('\n'), Qt::SkipEmptyParts));
    return table.html();
}

QString TestSection::measurementHtml(const ReportContent::Test &test)
{
    const InsulationTest &reading = test.test;
    QStringList parts{tr("%1 measurement: %2").arg(reading.modeName(), reading.measurementText),
                      originText(reading.origin)};
    if (!test.details.operatorName.isEmpty())
        parts << tr("operator: %1").arg(test.details.operatorName);
    QString html = QStringLiteral("<p><b>%1</b> · %2</p>")
                       .arg(ReportText::html(ReportText::dateTime(reading.startedMs)),
                            ReportText::html(parts.join(QStringLiteral(" · "))));
    if (!test.details.notes.isEmpty())
        html += QStringLiteral("<p>%1</p>").arg(ReportText::html(test.details.notes));
    return html;
}

QString TestSection::statusText(InsulationTest::Status status)
{
    switch (status) {
    case InsulationTest::Status::Completed:
        return tr("Completed");
    case InsulationTest::Status::Interrupted:
        return tr("Interrupted");
    case InsulationTest::Status::Running:
        break;
    }
    return tr("Still running");
}

QString TestSection::originText(InsulationTest::Origin origin)
{
    return origin == InsulationTest::Origin::Memory ? tr("The meter's memory") : tr("Live readings");
}

QString TestSection::megohmsText(double megohms, bool overRange)
{
    if (!std::isfinite(megohms))
        return overRange ? tr("beyond the range") : QStringLiteral("-");
    return ResistanceText::megohms(megohms, overRange);
}
