// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "sync/serverwatch.h"

#include <QDebug>

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <chrono>

ServerWatch::~ServerWatch()
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_ending = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void ServerWatch::watch(int socket, int silenceMs)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_socket = socket;
    m_silenceMs = silenceMs;
    m_silent = false;
    if (m_cut)
        shutDown();
    if (!m_thread.joinable())
        m_thread = std::thread([this] { run(); });
}

void ServerWatch::unwatch()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_socket = -1;
}

void ServerWatch::cut()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_cut = true;
    shutDown();
}

void ServerWatch::reset()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_cut = false;
    m_silent = false;
}

bool ServerWatch::wasSilent() const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_silent;
}

void ServerWatch::run()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_ending) {
        m_wake.wait_for(lock, std::chrono::milliseconds(lookEveryMs));
        if (m_socket >= 0 && m_silenceMs > 0 && serverSilent()) {
            qDebug() << "[sync] the server answered nothing for" << m_silenceMs << "ms";
            m_silent = true;
            shutDown();
        }
    }
}

// Waiting is having sent since the last data came; silent, when that was
// longer ago than allowed. Called with the mutex held.
bool ServerWatch::serverSilent() const
{
    tcp_info info{};
    socklen_t length = sizeof info;
    if (::getsockopt(m_socket, IPPROTO_TCP, TCP_INFO, &info, &length) != 0)
        return false;
    const bool waiting = info.tcpi_last_data_sent < info.tcpi_last_data_recv;
    return waiting && info.tcpi_last_data_sent > unsigned(m_silenceMs);
}

// Called with the mutex held; the socket is the connection's until unwatch().
void ServerWatch::shutDown()
{
    if (m_socket >= 0)
        ::shutdown(m_socket, SHUT_RDWR);
}
