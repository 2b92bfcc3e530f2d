// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "support/readonlyfolder.h"

#include <QDir>
#include <QFile>

#include <sys/mount.h>
#include <unistd.h>

ReadOnlyFolder::ReadOnlyFolder(const QString &path)
    : m_path(QDir(path).absolutePath())
{
    m_valid = QDir().mkpath(m_path);
    // Root ignores permissions: only a file system mounted read-only stops it.
    if (m_valid && ::geteuid() == 0)
        m_mounted = ::mount("tmpfs", QFile::encodeName(m_path).constData(), "tmpfs", 0, "size=16m") == 0;
}

ReadOnlyFolder::~ReadOnlyFolder()
{
    if (m_mounted)
        ::umount2(QFile::encodeName(m_path).constData(), MNT_DETACH);
    if (m_protected)
        setPermissions(true);
}

QString ReadOnlyFolder::filePath(const QString &name) const
{
    return QDir(m_path).filePath(name);
}

bool ReadOnlyFolder::makeReadOnly()
{
    if (m_mounted)
        return ::mount(nullptr, QFile::encodeName(m_path).constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    if (::geteuid() == 0)
        return false;
    setPermissions(false);
    m_protected = true;
    return true;
}

void ReadOnlyFolder::setPermissions(bool writable) const
{
    const QFile::Permissions read = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
    const QFile::Permissions write = writable ? QFile::WriteOwner : QFile::Permissions();
    const QDir folder(m_path);
    for (const QString &name : folder.entryList(QDir::Files))
        QFile::setPermissions(folder.filePath(name), read | write);
    QFile::setPermissions(m_path, read | write | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther);
}
