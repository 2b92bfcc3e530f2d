// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

// Keeps watch, from a thread of its own, over the socket of the connection
// a sync waits on. The kernel answers for a server that is stopped or hung,
// so neither TCP nor libpq notices it; here a server that has sent nothing
// for too long since the program's last request, or a stop asked for from
// another thread (the window closing), shuts the socket down, and the
// statement waiting on it fails at once. The socket itself stays the
// connection's to close.
class ServerWatch
{
public:
    ServerWatch() = default;
    ~ServerWatch();

    ServerWatch(const ServerWatch &) = delete;
    ServerWatch &operator=(const ServerWatch &) = delete;

    // `silenceMs` 0: only a stop cuts it.
    void watch(int socket, int silenceMs);
    // Before the connection closes its socket.
    void unwatch();
    // From any thread: cuts the socket watched now and any watched later,
    // until reset().
    void cut();
    void reset();

    // The server was cut off for its silence.
    bool wasSilent() const;

    // How often the socket is looked at.
    static constexpr int lookEveryMs = 250;

private:
    void run();
    bool serverSilent() const;
    void shutDown();

    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::thread m_thread;
    int m_socket = -1;
    int m_silenceMs = 0;
    bool m_cut = false;
    bool m_silent = false;
    bool m_ending = false;
};
