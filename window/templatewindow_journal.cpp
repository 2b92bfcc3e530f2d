// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "window/templatewindow.h"

#include "journal/journalwriter.h"
#include "journal/sessionrecorder.h"
#include "meter/mydmm.h"
#include "ui_templatewindow.h"
#include "window/dlghistory.h"
#include "window/equipmentwindow.h"
#include "window/sessionjobs.h"
#include "window/testswindow.h"
#include "window/windowsync.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QTimer>

namespace {
const QString journalFileName = QStringLiteral("tessra.sqlite");
} // namespace

// Every reading the window records goes into the journal as it is recorded;
// without a journal the window works on, and says so once it is up.
void TemplateWindow::initJournal()
{
    m_journal = new SessionRecorder(journalFileName, this);
    connect(m_dmm, &MyDMM::frameDecoded, m_journal, &SessionRecorder::takeFrame);
    connect(this, &TemplateWindow::liveRecorded, m_journal, &SessionRecorder::recordLive);
    connect(this, &TemplateWindow::storedRecorded, m_journal, &SessionRecorder::recordStored);
    connect(this, &TemplateWindow::meterChosen, m_journal, &SessionRecorder::chooseMeter);
    connect(m_dmm, &MyDMM::opened, m_journal, &SessionRecorder::meterOpened);
    connect(m_dmm, &MyDMM::closed, m_journal, &SessionRecorder::meterClosed);
    connect(m_journal, &SessionRecorder::failed, this, &TemplateWindow::showJournalFailure);
    connect(m_journal, &SessionRecorder::sessionEnded, this, &TemplateWindow::requestSync);
    connect(m_journal, &SessionRecorder::testRunning, this, &TemplateWindow::showPrediction);
    connect(m_journal, &SessionRecorder::testKept, this, &TemplateWindow::clearPrediction);
    initDownloadCount();
    if (m_journal->isOpen()) {
        m_sync = new WindowSync(journalFileName, *this, this);
        connect(m_sync, &WindowSync::synced, this, &TemplateWindow::followSync);
    } else {
        const QString reason = m_journal->errorString();
        QTimer::singleShot(0, this, [this, reason] { showJournalFailure(reason); });
    }
    QTimer::singleShot(0, this, &TemplateWindow::offerRestore);
}

void TemplateWindow::initDownloadCount()
{
    m_downloadCount = new QLabel(ui->tvStored->parentWidget());
    m_downloadCount->setObjectName(QStringLiteral("lblDownloadCount"));
    m_downloadCount->hide();
    if (auto *grid = qobject_cast<QGridLayout *>(ui->tvStored->parentWidget()->layout()))
        grid->addWidget(m_downloadCount, grid->rowCount(), 0);
    connect(m_journal, &SessionRecorder::downloadCounted, this, &TemplateWindow::showDownloadCount);
}

// "12 records, 3 new": a download adds only what the journal lacks.
void TemplateWindow::showDownloadCount(int records, int fresh)
{
    m_downloadCount->setText(records == 1 ? tr("Memory download: 1 record, %1 new").arg(fresh)
                                          : tr("Memory download: %1 records, %2 new").arg(records).arg(fresh));
    m_downloadCount->show();
}

SessionRecorder *TemplateWindow::journal() const
{
    return m_journal;
}

WindowSync *TemplateWindow::sync() const
{
    return m_sync;
}

void TemplateWindow::showJournalFailure(const QString &reason)
{
    if (m_journalFailureShown)
        return;
    m_journalFailureShown = true;
    auto *box = new QMessageBox(QMessageBox::Warning, QString(),
                                tr("Readings cannot be kept in the journal %1.\nThey are still shown and can be "
                                   "exported, but they will be lost when Tessra ends.")
                                    .arg(QDir::toNativeSeparators(QFileInfo(journalFileName).absoluteFilePath())),
                                QMessageBox::Ok, this);
    box->setInformativeText(reason);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

// Offers the readings of the last session when it did not end cleanly.
void TemplateWindow::offerRestore()
{
    const std::optional<JournalSession> last = m_journal->sessionCutShort();
    if (!last)
        return;
    const QString started = QLocale::system().toString(QDateTime::fromMSecsSinceEpoch(last->startedMs),
                                                       QLocale::LongFormat);
    const QMessageBox::StandardButton answer = QMessageBox::question(
        this, QString(),
        tr("Tessra did not end cleanly while recording the session started %1 (%n readings).\n"
           "Do you want to bring its readings back into the tables?",
           nullptr, last->total())
            .arg(started),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    QString error;
    if (answer == QMessageBox::Yes)
        SessionJobs::open(journalFileName, last->id, *this, SessionJobs::progressWindow(*this), error);
}

void TemplateWindow::on_actionHistory_triggered()
{
    if (!m_journal->isOpen()) {
        QMessageBox::information(this, QString(), tr("There is no journal of past sessions."), QMessageBox::Ok);
        return;
    }
    DlgHistory dialog(*m_journal, *this, this);
    dialog.exec();
}

// The insulation tests the meter ran, and the register of what they were
// run on, each in a window of its own; what is edited there goes to the
// team server.
void TemplateWindow::showTests()
{
    if (!m_testsWindow) {
        m_testsWindow = new TestsWindow(*m_journal, this);
        connect(m_testsWindow, &TestsWindow::edited, this, &TemplateWindow::requestSync);
    }
    m_testsWindow->show();
    m_testsWindow->raise();
    m_testsWindow->activateWindow();
}

void TemplateWindow::showEquipment()
{
    if (!m_equipmentWindow) {
        m_equipmentWindow = new EquipmentWindow(*m_journal, this);
        connect(m_equipmentWindow, &EquipmentWindow::edited, this, &TemplateWindow::requestSync);
    }
    m_equipmentWindow->show();
    m_equipmentWindow->raise();
    m_equipmentWindow->activateWindow();
}

// What colleagues sent shows in the open lists at once.
void TemplateWindow::followSync(const SyncReport &report)
{
    if (report.sessionsDown + report.testsDown + report.itemsDown + report.detailsDown + report.conflicts == 0)
        return;
    if (m_testsWindow)
        m_testsWindow->refresh();
    if (m_equipmentWindow)
        m_equipmentWindow->refresh();
}

void TemplateWindow::requestSync()
{
    if (m_sync)
        m_sync->requestSync();
}
