// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "window/dlghistory.h"

#include "export/sessioncsvexport.h"
#include "ui_dlghistory.h"
#include "window/jobprogress.h"
#include "journal/sessionrecorder.h"
#include "journal/teststore.h"
#include "window/sessionjobs.h"

#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QLocale>
#include <QMessageBox>
#include <QStringList>

namespace {
enum Column { ColStarted, ColDuration, ColMeter, ColLive, ColStored, ColModes, ColEnd };

QString durationText(const JournalSession &session)
{
    if (!session.hasEnded())
        return DlgHistory::tr("running");
    const qint64 seconds = std::max<qint64>(0, (session.endedMs - session.startedMs) / 1000);
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString meterText(const JournalSession &session)
{
    QStringList parts;
    if (!session.product.isEmpty())
        parts << session.product;
    if (!session.serialNumber.isEmpty())
        parts << session.serialNumber;
    if (parts.isEmpty() && !session.meterPath.isEmpty())
        parts << session.meterPath;
    return parts.join(QLatin1Char(' '));
}

// "IR 12, PI 3": live and stored together, in the order of the modes.
QString modesText(const JournalSession &session)
{
    QStringList parts;
    for (int mode = 0; mode < DMMData::modeCount; ++mode) {
        const int count = session.counts.value({JournalReading::Live, mode})
            + session.counts.value({JournalReading::Stored, mode});
        if (count > 0)
            parts << QStringLiteral("%1 %2").arg(DMMData::modeName(mode)).arg(count);
    }
    return parts.join(QStringLiteral(", "));
}
} // namespace

DlgHistory::DlgHistory(SessionRecorder &recorder, TemplateWindow &window, QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::DlgHistory)
    , m_recorder(recorder)
    , m_window(window)
{
    ui->setupUi(this);
    ui->progress->hide();
    ui->btnCancel->hide();
    const QDate today = QDate::currentDate();
    ui->dateFrom->setDate(today.addMonths(-1));
    ui->dateTo->setDate(today);
    on_cbAllDates_toggled(ui->cbAllDates->isChecked());
    connect(ui->dateFrom, &QDateEdit::dateChanged, this, &DlgHistory::showSessions);
    connect(ui->dateTo, &QDateEdit::dateChanged, this, &DlgHistory::showSessions);
    connect(ui->twSessions, &QTreeWidget::itemSelectionChanged, this, &DlgHistory::updateButtons);
    connect(ui->twSessions, &QTreeWidget::itemDoubleClicked, this, &DlgHistory::on_btnOpen_clicked);
    showSessions();
}

DlgHistory::~DlgHistory()
{
    delete ui;
}

QStringList DlgHistory::rowTexts(const JournalSession &session)
{
    return {QLocale::system().toString(QDateTime::fromMSecsSinceEpoch(session.startedMs), QLocale::ShortFormat),
            durationText(session),
            meterText(session),
            QString::number(session.count(JournalReading::Live)),
            QString::number(session.count(JournalReading::Stored)),
            modesText(session),
            session.cleanEnd ? tr("closed") : (session.hasEnded() ? tr("cut short") : QString())};
}

void DlgHistory::on_cbAllDates_toggled(bool checked)
{
    ui->dateFrom->setEnabled(!checked);
    ui->dateTo->setEnabled(!checked);
    showSessions();
}

void DlgHistory::showSessions()
{
    const bool allDates = ui->cbAllDates->isChecked();
    m_sessions = m_recorder.sessions(allDates ? QDate() : ui->dateFrom->date(), allDates ? QDate() : ui->dateTo->date());
    ui->twSessions->clear();
    for (const JournalSession &session : qAsConst(m_sessions)) {
        auto *item = new QTreeWidgetItem(ui->twSessions, rowTexts(session));
        for (const int column : {ColLive, ColStored})
            item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
    }
    for (int column = 0; column < ui->twSessions->columnCount(); ++column)
        ui->twSessions->resizeColumnToContents(column);
    if (ui->twSessions->topLevelItemCount() > 0)
        ui->twSessions->setCurrentItem(ui->twSessions->topLevelItem(0));
    updateButtons();
}

// While a session is recorded, an old one opened into the tables would mix
// with its readings, and the recorded one cannot go: neither is offered.
void DlgHistory::updateButtons()
{
    const JournalSession *session = selected();
    const bool recording = m_recorder.sessionId() >= 0;
    const bool isRecorded = session && session->id == m_recorder.sessionId();
    ui->btnOpen->setEnabled(session && !recording);
    ui->btnOpen->setToolTip(recording ? tr("A session is being recorded: its readings and the opened session's would "
                                           "mix in the tables. Stop the meter to open a session.")
                                      : QString());
    ui->btnExport->setEnabled(session);
    ui->btnDelete->setEnabled(session && !isRecorded);
    ui->btnDelete->setToolTip(isRecorded ? tr("This session is being recorded. Stop the meter to delete it.")
                                         : QString());
}

const JournalSession *DlgHistory::selected() const
{
    QTreeWidgetItem *item = ui->twSessions->currentItem();
    const int row = item && item->isSelected() ? ui->twSessions->indexOfTopLevelItem(item) : -1;
    return row >= 0 && row < m_sessions.size() ? &m_sessions.at(row) : nullptr;
}

bool DlgHistory::runJob(BackgroundJob &job)
{
    setBusy(true);
    const bool succeeded = JobProgress::run(job, *ui->progress, *ui->btnCancel);
    setBusy(false);
    return succeeded;
}

void DlgHistory::setBusy(bool busy)
{
    for (QWidget *widget : {static_cast<QWidget *>(ui->twSessions), static_cast<QWidget *>(ui->btnClose),
                            static_cast<QWidget *>(ui->cbAllDates)})
        widget->setEnabled(!busy);
    for (QWidget *widget : {ui->dateFrom, ui->dateTo})
        widget->setEnabled(!busy && !ui->cbAllDates->isChecked());
    for (QWidget *widget : {ui->btnOpen, ui->btnExport, ui->btnDelete})
        widget->setEnabled(!busy);
    if (!busy)
        updateButtons();
}

void DlgHistory::on_btnOpen_clicked()
{
    const JournalSession *session = selected();
    if (!session)
        return;
    const auto run = [this](BackgroundJob &job, const QString &) { return runJob(job); };
    if (SessionJobs::open(m_recorder.fileName(), session->id, m_window, run, m_error))
        accept();
    else if (!m_error.isEmpty())
        reportFailure(tr("The session could not be opened."));
}

// Files already there are replaced only when the user agrees.
void DlgHistory::on_btnExport_clicked()
{
    const JournalSession *session = selected();
    if (!session)
        return;
    const qint64 id = session->id;
    const QString directory = QFileDialog::getExistingDirectory(this, tr("Export the session into"));
    if (directory.isEmpty())
        return;
    QStringList existing;
    for (int mode = 0; mode < DMMData::modeCount; ++mode) {
        for (const bool stored : {false, true}) {
            const QString name = SessionCsvExport::fileName(stored, mode);
            if (QDir(directory).exists(name))
                existing << name;
        }
    }
    if (!existing.isEmpty()
        && QMessageBox::question(this, QString(),
                                 tr("%1 already holds %2.\nDo you want to replace them?")
                                     .arg(QDir::toNativeSeparators(directory), existing.join(QStringLiteral(", "))),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
            != QMessageBox::Yes)
        return;
    const auto run = [this](BackgroundJob &job, const QString &) { return runJob(job); };
    if (SessionJobs::exportTo(m_recorder.fileName(), id, directory, run, m_error))
        QMessageBox::information(this, QString(), tr("The session is exported."), QMessageBox::Ok);
    else if (!m_error.isEmpty())
        reportFailure(tr("The session could not be exported."));
}

void DlgHistory::on_btnDelete_clicked()
{
    const JournalSession *session = selected();
    if (!session)
        return;
    const QStringList texts = rowTexts(*session);
    QString question =
        tr("Delete the session started %1, with all its readings?\nThis cannot be undone.").arg(texts.at(ColStarted));
    const QString filed = filedTestsText(session->id);
    if (!filed.isEmpty())
        question += QLatin1Char('\n') + filed;
    if (QMessageBox::question(this, QString(), question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        != QMessageBox::Yes)
        return;
    if (m_recorder.deleteSession(session->id)) {
        showSessions();
    } else {
        m_error = m_recorder.errorString();
        reportFailure(tr("The session could not be deleted."));
    }
}

// "3 tests of P-101 and T-2 will leave their trends and reports."
QString DlgHistory::filedTestsText(qint64 sessionId) const
{
    const TestStore store(m_recorder.database());
    QStringList items;
    int filed = 0;
    for (const InsulationTest &test : store.ofSession(sessionId)) {
        const QString item = store.details(test.id).equipment.trimmed();
        if (item.isEmpty())
            continue;
        ++filed;
        if (!items.contains(item))
            items << item;
    }
    if (filed == 0)
        return QString();
    const QString last = items.takeLast();
    const QString names = items.isEmpty() ? last : tr("%1 and %2").arg(items.join(tr(", ")), last);
    return filed == 1 ? tr("1 test of %1 will leave its trend and reports.").arg(names)
                      : tr("%1 tests of %2 will leave their trends and reports.").arg(filed).arg(names);
}

void DlgHistory::reportFailure(const QString &text)
{
    QMessageBox box(QMessageBox::Warning, QString(), text, QMessageBox::Ok, this);
    box.setInformativeText(m_error);
    box.exec();
}
