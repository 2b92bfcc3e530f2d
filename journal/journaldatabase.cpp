// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "journal/journaldatabase.h"

#include "journal/journalschema.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("JournalDatabase", text);
}

QString uniqueConnectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("tessra-journal-%1").arg(counter.fetchAndAddRelaxed(1));
}

const QByteArray sqliteHeader("SQLite format 3\0", 16);
} // namespace

JournalDatabase::JournalDatabase(const QString &fileName)
    : m_fileName(fileName)
    , m_connectionName(uniqueConnectionName())
{
}

// The connection must be gone before its name is removed.
JournalDatabase::~JournalDatabase()
{
    if (QSqlDatabase::contains(m_connectionName)) {
        {
            QSqlDatabase database = QSqlDatabase::database(m_connectionName, false);
            database.close();
        }
        QSqlDatabase::removeDatabase(m_connectionName);
    }
}

bool JournalDatabase::looksLikeDatabase(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray start = file.read(sqliteHeader.size());
    // An empty file is how a new database starts.
    return start.isEmpty() || start == sqliteHeader;
}

// Nothing is written to the file until it has been read as a journal of a
// schema this program knows.
bool JournalDatabase::open()
{
    if (m_open)
        return true;
    const QFileInfo info(m_fileName);
    if (info.exists() && !info.isFile())
        return fail(tr("It is no file."));
    if (info.exists() && !looksLikeDatabase(m_fileName))
        return fail(info.isReadable() ? tr("It is not a database.") : tr("It cannot be read."));
    if (!openConnection() || !checkReadable())
        return false;
    const SchemaRunner::Result schema = JournalSchema::upgrade(connection());
    m_schema = schema.outcome;
    if (!schema.isUsable())
        return fail(JournalSchema::message(schema));
    if (!setUpConnection())
        return false;
    m_open = true;
    return true;
}

QSqlDatabase JournalDatabase::connection() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

bool JournalDatabase::openConnection()
{
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE")))
        return fail(tr("Qt's SQLite driver is not installed."));
    QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    database.setDatabaseName(m_fileName);
    // A writer that finds the file locked by another waits this long, then
    // keeps what it could not write and tries again later.
    database.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=50"));
    if (!database.open())
        return fail(database.lastError().text());
    return true;
}

// A damaged file fails here, on its first read.
bool JournalDatabase::checkReadable()
{
    QSqlQuery query(connection());
    if (!query.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) || !query.next())
        return fail(tr("It is damaged or not a database: %1").arg(query.lastError().text()));
    return true;
}

// Write-ahead logging lets readers go on while a session is written, and a
// commit costs an append to the log. Its pages reach the disk at checkpoints.
bool JournalDatabase::setUpConnection()
{
    QSqlQuery query(connection());
    for (const QString &statement : {QStringLiteral("PRAGMA foreign_keys = ON"),
                                     QStringLiteral("PRAGMA synchronous = NORMAL")}) {
        if (!query.exec(statement))
            return fail(query.lastError().text());
    }
    if (!query.exec(QStringLiteral("PRAGMA journal_mode = WAL")) || !query.next())
        return fail(query.lastError().text());
    return true;
}

bool JournalDatabase::fail(const QString &reason)
{
    m_error = reason;
    m_open = false;
    return false;
}
