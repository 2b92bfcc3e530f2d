// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QString>

// Saves the meter's raw stream bytes, flushed chunk by chunk, so that the
// file can be replayed later exactly as the meter sent it.
class StreamCapture
{
    Q_DECLARE_TR_FUNCTIONS(StreamCapture)

public:
    explicit StreamCapture(const QString &path);

    // Creates the file, replacing an older one.
    [[nodiscard]] bool open();
    [[nodiscard]] bool append(const QByteArray &bytes);
    QString errorString() const { return m_error; }

private:
    bool fail();

    QFile m_file;
    QString m_error;
};
