// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QtGlobal>

// Which file a path names, so that every spelling of one file compares
// equal: relative or absolute, with "./" or "..", through symbolic or hard
// links. A file that exists is known by its device and inode; one yet to be
// created by the canonical path that creating it would give it.
class FileIdentity
{
public:
    explicit FileIdentity(const QString &path);

    bool exists() const { return m_exists; }
    bool isCharacterDevice() const { return m_characterDevice; }

    bool operator==(const FileIdentity &other) const;
    bool operator!=(const FileIdentity &other) const { return !(*this == other); }

    // Where the path leads: through every symbolic link, dangling or not,
    // into the real directory the file is (or would be created) in.
    static QString resolvedPath(const QString &path);

private:

    bool m_exists = false;
    bool m_characterDevice = false;
    quint64 m_device = 0;
    quint64 m_inode = 0;
    QString m_location; // empty for an existing file
};
