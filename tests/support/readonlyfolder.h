// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// A folder that files are written into first and that then becomes
// read-only: a small read-only file system of its own where the tests run as
// root and may mount one, file and folder permissions otherwise. Writable
// again, and unmounted, when it goes.
class ReadOnlyFolder
{
public:
    explicit ReadOnlyFolder(const QString &path);
    ~ReadOnlyFolder();

    ReadOnlyFolder(const ReadOnlyFolder &) = delete;
    ReadOnlyFolder &operator=(const ReadOnlyFolder &) = delete;

    bool isValid() const { return m_valid; }
    QString filePath(const QString &name) const;

    // False when neither way is open to this process.
    bool makeReadOnly();

private:
    void setPermissions(bool writable) const;

    QString m_path;
    bool m_valid = false;
    bool m_mounted = false;
    bool m_protected = false;
};
