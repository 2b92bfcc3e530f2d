// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "window/reportactions.h"

#include "export/testscsvexport.h"
#include "report/reportsettings.h"
#include "report/reportsource.h"
#include "report/reportwriter.h"

#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>
#include <QWidget>

ReportActions::ReportActions(QSqlDatabase journal, QWidget &parent)
    : m_journal(journal)
    , m_parent(parent)
{
}

void ReportActions::reportTest(qint64 testId)
{
    if (!m_journal.isOpen())
        return;
    ReportSource source(m_journal);
    const std::optional<ReportContent> content = source.forTest(testId);
    if (!content) {
        QMessageBox::warning(&m_parent, QString(), source.errorString(), QMessageBox::Ok);
        return;
    }
    const QString tag = content->tests.value(0).details.equipment;
    const QString day = QDateTime::fromMSecsSinceEpoch(content->tests.value(0).test.startedMs).toString(QStringLiteral("yyyy-MM-dd"));
    writeReport(*content, tag.isEmpty() ? tr("test %1 %2").arg(testId).arg(day) : QStringLiteral("%1 %2").arg(tag, day));
}

void ReportActions::reportItem(const QString &tag, const QDate &from, const QDate &to)
{
    if (!m_journal.isOpen())
        return;
    ReportSource source(m_journal);
    const std::optional<ReportContent> content = source.forItem(tag, from, to);
    if (!content) {
        QMessageBox::warning(&m_parent, QString(), source.errorString(), QMessageBox::Ok);
        return;
    }
    writeReport(*content, tag);
}

void ReportActions::writeReport(const ReportContent &content, const QString &suggestedName)
{
    const QString fileName = QFileDialog::getSaveFileName(&m_parent, tr("Save the report as"),
                                                          suggestedName + QStringLiteral(".pdf"), tr("PDF (*.pdf)"));
    if (fileName.isEmpty())
        return;
    ReportWriter writer(content, ReportSettings::load());
    if (!writer.write(fileName)) {
        QMessageBox box(QMessageBox::Warning, QString(), tr("The report could not be written."), QMessageBox::Ok,
                        &m_parent);
        box.setInformativeText(writer.errorString());
        box.exec();
        return;
    }
    offerToOpen(fileName);
}

void ReportActions::exportRegister()
{
    if (!m_journal.isOpen())
        return;
    const QString fileName = QFileDialog::getSaveFileName(&m_parent, tr("Export the register and its tests as"),
                                                          tr("register.csv"), QStringLiteral("CSV(*.csv)"));
    if (fileName.isEmpty())
        return;
    TestsCsvExport csv(m_journal);
    if (!csv.write(fileName)) {
        QMessageBox box(QMessageBox::Warning, QString(), tr("The register could not be exported."), QMessageBox::Ok,
                        &m_parent);
        box.setInformativeText(csv.errorString());
        box.exec();
        return;
    }
    offerToOpen(fileName);
}

void ReportActions::offerToOpen(const QString &fileName)
{
    if (QMessageBox::question(&m_parent, QString(),
                              tr("%1 is written.\nDo you want to open it?").arg(QDir::toNativeSeparators(fileName)),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        == QMessageBox::Yes)
        QDesktopServices::openUrl(QUrl::fromLocalFile(fileName));
}
