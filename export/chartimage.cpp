// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "export/chartimage.h"

#include "util/safefile.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QTemporaryFile>

#include <qcustomplot.h>

namespace {
const int imageDotsPerInch = 96;
} // namespace

// The suffix names the format. No image writer makes PDF, so a ".pdf" name
// gets the chart library's own vector export at the chart's size. The image
// is made in full before the file is written in one piece, so that a failure
// leaves a file that was there before as it was.
bool ChartImage::save(QCustomPlot &plot, const QString &fileName, QString &reason)
{
    const QString suffix = QFileInfo(fileName).suffix();
    QByteArray image;
    const bool drawn = suffix.compare(QLatin1String("pdf"), Qt::CaseInsensitive) == 0
        ? drawAsPdf(plot, image, reason)
        : drawAsImage(plot, suffix.toUpper().toLatin1(), image, reason);
    if (!drawn)
        return false;
    SafeFile file(fileName);
    if (file.open() && file.write(image) && file.commit())
        return true;
    reason = file.errorString();
    return false;
}

// What the chart library's raster export does, into memory.
bool ChartImage::drawAsImage(QCustomPlot &plot, const QByteArray &format, QByteArray &image, QString &reason)
{
    QImage picture = plot.toPixmap(0, 0, 1.0).toImage();
    const int dotsPerMeter = int(imageDotsPerInch / 0.0254);
    picture.setDotsPerMeterX(dotsPerMeter);
    picture.setDotsPerMeterY(dotsPerMeter);
    QBuffer buffer(&image);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (picture.isNull() || !writer.write(picture)) {
        reason = writer.errorString();
        return false;
    }
    return true;
}

// The library writes PDF only to a named file: a temporary one.
bool ChartImage::drawAsPdf(QCustomPlot &plot, QByteArray &pdf, QString &reason)
{
    QTemporaryFile drawing(QDir(QDir::tempPath()).filePath(QStringLiteral("tessra-chart-XXXXXX.pdf")));
    if (!drawing.open()) {
        reason = drawing.errorString();
        return false;
    }
    drawing.close();
    // The PDF writer reports no failed write: only a file that ends as
    // every PDF does was written whole.
    if (plot.savePdf(drawing.fileName(), 0, 0) && drawing.open()) {
        pdf = drawing.readAll();
        if (pdf.trimmed().endsWith("%%EOF"))
            return true;
    }
    reason = tr("The chart could not be drawn as PDF.");
    return false;
}
