// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "window/templatewindow.h"

#include "meter/mydmm.h"
#include "models/datamodel.h"
#include "ui_templatewindow.h"
#include "util/safefile.h"
#include "util/utils.h"

#include <QBuffer>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QImageWriter>
#include <QMessageBox>
#include <QTemporaryFile>
#include <QUrl>

#include <qcustomplot.h>

namespace {
const int pauseBeforeExportMs = 500;
const int eventBudgetMs = 10;
const int imageDotsPerInch = 96;
} // namespace

// The meter connection pauses while the user picks a file, and resumes on
// every path out, the cancelled one included. The table written is the one
// in front when the user chose Export: a download arriving while the file
// dialog is open brings another table forward.
void TemplateWindow::on_actionExport_triggered()
{
    DataModel *const chosen = modelShown();
    m_dmm->setPause(true);
    Utils::delayMs(pauseBeforeExportMs, eventBudgetMs);
    const QString fileName = QFileDialog::getSaveFileName(this, tr("Save As"), QString(),
                                                          QStringLiteral("CSV(*.csv)"));
    if (!fileName.isEmpty()) {
        QString reason;
        if (chosen && Utils::exportToCSV(chosen, fileName, &reason))
            offerToOpen(fileName, tr("The data is exported successfully.\r\nDo you want to open this file?"));
        else
            reportFailure(tr("The data is exported failed."), reason);
    }
    m_dmm->setPause(false);
}

void TemplateWindow::on_actionSaveImage_triggered()
{
    const QString fileName = QFileDialog::getSaveFileName(this, tr("Save As"), QString(),
                                                          QStringLiteral("File(*.jpg *.png *.bmp *.pdf)"));
    if (fileName.isEmpty())
        return;
    QString reason;
    if (saveChart(m_plots.first(), fileName, reason))
        offerToOpen(fileName, tr("The chart is exported successfully.\r\nDo you want to open this file?"));
    else
        reportFailure(tr("The chart is exported failed."), reason);
}

// The suffix names the format. No image writer makes PDF, so a ".pdf" name
// gets the chart library's own vector export at the chart's size. The image
// is made in full before the file is written in one piece, so that a failure
// leaves a file that was there before as it was.
bool TemplateWindow::saveChart(QCustomPlot *plot, const QString &fileName, QString &reason)
{
    const QString suffix = QFileInfo(fileName).suffix();
    QByteArray image;
    const bool drawn = suffix.compare(QLatin1String("pdf"), Qt::CaseInsensitive) == 0
        ? drawChartAsPdf(plot, image, reason)
        : drawChartAsImage(plot, suffix.toUpper().toLatin1(), image, reason);
    if (!drawn)
        return false;
    SafeFile file(fileName);
    if (file.open() && file.write(image) && file.commit())
        return true;
    reason = file.errorString();
    return false;
}

// What the chart library's raster export does, into memory.
bool TemplateWindow::drawChartAsImage(QCustomPlot *plot, const QByteArray &format, QByteArray &image,
                                      QString &reason)
{
    QImage picture = plot->toPixmap(0, 0, 1.0).toImage();
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
bool TemplateWindow::drawChartAsPdf(QCustomPlot *plot, QByteArray &pdf, QString &reason)
{
    QTemporaryFile drawing(QDir(QDir::tempPath()).filePath(QStringLiteral("tessra-chart-XXXXXX.pdf")));
    if (!drawing.open()) {
        reason = drawing.errorString();
        return false;
    }
    drawing.close();
    // The PDF writer reports no failed write: only a file that ends as
    // every PDF does was written whole.
    if (plot->savePdf(drawing.fileName(), 0, 0) && drawing.open()) {
        pdf = drawing.readAll();
        if (pdf.trimmed().endsWith("%%EOF"))
            return true;
    }
    reason = tr("The chart could not be drawn as PDF.");
    return false;
}

void TemplateWindow::reportFailure(const QString &text, const QString &reason)
{
    QMessageBox box(QMessageBox::Information, QString(), text, QMessageBox::Ok, this);
    box.setInformativeText(reason);
    box.exec();
}

// The desktop's own program opens the file; the window neither waits for it
// nor minds whether it starts.
void TemplateWindow::offerToOpen(const QString &fileName, const QString &question)
{
    const QMessageBox::StandardButton answer =
        QMessageBox::question(this, QString(), question, QMessageBox::Yes | QMessageBox::No, QMessageBox::NoButton);
    if (answer == QMessageBox::Yes)
        QDesktopServices::openUrl(QUrl::fromLocalFile(fileName));
}
