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
#include <QUrl>

#include <unistd.h>

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
// schema this program knows, holding nothing the program did not make.
bool JournalDatabase::open()
{
    if (m_open)
        return true;
    const QFileInfo info(m_fileName);
    if (info.exists() && !info.isFile())
        return fail(tr("It is no file."));
    if (info.exists() && !looksLikeDatabase(m_fileName))
        return fail(info.isReadable() ? tr("It is not a database.") : tr("It cannot be read."));
    m_readOnly = info.exists() && !canWriteBeside(info);
    if (!openConnection() || !checkReadable() || !checkOnlyOurs())
        return false;
    const SchemaRunner::Result schema =
        m_readOnly ? JournalSchema::inspect(connection()) : JournalSchema::upgrade(connection());
    m_schema = schema.outcome;
    if (!schema.isUsable())
        return fail(JournalSchema::message(schema));
    if (!setUpConnection())
        return false;
    m_open = true;
    return true;
}

// A journal in write-ahead mode is written with two files beside it, so the
// folder must take new files too.
bool JournalDatabase::canWriteBeside(const QFileInfo &file)
{
    return ::access(QFile::encodeName(file.absoluteFilePath()).constData(), W_OK) == 0
           && ::access(QFile::encodeName(file.absolutePath()).constData(), W_OK) == 0;
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
    // Opening waits as long as another program may take to bring the file
    // up to date; setUpConnection() then shortens the wait for writing.
    QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(upgradeWaitMs);
    if (m_readOnly) {
        database.setDatabaseName(readOnlyUri());
        options += QStringLiteral(";QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI");
    } else {
        database.setDatabaseName(m_fileName);
    }
    database.setConnectOptions(options);
    if (!database.open())
        return fail(database.lastError().text());
    return true;
}

// A journal that cannot be written, on a read-only medium say, has no
// shared-memory file beside it and cannot get one: without its write-ahead
// log it is read as it stands ("immutable"); with one, SQLite reads the log.
QString JournalDatabase::readOnlyUri() const
{
    const QString path = QFileInfo(m_fileName).absoluteFilePath();
    const bool hasLog = QFileInfo::exists(path + QStringLiteral("-wal"));
    return QStringLiteral("file:%1?%2")
        .arg(QString::fromLatin1(QUrl::toPercentEncoding(path, "/")),
             hasLog ? QStringLiteral("mode=ro") : QStringLiteral("immutable=1"));
}

bool JournalDatabase::checkOnlyOurs()
{
    const QStringList foreign = JournalSchema::foreignObjects(connection(), JournalSchema::storedVersion(connection()));
    if (foreign.isEmpty())
        return true;
    return fail(tr("It holds what Tessra did not make (%1); it was left as it is.").arg(foreign.join(QStringLiteral(", "))));
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
// A read-only journal says so to every statement ("query_only"), so that
// code that would write finds out before it tries. The long wait of opening
// lasts until the log is set up, which waits for another program's upgrade.
bool JournalDatabase::setUpConnection()
{
    QSqlQuery query(connection());
    QStringList statements{QStringLiteral("PRAGMA foreign_keys = ON"), QStringLiteral("PRAGMA synchronous = NORMAL")};
    if (m_readOnly)
        statements.append(QStringLiteral("PRAGMA query_only = ON"));
    for (const QString &statement : qAsConst(statements)) {
        if (!query.exec(statement))
            return fail(query.lastError().text());
    }
    if (!m_readOnly && (!query.exec(QStringLiteral("PRAGMA journal_mode = WAL")) || !query.next()))
        return fail(query.lastError().text());
    if (!query.exec(QStringLiteral("PRAGMA busy_timeout = %1").arg(writeWaitMs)))
        return fail(query.lastError().text());
    return true;
}

QString JournalDatabase::readOnlyText()
{
    return tr("It can only be read: the file, or the folder it is in, cannot be written.");
}

bool JournalDatabase::isReadOnly(const QSqlDatabase &connection)
{
    QSqlQuery query(connection);
    return query.exec(QStringLiteral("PRAGMA query_only")) && query.next() && query.value(0).toInt() != 0;
}

bool JournalDatabase::fail(const QString &reason)
{
    m_error = reason;
    m_open = false;
    return false;
}
