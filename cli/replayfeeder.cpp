// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "cli/replayfeeder.h"

#include <QDir>
#include <QFile>
#include <QSocketNotifier>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

ReplayFeeder::ReplayFeeder(const QString &path, QObject *parent)
    : QObject(parent)
    , m_path(path)
{
    m_pass.setInterval(0);
    connect(&m_pass, &QTimer::timeout, this, &ReplayFeeder::feedNext);
}

ReplayFeeder::~ReplayFeeder()
{
    m_readable.reset();
    if (m_fd >= 0)
        ::close(m_fd);
}

// Non-blocking, so that a FIFO opens at once even before its writer does;
// its reads then wait for the writer in the event loop, not in open().
bool ReplayFeeder::open()
{
    m_fd = ::open(QFile::encodeName(m_path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat status = {};
    if (m_fd < 0 || ::fstat(m_fd, &status) != 0) {
        m_error = describeError(errno);
        return false;
    }
    if (S_ISDIR(status.st_mode)) {
        m_error = describeError(EISDIR);
        return false;
    }
    if (!S_ISREG(status.st_mode)) {
        m_readable = std::make_unique<QSocketNotifier>(m_fd, QSocketNotifier::Read);
        m_readable->setEnabled(false);
        connect(m_readable.get(), &QSocketNotifier::activated, this, &ReplayFeeder::feedNext);
    }
    return true;
}

void ReplayFeeder::start()
{
    if (m_readable)
        m_readable->setEnabled(true);
    else
        m_pass.start();
}

void ReplayFeeder::stop()
{
    m_pass.stop();
    if (m_readable)
        m_readable->setEnabled(false);
}

void ReplayFeeder::feedNext()
{
    QByteArray chunk(int(chunkSize), Qt::Uninitialized);
    const ssize_t bytesRead = ::read(m_fd, chunk.data(), size_t(chunk.size()));
    if (bytesRead > 0) {
        chunk.truncate(int(bytesRead));
        emit chunkRead(chunk);
    } else if (bytesRead == 0) {
        stop();
        emit finished();
    } else if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
        m_error = describeError(errno);
        stop();
        emit failed(m_error);
    }
}

QString ReplayFeeder::describeError(int error) const
{
    return tr("Cannot read %1: %2").arg(QDir::toNativeSeparators(m_path), qt_error_string(error));
}
