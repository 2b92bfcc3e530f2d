// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "insulation/testdate.h"

#include <QDateTime>

qint64 TestDate::testedMs(const InsulationTest &test, const TestDetails &details)
{
    if (details.testedMs > 0)
        return details.testedMs;
    return test.origin == InsulationTest::Origin::Memory ? 0 : test.startedMs;
}

bool TestDate::isKnown(const InsulationTest &test, const TestDetails &details)
{
    return testedMs(test, details) > 0;
}

bool TestDate::isGiven(const InsulationTest &test)
{
    return test.origin == InsulationTest::Origin::Memory;
}

QString TestDate::text(const InsulationTest &test, const TestDetails &details, const QLocale &locale,
                       const QString &dateFormat, const QString &timeFormat)
{
    if (const qint64 ms = testedMs(test, details); ms > 0)
        return locale.toString(QDateTime::fromMSecsSinceEpoch(ms), dateFormat + QLatin1Char(' ') + timeFormat);
    return tr("date unknown, downloaded %1")
        .arg(locale.toString(QDateTime::fromMSecsSinceEpoch(test.startedMs).date(), dateFormat));
}
