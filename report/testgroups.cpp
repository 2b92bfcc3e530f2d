// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "report/testgroups.h"

#include "insulation/testdate.h"
#include "insulation/trendanalysis.h"
#include "report/reporttext.h"

#include <QDateTime>
#include <QLocale>

#include <algorithm>

namespace {
QDate dayOf(const ReportContent::Test &test)
{
    return QDateTime::fromMSecsSinceEpoch(TestGroups::msOf(test)).date();
}

bool dateKnown(const ReportContent::Test &test)
{
    return TestDate::isKnown(test.test, test.details);
}

} // namespace

void TestGroups::sort(QList<ReportContent::Test> &tests)
{
    std::stable_sort(tests.begin(), tests.end(), [](const ReportContent::Test &a, const ReportContent::Test &b) {
        if (dayOf(a) != dayOf(b))
            return dayOf(a) < dayOf(b);
        if (dateKnown(a) != dateKnown(b))
            return dateKnown(a);
        if (const int order = TrendAnalysis::compareTestPoints(a.details.testPoint, b.details.testPoint))
            return order < 0;
        return msOf(a) < msOf(b);
    });
}

qint64 TestGroups::msOf(const ReportContent::Test &test)
{
    const qint64 ms = TestDate::testedMs(test.test, test.details);
    return ms > 0 ? ms : test.test.startedMs;
}

bool TestGroups::sameGroup(const ReportContent::Test &a, const ReportContent::Test &b)
{
    return dayOf(a) == dayOf(b) && dateKnown(a) == dateKnown(b)
        && TrendAnalysis::sameTestPoint(a.details.testPoint, b.details.testPoint);
}

bool TestGroups::anyNamed(const QList<ReportContent::Test> &tests)
{
    return std::any_of(tests.cbegin(), tests.cend(),
                       [](const ReportContent::Test &test) { return !test.details.testPoint.trimmed().isEmpty(); });
}

QString TestGroups::heading(const ReportContent::Test &test)
{
    const QString date = TestDate::dateText(msOf(test), dateKnown(test), QLocale(), ReportText::dateFormat());
    return tr("%1 · %2").arg(date, TrendAnalysis::seriesName(test.details.testPoint));
}
