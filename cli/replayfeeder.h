// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

class QSocketNotifier;

// Reads a saved byte stream and hands it on chunk by chunk without ever
// blocking the event loop, so that a replay can be stopped at any moment: a
// file is read one chunk per pass of the loop, a pipe, FIFO or terminal
// whenever it has bytes to give, until its writer closes it.
class ReplayFeeder : public QObject
{
    Q_OBJECT

public:
    static constexpr qint64 chunkSize = 4096;

    explicit ReplayFeeder(const QString &path, QObject *parent = nullptr);
    ~ReplayFeeder() override;

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
    QString describeError(int error) const;

    QString m_path;
    int m_fd = -1;
    QTimer m_pass;
    std::unique_ptr<QSocketNotifier> m_readable; // for all but regular files
    QString m_error;
};
