// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "sync/serverconnection.h"

#include "sync/serverschema.h"
#include "sync/serverwatch.h"

#include <libpq-fe.h>

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDebug>
#include <QSqlDriver>
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

ServerConnection::ServerConnection(const SyncSettings &settings, ServerWatch *watch)
    : m_settings(settings)
    , m_watch(watch)
    , m_connectionName(uniqueConnectionName())
{
}

ServerConnection::~ServerConnection()
{
    if (m_watch)
        m_watch->unwatch();
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
    if (!connectToServer())
        return false;
    startWatch();
    if (!prepareSession())
        return false;
    QString error;
    if (!ServerSchema::ensureSchema(database(), error))
        return fail(Failure::Refused, error);
    if (!mayChangeSchema())
        return false;
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
// password left out is looked up in libpq's password file. A peer gone from
// the network is found by keepalives while the connection waits, and by
// the TCP user time-out while what was sent is not acknowledged.
QString ServerConnection::connectOptions() const
{
    const QString tls = SyncSettings::tlsModes().contains(m_settings.tls) ? m_settings.tls : SyncSettings::tlsModes().first();
    QStringList options = {QStringLiteral("connect_timeout=5"), QStringLiteral("sslmode=") + tls,
                           QStringLiteral("application_name=tessra"), QStringLiteral("keepalives=1"),
                           QStringLiteral("keepalives_idle=15"), QStringLiteral("keepalives_interval=5"),
                           QStringLiteral("keepalives_count=3"), QStringLiteral("tcp_user_timeout=30000")};
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

// The program's tables come first in every name it uses. A statement may
// take so long, and wait for another's lock half as long; a transaction
// left open by a laptop that stopped answering holds nothing for long.
bool ServerConnection::prepareSession()
{
    QSqlQuery query(database());
    query.prepare(QStringLiteral("SELECT set_config('search_path', ?, false)"));
    query.addBindValue(ServerSchema::name());
    if (!query.exec())
        return fail(query.lastError());
    const int seconds = qMax(0, m_settings.answerSeconds);
    for (const auto &[name, ms] : {std::pair<const char *, int>{"statement_timeout", seconds * 1000},
                                   std::pair<const char *, int>{"lock_timeout", seconds * 500},
                                   std::pair<const char *, int>{"idle_in_transaction_session_timeout", 300000}}) {
        query.prepare(QStringLiteral("SELECT set_config(?, ?, false)"));
        query.addBindValue(QString::fromLatin1(name));
        query.addBindValue(QString::number(ms));
        if (!query.exec())
            return fail(query.lastError());
    }
    return true;
}

// The server's socket, from libpq's connection under Qt's driver.
void ServerConnection::startWatch()
{
    if (!m_watch)
        return;
    const QVariant handle = database().driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "PGconn*") != 0)
        return;
    PGconn *connection = *static_cast<PGconn *const *>(handle.constData());
    const int seconds = qMax(0, m_settings.answerSeconds);
    // Past its time-out the server itself ends a statement and says so:
    // silent a while longer, it is taken as gone.
    m_watch->watch(PQsocket(connection), seconds > 0 ? (seconds + 5) * 1000 : 0);
}

// Only the schema's owner (or a role that may act as it) makes or changes
// the tables; a technician's login uses them as the owner made them.
bool ServerConnection::mayChangeSchema()
{
    const int stored = ServerSchema::storedVersion(database());
    if (stored >= ServerSchema::currentVersion())
        return true;
    if (ServerSchema::isOwnedBy(database()))
        return true;
    return fail(Failure::Refused,
                stored == 0 ? tr("The server %1 has no tables for Tessra yet, and %2 may not make them: the "
                                 "department's administrator makes them by connecting once as the owner of the "
                                 "schema \"%3\" (see team-server.sql).")
                                  .arg(m_settings.serverName(), m_settings.user, ServerSchema::name())
                            : tr("The server %1 holds Tessra's tables at schema %2; this version needs schema %3, "
                                 "and %4 may not upgrade them: the department's administrator upgrades them by "
                                 "connecting once as the owner of the schema \"%5\". Nothing was changed.")
                                  .arg(m_settings.serverName())
                                  .arg(stored)
                                  .arg(ServerSchema::currentVersion())
                                  .arg(m_settings.user, ServerSchema::name()));
}

bool ServerConnection::fail(const QSqlError &error)
{
    const QString reason = error.databaseText().trimmed().isEmpty() ? error.text() : error.databaseText().trimmed();
    const bool lost = !database().isOpen() || (m_watch && m_watch->wasSilent())
                      || mentions(reason, {"server closed the connection", "terminating connection", "no connection",
                                           "connection to server", "could not send", "could not receive",
                                           "statement timeout", "lock timeout"});
    if (m_watch && m_watch->wasSilent())
        return fail(Failure::Unreachable,
                    tr("The server %1 answered nothing for %2 seconds; it is taken as gone.")
                        .arg(m_settings.serverName())
                        .arg(m_settings.answerSeconds + 5));
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
