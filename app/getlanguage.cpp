// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "app/getlanguage.h"

#include "app/settingskeys.h"

#include <QSettings>
#include <QVariant>

QString getLanguage()
{
    const QSettings settings(SettingsKeys::fileName, QSettings::IniFormat);
    return settings.value(SettingsKeys::language).toString();
}
