// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "cli/terminationsignals.h"

#include <QSocketNotifier>

#include <atomic>
#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

namespace {
std::atomic<int> pipeWriteFd{-1};

extern "C" void onTerminationSignal(int signalNumber)
{
    const int savedErrno = errno;
    const int fd = pipeWriteFd.load();
    if (fd >= 0) {
        const unsigned char byte = static_cast<unsigned char>(signalNumber);
        [[maybe_unused]] const ssize_t written = ::write(fd, &byte, 1);
    }
    errno = savedErrno;
}

bool installHandler(int signalNumber, struct sigaction &previous)
{
    struct sigaction action = {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return sigaction(signalNumber, &action, &previous) == 0;
}
} // namespace

TerminationSignals::TerminationSignals(QObject *parent)
    : QObject(parent)
{
    int fds[2] = {-1, -1};
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_readFd = fds[0];
    m_writeFd = fds[1];
    pipeWriteFd.store(m_writeFd);
    m_notifier = std::make_unique<QSocketNotifier>(m_readFd, QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &TerminationSignals::readPipe);
    m_intInstalled = installHandler(SIGINT, m_previousInt);
    m_termInstalled = installHandler(SIGTERM, m_previousTerm);
    m_active = m_intInstalled && m_termInstalled;
}

TerminationSignals::~TerminationSignals()
{
    restoreHandlers();
    pipeWriteFd.store(-1);
    m_notifier.reset();
    if (m_readFd >= 0)
        ::close(m_readFd);
    if (m_writeFd >= 0)
        ::close(m_writeFd);
}

void TerminationSignals::readPipe()
{
    unsigned char byte = 0;
    while (::read(m_readFd, &byte, 1) == 1)
        emit received(byte);
}

void TerminationSignals::restoreHandlers()
{
    if (m_intInstalled)
        sigaction(SIGINT, &m_previousInt, nullptr);
    if (m_termInstalled)
        sigaction(SIGTERM, &m_previousTerm, nullptr);
}
