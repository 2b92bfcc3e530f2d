// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QCoreApplication>
#include <QImage>
#include <QSize>
#include <QString>

// A picture read from a file the user named, with bounds that a hostile or
// mistaken file cannot get past: only a regular file (never a pipe, which
// would hang the read, nor a device), no larger than a byte limit, whose
// header is read first and whose pixels are decoded only below a pixel
// limit. Qt's own image readers do the decoding.
class ImageFile
{
    Q_DECLARE_TR_FUNCTIONS(ImageFile)

public:
    struct Limits
    {
        qint64 maxBytes = 20 * 1024 * 1024;
        // A 20 000 × 20 000 picture would take 1.6 GB decoded.
        qint64 maxPixels = 50 * 1000 * 1000;
        // When valid, the picture comes back no larger than this, scaled as
        // it is decoded where the format allows it.
        QSize fitInto;
    };

    ImageFile() = delete;

    // A null image, and `error` says why, when the file is refused or damaged.
    static QImage read(const QString &fileName, const Limits &limits, QString *error = nullptr);
};
