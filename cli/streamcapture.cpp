// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "cli/streamcapture.h"

#include <QDir>

StreamCapture::StreamCapture(const QString &path)
    : m_file(path)
{
}

bool StreamCapture::open()
{
    return m_file.open(QIODevice::WriteOnly | QIODevice::Truncate) || fail();
}

bool StreamCapture::append(const QByteArray &bytes)
{
    return (m_file.write(bytes) == bytes.size() && m_file.flush()) || fail();
}

bool StreamCapture::fail()
{
    m_error = tr("Cannot write the capture %1: %2")
                  .arg(QDir::toNativeSeparators(m_file.fileName()), m_file.errorString());
    return false;
}
