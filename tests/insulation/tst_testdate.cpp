// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "insulation/testdate.h"
#include "insulation/trendanalysis.h"
#include "insulation/verdictrules.h"
#include "meter/dmmdata.h"

#include <QDateTime>
#include <QTest>

namespace {
qint64 at(int year, int month, int day, int hour = 10)
{
    return QDateTime(QDate(year, month, day), QTime(hour, 0)).toMSecsSinceEpoch();
}

InsulationTest testOf(InsulationTest::Origin origin)
{
    InsulationTest test;
    test.mode = DMMData::dmIR;
    test.origin = origin;
    test.status = InsulationTest::Status::Completed;
    test.startedMs = at(2026, 12, 11);
    test.finalMegohms = 500.0;
    return test;
}

TestDetails testedAt(qint64 ms)
{
    TestDetails details;
    details.testedMs = ms;
    return details;
}
} // namespace

class TestTestDate : public QObject
{
    Q_OBJECT

private slots:
    void dateAsShown_data();
    void dateAsShown();
};

// A record of the meter's memory carries no date of its own: it is said so,
// with the download's date, until the details give one; the trend then
// places it there.
void TestTestDate::dateAsShown_data()
{
    QTest::addColumn<InsulationTest>("test");
    QTest::addColumn<TestDetails>("details");
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("trendMs");

    const InsulationTest live = testOf(InsulationTest::Origin::Live);
    const InsulationTest memory = testOf(InsulationTest::Origin::Memory);
    QTest::newRow("live: its own start") << live << TestDetails() << "2026-12-11 10:00" << at(2026, 12, 11);
    QTest::newRow("memory without a date: unknown, downloaded")
        << memory << TestDetails() << "date unknown, downloaded 2026-12-11" << at(2026, 12, 11);
    QTest::newRow("memory with the date given")
        << memory << testedAt(at(2025, 3, 4, 9)) << "2025-03-04 09:00" << at(2025, 3, 4, 9);
    QTest::newRow("live with a date given: the date given")
        << live << testedAt(at(2026, 12, 10, 8)) << "2026-12-10 08:00" << at(2026, 12, 10, 8);
}

void TestTestDate::dateAsShown()
{
    QFETCH(InsulationTest, test);
    QFETCH(TestDetails, details);
    QFETCH(QString, text);
    QFETCH(qint64, trendMs);

    QCOMPARE(TestDate::text(test, details, QLocale::c(), QStringLiteral("yyyy-MM-dd"), QStringLiteral("HH:mm")), text);
    const CurveAnalysis::Values values = CurveAnalysis::analyse(test);
    const TrendAnalysis::Point point =
        TrendAnalysis::pointOf(test, values, VerdictRules::judge(test, values, details), details);
    QCOMPARE(point.ms, trendMs);
}

QTEST_GUILESS_MAIN(TestTestDate)
#include "tst_testdate.moc"
