// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "support/pgserver.h"

#include <QAtomicInt>
#include <QCollator>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <QProcessEnvironment>
#include <QTextStream>

#include <cerrno>
#include <csignal>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>

namespace {
constexpr uid_t nobody = 65534;

bool asRoot()
{
    return geteuid() == 0;
}
} // namespace

PgServer::PgServer()
{
    m_dir.setAutoRemove(true);
}

PgServer::~PgServer()
{
    stop();
}

QString PgServer::binDir()
{
    QDir versions(QStringLiteral("/usr/lib/postgresql"));
    QStringList found = versions.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QCollator numeric;
    numeric.setNumericMode(true);
    std::sort(found.begin(), found.end(), numeric);
    for (auto it = found.crbegin(); it != found.crend(); ++it) {
        const QString bin = versions.filePath(*it + QStringLiteral("/bin"));
        if (QFile::exists(bin + QStringLiteral("/pg_ctl")))
            return bin;
    }
    return QString();
}

int PgServer::freePort()
{
    const int socketFd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (socketFd < 0)
        return 0;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    int port = 0;
    if (::bind(socketFd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0
        && ::getsockname(socketFd, reinterpret_cast<sockaddr *>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    ::close(socketFd);
    return port;
}

QString PgServer::dataDir() const
{
    return m_dir.filePath(QStringLiteral("data"));
}

// As root, every command runs as nobody, who owns the directory.
bool PgServer::run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setWorkingDirectory(m_dir.path());
    const QString path = binDir() + QLatin1Char('/') + program;
    if (asRoot())
        process.start(QStringLiteral("setpriv"), QStringList{QStringLiteral("--reuid=65534"),
                                                             QStringLiteral("--regid=65534"),
                                                             QStringLiteral("--clear-groups"), path}
                                                     + arguments);
    else
        process.start(path, arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0) {
        m_error = QStringLiteral("%1 failed: %2").arg(program, QString::fromLocal8Bit(process.readAll()));
        return false;
    }
    return true;
}

bool PgServer::initialize()
{
    if (!m_dir.isValid() || binDir().isEmpty()) {
        m_error = QStringLiteral("PostgreSQL's server programs are not installed (Debian: postgresql)");
        return false;
    }
    if (asRoot() && ::chown(QFile::encodeName(m_dir.path()).constData(), nobody, nobody) != 0) {
        m_error = QStringLiteral("cannot give the cluster's directory to nobody");
        return false;
    }
    QFile password(m_dir.filePath(QStringLiteral("password")));
    if (!password.open(QIODevice::WriteOnly) || password.write(adminPassword().toUtf8() + '\n') < 0)
        return false;
    password.close();
    if (asRoot() && ::chown(QFile::encodeName(password.fileName()).constData(), nobody, nobody) != 0)
        return false;
    m_initialized = run(QStringLiteral("initdb"),
                        {QStringLiteral("-D"), dataDir(), QStringLiteral("-U"), adminUser(),
                         QStringLiteral("--pwfile=") + password.fileName(), QStringLiteral("--auth=scram-sha-256"),
                         QStringLiteral("-E"), QStringLiteral("UTF8"), QStringLiteral("--locale=C"),
                         QStringLiteral("--no-sync")});
    return m_initialized;
}

// No Unix socket: the tests reach the server as the program does, over TCP.
// Durability is not what the tests are about; fsync off keeps them quick.
bool PgServer::start()
{
    if (m_running)
        return true;
    if (!m_initialized && !initialize())
        return false;
    if (m_port == 0)
        m_port = freePort();
    const QString options = QStringLiteral("-c listen_addresses=127.0.0.1 -c port=%1 -c unix_socket_directories=''"
                                           " -c fsync=off -c full_page_writes=off")
                                .arg(m_port);
    m_running = run(QStringLiteral("pg_ctl"), {QStringLiteral("-D"), dataDir(), QStringLiteral("-l"),
                                               m_dir.filePath(QStringLiteral("server.log")), QStringLiteral("-w"),
                                               QStringLiteral("-t"), QStringLiteral("60"), QStringLiteral("-o"),
                                               options, QStringLiteral("start")});
    return m_running;
}

bool PgServer::stop()
{
    if (!m_running)
        return true;
    m_running = !run(QStringLiteral("pg_ctl"), {QStringLiteral("-D"), dataDir(), QStringLiteral("-m"),
                                                QStringLiteral("fast"), QStringLiteral("-w"), QStringLiteral("stop")});
    return !m_running;
}

// The postmaster (first line of its pid file) and its children.
bool PgServer::signalAll(int signal)
{
    QFile pidFile(dataDir() + QStringLiteral("/postmaster.pid"));
    if (!m_running || !pidFile.open(QIODevice::ReadOnly))
        return false;
    const QByteArray postmaster = pidFile.readLine().trimmed();
    QList<pid_t> pids = {pid_t(postmaster.toInt())};
    for (const QString &entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        // pid (name) state ppid ...: the name may hold spaces, not ')'.
        const QByteArray line = stat.readAll();
        const QList<QByteArray> rest = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (rest.size() > 1 && rest.at(1) == postmaster)
            pids << pid_t(entry.toInt());
    }
    // A backend whose connection ended may be gone by now: it needs no
    // signal.
    bool done = true;
    for (const pid_t pid : pids)
        done = (::kill(pid, signal) == 0 || errno == ESRCH) && done;
    return done;
}

bool PgServer::pause()
{
    return signalAll(SIGSTOP);
}

bool PgServer::resume()
{
    return signalAll(SIGCONT);
}

bool PgServer::psql(const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PGPASSWORD"), adminPassword());
    process.setProcessEnvironment(environment);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(binDir() + QStringLiteral("/psql"),
                  QStringList{QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-h"), host(),
                              QStringLiteral("-p"), QString::number(m_port), QStringLiteral("-U"), adminUser(),
                              QStringLiteral("-d"), QStringLiteral("postgres")}
                      + arguments);
    const bool done = process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit
                      && process.exitCode() == 0;
    if (!done)
        m_error = QStringLiteral("psql failed: %1").arg(QString::fromLocal8Bit(process.readAll()));
    return done;
}

bool PgServer::execute(const QString &database, const QStringList &statements)
{
    static QAtomicInt counter;
    const QString name = QStringLiteral("pgserver-admin-%1").arg(counter.fetchAndAddRelaxed(1));
    bool done = true;
    {
        QSqlDatabase connection = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        connection.setHostName(host());
        connection.setPort(m_port);
        connection.setDatabaseName(database);
        connection.setUserName(adminUser());
        connection.setPassword(adminPassword());
        done = connection.open();
        if (!done)
            m_error = connection.lastError().text();
        QSqlQuery query(connection);
        if (done)
            query.exec(QStringLiteral("SET client_min_messages = warning"));
        for (const QString &statement : statements) {
            if (!done)
                break;
            done = query.exec(statement);
            if (!done)
                m_error = QStringLiteral("%1: %2").arg(statement, query.lastError().text());
        }
        query.finish();
        connection.close();
    }
    QSqlDatabase::removeDatabase(name);
    return done;
}
