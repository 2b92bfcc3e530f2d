// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

class QFileDevice;

// A file written so that a failure leaves its previous content as it was:
// the bytes go to a temporary file beside it, which replaces it only once
// everything was written. Something that is no regular file (a device, a
// pipe) cannot be replaced and is written in place.
class SafeFile
{
public:
    explicit SafeFile(const QString &fileName);
    ~SafeFile();

    SafeFile(const SafeFile &) = delete;
    SafeFile &operator=(const SafeFile &) = delete;

    [[nodiscard]] bool open();
    // False unless every byte was taken; later writes and commit() then fail too.
    [[nodiscard]] bool write(const QByteArray &bytes);
    // Puts the written file in place. Without it the old one stays.
    [[nodiscard]] bool commit();
    // Why open(), write() or commit() failed.
    QString errorString() const;

private:
    bool fail(const QString &reason);

    QString m_fileName;
    std::unique_ptr<QFileDevice> m_file;
    bool m_inPlace = false;
    bool m_failed = false;
    QString m_error;
};
