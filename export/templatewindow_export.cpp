// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "window/templatewindow.h"

#include "meter/mydmm.h"
#include "models/datamodel.h"
#include "ui_templatewindow.h"
#include "util/utils.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

#include <qcustomplot.h>

namespace {
const int pauseBeforeExportMs = 500;
const int eventBudgetMs = 10;
const int imageDotsPerInch = 96;
} // namespace

// The meter connection pauses while the user picks a file, and resumes on
// every path out, the cancelled one included.
void TemplateWindow::on_actionExport_triggered()
{
    m_dmm->setPause(true);
    Utils::delayMs(pauseBeforeExportMs, eventBudgetMs);
    const QString fileName = QFileDialog::getSaveFileName(this, tr("Save As"), QString(),
                                                          QStringLiteral("CSV(*.csv)"));
    if (!fileName.isEmpty()) {
        DataModel *model = modelShown();
        if (model && Utils::exportToCSV(model, fileName))
            offerToOpen(fileName, tr("The data is exported successfully.\r\nDo you want to open this file?"));
        else
            QMessageBox::information(this, QString(), tr("The data is exported failed."), QMessageBox::Ok);
    }
    m_dmm->setPause(false);
}

void TemplateWindow::on_actionSaveImage_triggered()
{
    const QString fileName = QFileDialog::getSaveFileName(this, tr("Save As"), QString(),
                                                          QStringLiteral("File(*.jpg *.png *.bmp *.pdf)"));
    if (fileName.isEmpty())
        return;
    if (saveChart(m_plots.first(), fileName))
        offerToOpen(fileName, tr("The chart is exported successfully.\r\nDo you want to open this file?"));
    else
        QMessageBox::information(this, QString(), tr("The chart is exported failed."), QMessageBox::Ok);
}

// The suffix names the format. No image writer makes PDF, so a ".pdf" name
// gets the chart library's own vector export at the chart's size.
bool TemplateWindow::saveChart(QCustomPlot *plot, const QString &fileName)
{
    const QString suffix = QFileInfo(fileName).suffix();
    if (suffix.compare(QLatin1String("pdf"), Qt::CaseInsensitive) == 0)
        return plot->savePdf(fileName, 0, 0);
    return plot->saveRastered(fileName, 0, 0, 1.0, suffix.toUpper().toLatin1().constData(), -1,
                              imageDotsPerInch, QCP::ruDotsPerInch);
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
