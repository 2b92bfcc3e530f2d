// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QObject>
#include <QString>
#include <QTimer>

// Reads a saved byte stream and hands it on chunk by chunk, one chunk per
// pass of the event loop, so that a long replay can still be stopped.
class ReplayFeeder : public QObject
{
    Q_OBJECT

public:
    static constexpr qint64 chunkSize = 4096;

    explicit ReplayFeeder(const QString &path, QObject *parent = nullptr);

    [[nodiscard]] bool open();
    void start();
    void stop();
    QString errorString() const { return m_error; }

signals:
    void chunkRead(const QByteArray &bytes);
    void finished();
    void failed(const QString &message);

private:
    void feedNext();

    QFile m_file;
    QTimer m_pass;
    QString m_error;
};
