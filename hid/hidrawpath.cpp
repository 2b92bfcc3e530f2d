// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "hid/hidrawpath.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#ifdef Q_OS_LINUX
#include <sys/sysmacros.h>
#endif

bool HidrawPath::isOpenable(const QString &path)
{
#ifdef Q_OS_LINUX
    struct stat status = {};
    // A path stat() cannot follow is one that hidapi cannot open either.
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return true;
    return S_ISCHR(status.st_mode) && isHidrawDevice(major(status.st_rdev), minor(status.st_rdev));
#else
    Q_UNUSED(path)
    return true;
#endif
}

// The device number alone says nothing: hidraw's major number is assigned
// at boot. The kernel names the subsystem behind each number in sysfs.
bool HidrawPath::isHidrawDevice(unsigned int major, unsigned int minor)
{
    const QString subsystem = QStringLiteral("/sys/dev/char/%1:%2/subsystem").arg(major).arg(minor);
    const QString resolved = QFileInfo(subsystem).canonicalFilePath();
    return !resolved.isEmpty() && QFileInfo(resolved).fileName() == QLatin1String("hidraw");
}
