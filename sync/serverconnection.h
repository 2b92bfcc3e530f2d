// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "journal/schemarunner.h"
#include "sync/syncsettings.h"

#include <QSqlDatabase>
#include <QString>

class QSqlError;
class ServerWatch;

// One connection to the team's server, on the thread that opened it, with
// the program's tables in place and searched first.
class ServerConnection
{
public:
    enum class Failure { None, NoDriver, Unreachable, Authentication, PasswordNeeded, Refused, Other };

    // `watch`, when given, keeps watch over the connection while it is open.
    explicit ServerConnection(const SyncSettings &settings, ServerWatch *watch = nullptr);
    ~ServerConnection();

    ServerConnection(const ServerConnection &) = delete;
    ServerConnection &operator=(const ServerConnection &) = delete;

    // Connects and brings the tables up to date; false with errorString()
    // and failure() saying why.
    [[nodiscard]] bool open();
    bool isOpen() const { return m_open; }
    QSqlDatabase database() const;

    QString errorString() const { return m_error; }
    Failure failure() const { return m_failure; }
    // What open() found the server's tables at, and did to them.
    SchemaRunner::Outcome schemaOutcome() const { return m_schema; }
    // Keeps the failure a statement met on the open connection, in words;
    // always false, for `return fail(...)`.
    bool fail(const QSqlError &error);

    static bool isDriverAvailable();

private:
    QString connectOptions() const;
    bool connectToServer();
    bool prepareSession();
    bool mayChangeSchema();
    void startWatch();
    bool fail(Failure failure, const QString &reason);

    SyncSettings m_settings;
    ServerWatch *m_watch = nullptr;
    QString m_connectionName;
    QString m_error;
    Failure m_failure = Failure::None;
    SchemaRunner::Outcome m_schema = SchemaRunner::Outcome::Failed;
    bool m_open = false;
};
