// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "sync/syncsettings.h"

#include "app/settingskeys.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QStringList>

QString SyncSettings::serverName() const
{
    if (host.isEmpty())
        return service;
    return QStringLiteral("%1:%2/%3").arg(host).arg(port).arg(database);
}

SyncSettings SyncSettings::load(const QSettings &settings)
{
    SyncSettings sync;
    sync.enabled = settings.value(SettingsKeys::syncEnabled, false).toBool();
    sync.host = settings.value(SettingsKeys::syncHost).toString().trimmed();
    sync.port = settings.value(SettingsKeys::syncPort, 5432).toInt();
    if (sync.port <= 0 || sync.port > 65535)
        sync.port = 5432;
    sync.database = settings.value(SettingsKeys::syncDatabase).toString().trimmed();
    sync.user = settings.value(SettingsKeys::syncUser).toString().trimmed();
    sync.service = settings.value(SettingsKeys::syncService).toString().trimmed();
    if (!isServiceName(sync.service))
        sync.service.clear();
    const QString tls = settings.value(SettingsKeys::syncTls, tlsModes().first()).toString();
    sync.tls = tlsModes().contains(tls) ? tls : tlsModes().first();
    return sync;
}

void SyncSettings::save(QSettings &settings) const
{
    settings.setValue(SettingsKeys::syncEnabled, enabled);
    settings.setValue(SettingsKeys::syncHost, host);
    settings.setValue(SettingsKeys::syncPort, port);
    settings.setValue(SettingsKeys::syncDatabase, database);
    settings.setValue(SettingsKeys::syncUser, user);
    settings.setValue(SettingsKeys::syncService, service);
    settings.setValue(SettingsKeys::syncTls, tls);
}

// A service name goes to libpq among its options; nothing but a name may.
bool SyncSettings::isServiceName(const QString &name)
{
    static const QRegularExpression valid(QStringLiteral("^[A-Za-z0-9_.-]*$"));
    return valid.match(name).hasMatch();
}

const QStringList &SyncSettings::tlsModes()
{
    // Encrypted and the server checked unless the user chooses otherwise.
    static const QStringList modes = {QStringLiteral("verify-full"), QStringLiteral("require"),
                                      QStringLiteral("prefer"), QStringLiteral("disable")};
    return modes;
}

// Where libpq looks for the root certificate it checks the server with.
QString SyncSettings::rootCertificatePath()
{
    const QString fromEnvironment = qEnvironmentVariable("PGSSLROOTCERT");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    return QDir::home().filePath(QStringLiteral(".postgresql/root.crt"));
}

bool SyncSettings::hasRootCertificate()
{
    return QFileInfo(rootCertificatePath()).isFile();
}
