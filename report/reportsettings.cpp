// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "report/reportsettings.h"

#include "app/settingskeys.h"

#include <QLocale>
#include <QSettings>

namespace {
QSettings openSettings()
{
    return QSettings(QString::fromLatin1(SettingsKeys::fileName), QSettings::IniFormat);
}

const QString a4 = QStringLiteral("A4");
const QString letter = QStringLiteral("Letter");
} // namespace

ReportOptions ReportSettings::load()
{
    const QSettings settings = openSettings();
    ReportOptions options;
    options.company = settings.value(QLatin1String(SettingsKeys::reportCompany)).toString();
    options.logoFile = settings.value(QLatin1String(SettingsKeys::reportLogo)).toString();
    options.technician = settings.value(QLatin1String(SettingsKeys::reportTechnician)).toString();
    const QString paper = settings.value(QLatin1String(SettingsKeys::reportPaper)).toString();
    if (paper.compare(a4, Qt::CaseInsensitive) == 0)
        options.paper = QPageSize::A4;
    else if (paper.compare(letter, Qt::CaseInsensitive) == 0)
        options.paper = QPageSize::Letter;
    else
        options.paper = ReportOptions::paperOf(QLocale());
    return options;
}

void ReportSettings::save(const ReportOptions &options, bool paperFromLocale)
{
    QSettings settings = openSettings();
    settings.setValue(QLatin1String(SettingsKeys::reportCompany), options.company);
    settings.setValue(QLatin1String(SettingsKeys::reportLogo), options.logoFile);
    settings.setValue(QLatin1String(SettingsKeys::reportTechnician), options.technician);
    if (paperFromLocale)
        settings.remove(QLatin1String(SettingsKeys::reportPaper));
    else
        settings.setValue(QLatin1String(SettingsKeys::reportPaper), options.paper == QPageSize::Letter ? letter : a4);
    settings.sync();
}

bool ReportSettings::paperIsChosen()
{
    return openSettings().contains(QLatin1String(SettingsKeys::reportPaper));
}
