// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "report/rulessection.h"

#include "insulation/rulesource.h"
#include "report/htmltable.h"
#include "report/reporttext.h"

QStringList RulesSection::rulesOf(const QList<ReportContent::Test> &tests)
{
    QStringList rules;
    for (const ReportContent::Test &test : tests) {
        for (const QString &rule : test.verdict.rules) {
            if (!rules.contains(rule))
                rules << rule;
        }
    }
    return rules;
}

QString RulesSection::html(const QList<ReportContent::Test> &tests)
{
    const QStringList rules = rulesOf(tests);
    if (rules.isEmpty())
        return QString();
    HtmlTable table({34, 66});
    table.addHeaderRow({{tr("Rules applied"), HtmlTable::Style::Head}});
    for (const QString &rule : rules)
        table.addRow({HtmlTable::label(rule), HtmlTable::value(RuleSource::subject(rule))});
    return table.html();
}
