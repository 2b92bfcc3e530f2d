// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "support/tempworkdir.h"

#include <QDir>

TempWorkDir::TempWorkDir()
    : m_previous(QDir::currentPath())
{
    if (m_dir.isValid())
        QDir::setCurrent(m_dir.path());
}

TempWorkDir::~TempWorkDir()
{
    QDir::setCurrent(m_previous);
}

bool TempWorkDir::isValid() const
{
    return m_dir.isValid() && QDir(QDir::currentPath()).canonicalPath() == QDir(m_dir.path()).canonicalPath();
}

QString TempWorkDir::path() const
{
    return m_dir.path();
}

QString TempWorkDir::filePath(const QString &name) const
{
    return m_dir.filePath(name);
}
