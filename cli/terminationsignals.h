// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

#include <csignal>
#include <memory>

class QSocketNotifier;

// Turns SIGINT and SIGTERM into a Qt signal on the thread that created the
// object, through a pipe that the handler writes to (the only thing a signal
// handler may safely do here). While it lives, these signals no longer end
// the process; the previous handlers come back when it goes. One at a time.
class TerminationSignals : public QObject
{
    Q_OBJECT

public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

    // False when the pipe or the handlers could not be set up.
    bool isActive() const { return m_active; }

signals:
    void received(int signalNumber);

private:
    void readPipe();
    void restoreHandlers();

    int m_readFd = -1;
    int m_writeFd = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
    struct sigaction m_previousInt = {};
    struct sigaction m_previousTerm = {};
    bool m_intInstalled = false;
    bool m_termInstalled = false;
    bool m_active = false;
};
