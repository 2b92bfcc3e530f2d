// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A PostgreSQL server of its own for a test program or a benchmark: Debian's
// initdb and pg_ctl make a cluster in a temporary directory that listens on
// 127.0.0.1 only, on a free port. The server refuses to run as root, so as
// root the cluster belongs to, and runs as, nobody. Stopped when destroyed.
class PgServer
{
public:
    PgServer();
    ~PgServer();

    PgServer(const PgServer &) = delete;
    PgServer &operator=(const PgServer &) = delete;

    // Makes the cluster on the first call; false with errorString().
    [[nodiscard]] bool start();
    bool stop();
    bool isRunning() const { return m_running; }

    QString host() const { return QStringLiteral("127.0.0.1"); }
    int port() const { return m_port; }
    // The cluster's superuser and password.
    static QString adminUser() { return QStringLiteral("pgadmin"); }
    static QString adminPassword() { return QStringLiteral("admin-secret"); }
    QString errorString() const { return m_error; }

    // Stops every process of the server with SIGSTOP, as a hung machine
    // would: the kernel still accepts and acknowledges, nothing answers.
    bool pause();
    bool resume();

    // Runs psql as the superuser with `arguments`; false with its output.
    bool psql(const QStringList &arguments);

    // Runs statements as the superuser in `database`, each on its own.
    bool execute(const QString &database, const QStringList &statements);

    // A port nothing listens on at the moment.
    static int freePort();
    // The directory of Debian's server programs; empty when not installed.
    static QString binDir();

private:
    bool initialize();
    bool run(const QString &program, const QStringList &arguments);
    QString dataDir() const;
    bool signalAll(int signal);

    QTemporaryDir m_dir;
    int m_port = 0;
    bool m_initialized = false;
    bool m_running = false;
    QString m_error;
};
