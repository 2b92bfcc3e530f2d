// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "util/safefile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

SafeFile::SafeFile(const QString &fileName)
    : m_fileName(fileName)
{
}

// A file never committed is dropped: its temporary goes, the old file stays.
SafeFile::~SafeFile() = default;

// Renaming a temporary over a device node would put a plain file in its
// place, so only regular files (or new ones) are replaced.
bool SafeFile::open()
{
    const QFileInfo info(m_fileName);
    if (info.isDir())
        return fail(QCoreApplication::translate("SafeFile", "It is a directory."));
    m_inPlace = info.exists() && !info.isFile();
    if (m_inPlace) {
        m_file = std::make_unique<QFile>(m_fileName);
    } else {
        auto saveFile = std::make_unique<QSaveFile>(m_fileName);
        // A file that may be written in a directory that may not: write it
        // in place, as there is no other way.
        saveFile->setDirectWriteFallback(true);
        m_file = std::move(saveFile);
    }
    if (!m_file->open(QIODevice::WriteOnly))
        return fail(m_file->errorString());
    return true;
}

// A short write is as much a failure as a refused one: the disk filled up.
bool SafeFile::write(const QByteArray &bytes)
{
    if (!m_file || m_failed)
        return false;
    if (m_file->write(bytes) != bytes.size())
        return fail(m_file->errorString());
    return true;
}

bool SafeFile::commit()
{
    if (!m_file || m_failed)
        return false;
    if (m_inPlace) {
        if (!m_file->flush())
            return fail(m_file->errorString());
        m_file->close();
        return m_file->error() == QFileDevice::NoError || fail(m_file->errorString());
    }
    auto *saveFile = static_cast<QSaveFile *>(m_file.get());
    return saveFile->commit() || fail(saveFile->errorString());
}

QString SafeFile::errorString() const
{
    return m_error;
}

bool SafeFile::fail(const QString &reason)
{
    m_failed = true;
    m_error = reason;
    if (auto *saveFile = qobject_cast<QSaveFile *>(m_file.get()))
        saveFile->cancelWriting();
    return false;
}
