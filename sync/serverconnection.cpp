// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "sync/serverconnection.h"

#include "sync/serverschema.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDebug>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("ServerConnection", text);
}

QString uniqueConnectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("tessra-server-%1").arg(counter.fetchAndAddRelaxed(1));
}

const QString driverName = QStringLiteral("QPSQL");

// libpq says what went wrong in English only; the program tells it in the
// user's language by what it recognises.
bool mentions(const QString &text, std::initializer_list<const char *> phrases)
{
    for (const char *phrase : phrases) {
        if (text.contains(QLatin1String(phrase), Qt::CaseInsensitive))
            return true;
    }
    return false;
}
} // namespace

ServerConnection::ServerConnection(const SyncSettings &settings)
    : m_settings(settings)
    , m_connectionName(uniqueConnectionName())
{
}

ServerConnection::~ServerConnection()
{
    if (!QSqlDatabase::contains(m_connectionName))
        return;
    {
        QSqlDatabase database = QSqlDatabase::database(m_connectionName, false);
        database.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
}

bool ServerConnection::isDriverAvailable()
{
    return QSqlDatabase::isDriverAvailable(driverName);
}

bool ServerConnection::open()
{
    if (m_open)
        return true;
    if (!isDriverAvailable())
        return fail(Failure::NoDriver, tr("Qt's PostgreSQL driver is not installed (Debian: libqt5sql5-psql)."));
    if (!connectToServer() || !prepareSession())
        return false;
    QString error;
    if (!ServerSchema::ensureSchema(database(), error))
        return fail(Failure::Refused, error);
    const SchemaRunner::Result schema = ServerSchema::upgrade(database());
    m_schema = schema.outcome;
    if (!schema.isUsable())
        return fail(Failure::Refused, ServerSchema::message(schema));
    m_open = true;
    return true;
}

QSqlDatabase ServerConnection::database() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

// Options go to libpq as they are; a service entry fills in the rest, and a
// password left out is looked up in libpq's password file.
QString ServerConnection::connectOptions() const
{
    const QString tls = SyncSettings::tlsModes().contains(m_settings.tls) ? m_settings.tls : SyncSettings::tlsModes().first();
    QStringList options = {QStringLiteral("connect_timeout=5"), QStringLiteral("sslmode=") + tls,
                           QStringLiteral("application_name=tessra")};
    if (!m_settings.service.isEmpty() && SyncSettings::isServiceName(m_settings.service))
        options << QStringLiteral("service=") + m_settings.service;
    return options.join(QLatin1Char(';'));
}

bool ServerConnection::connectToServer()
{
    QSqlDatabase connection = QSqlDatabase::addDatabase(driverName, m_connectionName);
    if (!m_settings.host.isEmpty())
        connection.setHostName(m_settings.host);
    connection.setPort(m_settings.port);
    connection.setDatabaseName(m_settings.database);
    connection.setUserName(m_settings.user);
    if (!m_settings.password.isEmpty())
        connection.setPassword(m_settings.password);
    connection.setConnectOptions(connectOptions());
    if (connection.open())
        return true;
    const QString reason = connection.lastError().databaseText().trimmed().isEmpty()
                               ? connection.lastError().text()
                               : connection.lastError().databaseText().trimmed();
    qDebug() << "[sync] connect failed:" << reason;
    const QString server = m_settings.serverName();
    if (mentions(reason, {"no password supplied", "fe_sendauth"}))
        return fail(Failure::PasswordNeeded, tr("The server %1 asks for a password.").arg(server));
    if (mentions(reason, {"password authentication failed", "authentication failed", "role", "pg_hba.conf"}))
        return fail(Failure::Authentication,
                    tr("The server %1 refused the user name or password: %2").arg(server, reason));
    if (mentions(reason, {"could not connect", "connection refused", "timeout expired", "could not translate host",
                          "no route", "network is unreachable", "connection to server"}))
        return fail(Failure::Unreachable, tr("The server %1 cannot be reached: %2").arg(server, reason));
    return fail(Failure::Other, tr("Cannot connect to the server %1: %2").arg(server, reason));
}

// The program's tables come first in every name it uses.
bool ServerConnection::prepareSession()
{
    QSqlQuery query(database());
    query.prepare(QStringLiteral("SELECT set_config('search_path', ?, false)"));
    query.addBindValue(ServerSchema::name());
    if (!query.exec())
        return fail(query.lastError());
    return true;
}

bool ServerConnection::fail(const QSqlError &error)
{
    const QString reason = error.databaseText().trimmed().isEmpty() ? error.text() : error.databaseText().trimmed();
    const bool lost = !database().isOpen()
                      || mentions(reason, {"server closed the connection", "terminating connection", "no connection",
                                           "connection to server", "could not send", "could not receive"});
    return fail(lost ? Failure::Unreachable : Failure::Other,
                lost ? tr("The connection to the server %1 was lost: %2").arg(m_settings.serverName(), reason)
                     : tr("The server %1 refused a change: %2").arg(m_settings.serverName(), reason));
}

bool ServerConnection::fail(Failure failure, const QString &reason)
{
    m_failure = failure;
    m_error = reason;
    return false;
}
