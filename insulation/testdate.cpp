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
    const qint64 ms = testedMs(test, details);
    return ms > 0 ? text(ms, true, locale, dateFormat, timeFormat)
                  : text(test.startedMs, false, locale, dateFormat, timeFormat);
}

QString TestDate::text(qint64 ms, bool known, const QLocale &locale, const QString &dateFormat,
                       const QString &timeFormat)
{
    if (known)
        return locale.toString(QDateTime::fromMSecsSinceEpoch(ms), dateFormat + QLatin1Char(' ') + timeFormat);
    return dateText(ms, false, locale, dateFormat);
}

QString TestDate::dateText(qint64 ms, bool known, const QLocale &locale, const QString &dateFormat)
{
    const QString date = locale.toString(QDateTime::fromMSecsSinceEpoch(ms).date(), dateFormat);
    return known ? date : tr("date unknown, downloaded %1").arg(date);
}
