// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "window/templatewindow.h"

#include "export/chartimage.h"
#include "meter/mydmm.h"
#include "models/datamodel.h"
#include "ui_templatewindow.h"
#include "util/savefilename.h"
#include "util/utils.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

namespace {
const int pauseBeforeExportMs = 500;
const int eventBudgetMs = 10;
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
    const QString filter = QStringLiteral("CSV(*.csv)");
    const QString fileName = SaveFileName::withSuffix(QFileDialog::getSaveFileName(this, tr("Save As"), QString(), filter),
                                                      filter, QStringLiteral("csv"));
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
    const QString filter = QStringLiteral("File(*.jpg *.png *.bmp *.pdf)");
    const QString fileName = SaveFileName::withSuffix(QFileDialog::getSaveFileName(this, tr("Save As"), QString(), filter),
                                                      filter, QStringLiteral("png"));
    if (fileName.isEmpty())
        return;
    QString reason;
    if (ChartImage::save(*m_plots.first(), fileName, reason))
        offerToOpen(fileName, tr("The chart is exported successfully.\r\nDo you want to open this file?"));
    else
        reportFailure(tr("The chart is exported failed."), reason);
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
