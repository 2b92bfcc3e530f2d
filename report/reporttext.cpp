// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "report/reporttext.h"

#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>

#include <cmath>

QString ReportText::dateFormat()
{
    QString format = QLocale().dateFormat(QLocale::ShortFormat);
    if (!format.contains(QLatin1String("yyyy")))
        format.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return format;
}

QString ReportText::date(const QDate &date)
{
    return QLocale().toString(date, dateFormat());
}

QString ReportText::dateTime(qint64 msSinceEpoch)
{
    const QDateTime when = QDateTime::fromMSecsSinceEpoch(msSinceEpoch);
    return QLocale().toString(when, dateFormat() + QLatin1Char(' ') + timeFormat());
}

// Some locales' short times carry seconds; a test's minute is enough.
QString ReportText::timeFormat()
{
    QString time = QLocale().timeFormat(QLocale::ShortFormat);
    time.remove(QRegularExpression(QStringLiteral("[:.]ss")));
    return time;
}

QString ReportText::seconds(int seconds)
{
    const int minutes = seconds / 60;
    const int rest = seconds % 60;
    if (minutes == 0)
        return tr("%1 s").arg(rest);
    if (rest == 0)
        return tr("%1 min").arg(minutes);
    return tr("%1 min %2 s").arg(minutes).arg(rest);
}

QString ReportText::volts(int volts)
{
    return volts > 0 ? tr("%1 V").arg(volts) : QStringLiteral("-");
}

QString ReportText::percent(double value)
{
    return std::isfinite(value) ? tr("%1 %").arg(QLocale::c().toString(value, 'f', value == std::floor(value) ? 0 : 1))
                                : QStringLiteral("-");
}

QString ReportText::html(const QString &text)
{
    return text.toHtmlEscaped().replace(QLatin1Char('\n'), QLatin1String("<br>"));
}
