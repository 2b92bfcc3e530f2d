// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "report/reportsource.h"

#include "insulation/verdictrules.h"
#include "journal/equipmentstore.h"
#include "journal/readingstore.h"
#include "journal/teststore.h"

#include <QSqlQuery>

ReportSource::ReportSource(QSqlDatabase journal)
    : m_journal(std::move(journal))
{
}

std::optional<ReportContent::Test> ReportSource::judged(qint64 testId) const
{
    const TestStore tests(m_journal);
    const ReadingStore readings(m_journal);
    const std::optional<InsulationTest> test = tests.load(testId, readings);
    if (!test)
        return std::nullopt;
    ReportContent::Test judged;
    judged.test = *test;
    judged.details = tests.details(testId);
    judged.values = CurveAnalysis::analyse(judged.test);
    judged.verdict = VerdictRules::judge(judged.test, judged.values, judged.details);
    return judged;
}

// The item's own fields stand for it in each test's details: what belongs
// to the item comes from the register.
std::optional<ReportContent> ReportSource::forTest(qint64 testId)
{
    std::optional<ReportContent::Test> test = judged(testId);
    if (!test) {
        m_error = tr("The journal has no test %1.").arg(testId);
        return std::nullopt;
    }
    ReportContent content;
    content.scope = ReportContent::Scope::OneTest;
    content.made = QDateTime::currentDateTime();
    content.item = EquipmentStore(m_journal).findByTag(test->details.equipment);
    if (content.item)
        content.trend = trendOf(content.item->id);
    content.tests << *test;
    return content;
}

std::optional<ReportContent> ReportSource::forItem(const QString &tag, const QDate &from, const QDate &to)
{
    const EquipmentStore register_(m_journal);
    const std::optional<EquipmentItem> item = register_.findByTag(tag);
    if (!item) {
        m_error = tr("The register has no item %1.").arg(tag);
        return std::nullopt;
    }
    ReportContent content;
    content.scope = ReportContent::Scope::ItemTests;
    content.made = QDateTime::currentDateTime();
    content.item = item;
    content.from = from;
    content.to = to;
    const qint64 fromMs = from.isValid() ? from.startOfDay().toMSecsSinceEpoch() : -1;
    const qint64 toMs = to.isValid() ? to.addDays(1).startOfDay().toMSecsSinceEpoch() : -1;
    for (const qint64 testId : register_.testsOf(item->id, fromMs, toMs)) {
        if (const std::optional<ReportContent::Test> test = judged(testId))
            content.tests << *test;
    }
    content.trend = trendOf(item->id);
    return content;
}

// Every test is judged as the item is now, so that the trend compares like
// with like whatever each test was saved as.
QList<TrendAnalysis::Point> ReportSource::trendOf(qint64 itemId)
{
    QList<TrendAnalysis::Point> points;
    const EquipmentStore register_(m_journal);
    const std::optional<EquipmentItem> item = register_.find(itemId);
    if (!item)
        return points;
    const TestStore tests(m_journal);
    const ReadingStore readings(m_journal);
    for (const qint64 testId : register_.testsOf(itemId)) {
        const std::optional<InsulationTest> test = tests.load(testId, readings);
        if (test && !test->isMeasurement())
            points << TrendAnalysis::pointOf(*test, tests.details(testId), *item);
    }
    TrendAnalysis::flagFalls(points);
    return points;
}
