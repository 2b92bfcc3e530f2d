// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "cli/replayfeeder.h"

#include <QDir>

ReplayFeeder::ReplayFeeder(const QString &path, QObject *parent)
    : QObject(parent)
    , m_file(path)
{
    m_pass.setInterval(0);
    connect(&m_pass, &QTimer::timeout, this, &ReplayFeeder::feedNext);
}

bool ReplayFeeder::open()
{
    if (m_file.open(QIODevice::ReadOnly))
        return true;
    m_error = tr("Cannot read %1: %2").arg(QDir::toNativeSeparators(m_file.fileName()), m_file.errorString());
    return false;
}

void ReplayFeeder::start()
{
    m_pass.start();
}

void ReplayFeeder::stop()
{
    m_pass.stop();
}

void ReplayFeeder::feedNext()
{
    const QByteArray chunk = m_file.read(chunkSize);
    if (chunk.isEmpty()) {
        m_pass.stop();
        if (m_file.error() == QFileDevice::NoError) {
            emit finished();
        } else {
            m_error = tr("Cannot read %1: %2")
                          .arg(QDir::toNativeSeparators(m_file.fileName()), m_file.errorString());
            emit failed(m_error);
        }
        return;
    }
    emit chunkRead(chunk);
}
