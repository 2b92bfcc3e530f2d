// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QMetaType>
#include <QString>

class QSettings;

// Where the team's shared server is and how to reach it. The password lives
// only in memory, for one run; the files libpq reads itself
// (~/.pgpass, ~/.pg_service.conf) are where a lasting one belongs.
struct SyncSettings
{
    bool enabled = false;
    QString host;
    int port = 5432;
    QString database;
    QString user;
    // A libpq service name; its entry supplies what is left empty here.
    QString service;
    // libpq's sslmode; the server checked unless chosen otherwise.
    QString tls = QStringLiteral("verify-full");
    QString password;
    // How long a statement may take on the server, and (a few seconds
    // more) how long the server may send nothing while the program waits
    // for it; 0 waits as long as it takes. Not kept in "options.ini".
    int answerSeconds = 60;

    bool isConfigured() const { return enabled && (!host.isEmpty() || !service.isEmpty()); }
    // "host:port/database", for messages.
    QString serverName() const;

    static SyncSettings load(const QSettings &settings);
    void save(QSettings &settings) const;
    static bool isServiceName(const QString &name);
    // The sslmode values offered, the first the default.
    static const QStringList &tlsModes();
    // The root certificate libpq checks the server with (PGSSLROOTCERT or
    // ~/.postgresql/root.crt), and whether it is there.
    static QString rootCertificatePath();
    static bool hasRootCertificate();
};

Q_DECLARE_METATYPE(SyncSettings)
