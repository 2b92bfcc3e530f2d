// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "util/imagefile.h"

#include <QDir>
#include <QFile>
#include <QImageReader>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QImage refuse(QString *error, const QString &reason)
{
    if (error)
        *error = reason;
    return QImage();
}

QString megabytes(qint64 bytes)
{
    return QString::number(double(bytes) / (1024.0 * 1024.0), 'f', 1);
}
} // namespace

// Opened without blocking and checked on the open file itself, so that a
// pipe put in the file's place after a look at its name cannot hang the read.
QImage ImageFile::read(const QString &fileName, const Limits &limits, QString *error)
{
    const int descriptor = ::open(QFile::encodeName(fileName).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        return refuse(error, tr("%1 cannot be read.").arg(QDir::toNativeSeparators(fileName)));
    QFile file;
    if (!file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        return refuse(error, tr("%1 cannot be read.").arg(QDir::toNativeSeparators(fileName)));
    }
    struct stat status = {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode))
        return refuse(error, tr("%1 is no regular file.").arg(QDir::toNativeSeparators(fileName)));
    if (status.st_size > limits.maxBytes)
        return refuse(error, tr("%1 is larger than %2 MB.")
                                 .arg(QDir::toNativeSeparators(fileName), megabytes(limits.maxBytes)));

    QImageReader reader(&file);
    const QSize size = reader.size();
    if (!size.isValid())
        return refuse(error, tr("%1 is no picture Tessra can read.").arg(QDir::toNativeSeparators(fileName)));
    if (qint64(size.width()) * size.height() > limits.maxPixels)
        return refuse(error, tr("%1 has more than %2 million pixels.")
                                 .arg(QDir::toNativeSeparators(fileName))
                                 .arg(limits.maxPixels / 1000000));
    if (limits.fitInto.isValid() && (size.width() > limits.fitInto.width() || size.height() > limits.fitInto.height()))
        reader.setScaledSize(size.scaled(limits.fitInto, Qt::KeepAspectRatio));
    QImage image = reader.read();
    if (image.isNull())
        return refuse(error, tr("%1 is damaged: %2").arg(QDir::toNativeSeparators(fileName), reader.errorString()));
    return image;
}
