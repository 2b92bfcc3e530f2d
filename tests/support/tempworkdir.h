// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QTemporaryDir>

// Makes a fresh temporary directory the working directory for its lifetime,
// so tests that touch "options.ini", exports or translations stay apart.
class TempWorkDir
{
public:
    TempWorkDir();
    ~TempWorkDir();

    TempWorkDir(const TempWorkDir &) = delete;
    TempWorkDir &operator=(const TempWorkDir &) = delete;

    bool isValid() const;
    QString path() const;
    // Absolute path of a file inside the directory.
    QString filePath(const QString &name) const;

private:
    QString m_previous;
    QTemporaryDir m_dir;
};
