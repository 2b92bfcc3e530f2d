// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "cli/fileidentity.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace {
// As many links as the kernel follows before it gives up (ELOOP).
constexpr int maxLinkHops = 40;
} // namespace

FileIdentity::FileIdentity(const QString &path)
{
    struct stat status = {};
    if (::stat(QFile::encodeName(path).constData(), &status) == 0) {
        m_exists = true;
        m_characterDevice = S_ISCHR(status.st_mode);
        m_device = quint64(status.st_dev);
        m_inode = quint64(status.st_ino);
        return;
    }
    m_location = resolvedPath(path);
}

bool FileIdentity::operator==(const FileIdentity &other) const
{
    if (m_exists != other.m_exists)
        return false;
    if (m_exists)
        return m_device == other.m_device && m_inode == other.m_inode;
    return !m_location.isEmpty() && m_location == other.m_location;
}

// Opening a dangling symbolic link for writing creates its target; the rest
// is the real directory the file would go into, and its name.
QString FileIdentity::resolvedPath(const QString &path)
{
    QFileInfo info(path);
    for (int hops = 0; info.isSymLink() && hops < maxLinkHops; ++hops)
        info.setFile(info.symLinkTarget());
    const QString directory = QFileInfo(info.absolutePath()).canonicalFilePath();
    if (directory.isEmpty())
        return QDir::cleanPath(info.absoluteFilePath());
    return QDir(directory).filePath(info.fileName());
}
