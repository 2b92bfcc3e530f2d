// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "window/templatewindow.h"

#include "hid/hiddevicep.h"
#include "hid/hiddevinfo.h"
#include "hid/meterusbid.h"
#include "journal/sessionrecorder.h"
#include "meter/mydmm.h"
#include "models/datamodel.h"
#include "ui_templatewindow.h"
#include "util/utils.h"

#include <QCloseEvent>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimerEvent>
#include <QVector>

#include <algorithm>

namespace {
const int liveTab = 0;
const int storedTab = 1;
} // namespace

// The panel always shows the newest reading; the sampling rules decide
// whether it is also recorded in the live table of its mode and on the
// chart. A reading is recorded whichever table is in front: a download
// brings the stored table forward by itself, and the test the technician
// runs next must not go unrecorded for it.
void TemplateWindow::updateLiveData(QSharedPointer<DMMData> data)
{
    if (!recordFitsItsMode(data))
        return;
    updateDataToDisplay(data);
    if (!liveRecordIsSample(data->mode))
        return;
    const bool recorded = data->mode == DMMData::dmVOLT || !m_recordAtTesttime || data->testing;
    if (ui->tabWgTV->currentIndex() != liveTab) {
        // The chart stays with the stored table in front; the live table
        // follows the reading and is drawn when it comes back to the front.
        if (data->mode != m_liveMode)
            showLiveTable(data->mode);
        if (recorded)
            updateLiveDataToTableView(data);
        return;
    }
    changeLiveDataMode(data->mode, !m_chartShowsLive);
    m_chartShowsLive = true;
    if (recorded) {
        updateLiveDataToTableView(data);
        updateDataToPlot(data);
    }
}

// Pause, sample-point limit and sample tick. The limit is that of the
// reading's own table: a full table of one mode must not stop the others.
bool TemplateWindow::liveRecordIsSample(DMMData::DataMode mode)
{
    if (m_paused)
        return false;
    if (m_samplePoints != -1 && m_liveModels.at(mode)->rowCount(QModelIndex()) >= m_samplePoints)
        return false;
    if (m_sampleInterval != 0 && !m_sampleDue)
        return false;
    m_sampleDue = false;
    return true;
}

// Records from the meter's memory skip the panel and every sampling rule.
// Each download brings the whole memory again: what the journal already
// keeps from this meter is shown once.
void TemplateWindow::updateStoreData(QSharedPointer<DMMData> data)
{
    if (!recordFitsItsMode(data))
        return;
    if (m_journal && !m_journal->admitStored(data))
        return;
    changeStoredDataMode(data->mode, m_chartShowsLive);
    m_chartShowsLive = false;
    updateStoredDataToTableView(data);
    updateDataToPlot(data);
    {
        const QSignalBlocker blocker(ui->tabWgTV);
        ui->tabWgTV->setCurrentIndex(storedTab);
    }
    checkStoredModeButton(data->mode);
}

// Only records whose class is the one of their mode reach the per-mode
// tables, which read them as that class.
bool TemplateWindow::recordFitsItsMode(const QSharedPointer<DMMData> &data)
{
    if (!data)
        return false;
    DMMData *record = data.data();
    switch (data->mode) {
    case DMMData::dmIR:
        return dynamic_cast<DMMDataIR *>(record);
    case DMMData::dmTime:
        return dynamic_cast<DMMDataTime *>(record);
    case DMMData::dmPI:
        return dynamic_cast<DMMDataPI *>(record);
    case DMMData::dmDAR:
        return dynamic_cast<DMMDataDAR *>(record);
    case DMMData::dmCOMP:
        return dynamic_cast<DMMDataCOMP *>(record);
    case DMMData::dmCAP:
        return dynamic_cast<DMMDataCAP *>(record);
    case DMMData::dmVOLT:
        return dynamic_cast<DMMDataVOLT *>(record);
    case DMMData::dmRES:
        return dynamic_cast<DMMDataRES *>(record);
    }
    return false;
}

void TemplateWindow::checkStoredModeButton(DMMData::DataMode mode)
{
    const QList<QObject *> buttons = Utils::getChildObject(ui->frame, {QStringLiteral("QPushButton")}, true);
    for (QObject *object : buttons) {
        auto *button = qobject_cast<QPushButton *>(object);
        if (button && button->property(storedModeProperty).toInt() == mode) {
            const QSignalBlocker blocker(button);
            button->setChecked(true);
        }
    }
}

void TemplateWindow::updateLiveDataToTableView(QSharedPointer<DMMData> data)
{
    m_liveModel->addData(data);
    ui->tv1->scrollToBottom();
    emit liveRecorded(data);
}

void TemplateWindow::updateStoredDataToTableView(QSharedPointer<DMMData> data)
{
    m_storedModel->addData(data);
    ui->tvStored->scrollToBottom();
    emit storedRecorded(data);
}

void TemplateWindow::restoreRecords(const QList<QSharedPointer<DMMData>> &live,
                                    const QList<QSharedPointer<DMMData>> &stored)
{
    for (const auto *records : {&live, &stored}) {
        const QList<DataModel *> &models = records == &live ? m_liveModels : m_storedModels;
        QVector<QList<QSharedPointer<DMMData>>> byMode(DMMData::modeCount);
        for (const QSharedPointer<DMMData> &record : *records) {
            if (recordFitsItsMode(record))
                byMode[record->mode].append(record);
        }
        for (int mode = 0; mode < DMMData::modeCount; ++mode)
            models.at(mode)->addRecords(byMode.at(mode));
    }
    showNewestMode(stored, true);
    showNewestMode(live, false);
    // The panel shows the last reading of the table in front, with its own
    // labels, as it did when that reading arrived.
    const QList<QSharedPointer<DMMData>> &front = ui->tabWgTV->currentIndex() == liveTab ? live : stored;
    const auto newest = std::find_if(front.crbegin(), front.crend(), &TemplateWindow::recordFitsItsMode);
    if (newest != front.crend())
        updateDataToDisplay(*newest);
}

// Brings the table of the newest record's mode forward, with the chart,
// without the tab's own slot: the live table wins when both have records.
void TemplateWindow::showNewestMode(const QList<QSharedPointer<DMMData>> &records, bool stored)
{
    auto newest = std::find_if(records.crbegin(), records.crend(), &TemplateWindow::recordFitsItsMode);
    if (newest == records.crend())
        return;
    const DMMData::DataMode mode = (*newest)->mode;
    {
        const QSignalBlocker blocker(ui->tabWgTV);
        ui->tabWgTV->setCurrentIndex(stored ? storedTab : liveTab);
    }
    if (stored) {
        changeStoredDataMode(mode, true);
        checkStoredModeButton(mode);
    } else {
        changeLiveDataMode(mode, true);
    }
    m_chartShowsLive = !stored;
}

void TemplateWindow::changeLiveDataMode(DMMData::DataMode mode, bool force)
{
    if (mode < 0 || mode >= m_liveModels.size())
        return;
    if (mode == m_liveMode && !force && m_liveModel)
        return;
    showLiveTable(mode);
    showModeOnPlot(mode, m_liveModel);
}

void TemplateWindow::showLiveTable(DMMData::DataMode mode)
{
    m_liveMode = mode;
    m_liveModel = m_liveModels.at(mode);
    ui->tv1->setModel(m_liveModel);
    setColumnWidths(ui->tv1);
    checkLiveModeButton(mode);
}

void TemplateWindow::changeStoredDataMode(DMMData::DataMode mode, bool force)
{
    if (mode < 0 || mode >= m_storedModels.size())
        return;
    if (mode == m_storedMode && !force && m_storedModel)
        return;
    m_storedMode = mode;
    m_storedModel = m_storedModels.at(mode);
    ui->tvStored->setModel(m_storedModel);
    setColumnWidths(ui->tvStored);
    showModeOnPlot(mode, m_storedModel);
}

// "No.", "Date/Time" and "Mode".
void TemplateWindow::setColumnWidths(QTableView *view)
{
    view->setColumnWidth(0, 50);
    view->setColumnWidth(1, 160);
    view->setColumnWidth(2, 50);
}

DataModel *TemplateWindow::modelShown() const
{
    return ui->tabWgTV->currentIndex() != liveTab ? m_storedModel : m_liveModel;
}

void TemplateWindow::btnStoredModeClicked(bool checked)
{
    Q_UNUSED(checked)
    const int mode = sender() ? sender()->property(storedModeProperty).toInt() : m_storedMode;
    changeStoredDataMode(static_cast<DMMData::DataMode>(mode), false);
}

// The chart always shows the data of the table in front, and remembers which
// that is, so that the next record of the other kind replots its own table.
void TemplateWindow::on_tabWgTV_currentChanged(int index)
{
    if (index == liveTab) {
        changeLiveDataMode(m_liveMode, true);
        m_chartShowsLive = true;
    } else if (index == storedTab) {
        changeStoredDataMode(m_storedMode, true);
        m_chartShowsLive = false;
    }
}

void TemplateWindow::on_actionPause_triggered(bool checked)
{
    m_sampleDue = false;
    m_paused = checked;
}

// Clears the table that was in front when the user chose Clear: records that
// arrive while the question is open may bring another one forward. Only the
// table goes; the question says what the journal keeps.
void TemplateWindow::on_actionClear_triggered()
{
    DataModel *const chosen = modelShown();
    const QString kept = m_journal && m_journal->isOpen()
        ? tr("The journal keeps its readings: History opens them again.")
        : tr("The journal cannot be written: its readings will be lost.");
    const QMessageBox::StandardButton answer =
        QMessageBox::question(this, tr("Clear Data"), tr("Clear the table shown?") + QLatin1Char('\n') + kept,
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes || !chosen)
        return;
    chosen->clear();
    if (chosen == modelShown())
        resetPlot();
}

void TemplateWindow::on_actionClose_triggered()
{
    if (mayEndRunningTest())
        close();
}

// A test cut short must be run again from the start: a PI test takes ten
// minutes. The user's closes ask first; the program's own do not.
bool TemplateWindow::mayEndRunningTest()
{
    if (!m_journal || !m_journal->runningTest())
        return true;
    const QString mode = DMMData::modeName(m_journal->runningTest()->mode);
    return QMessageBox::question(this, QString(),
                                 tr("A %1 test is running. Closing Tessra ends it where it stands.\n"
                                    "Do you want to close?")
                                     .arg(mode),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        == QMessageBox::Yes;
}

void TemplateWindow::dmmOpened()
{
    ui->actionStart->setCheckable(true);
    ui->actionStart->setChecked(true);
}

void TemplateWindow::dmmClosed()
{
    ui->actionStart->setChecked(false);
    ui->actionStart->setCheckable(false);
}

void TemplateWindow::communicationTimeout()
{
    QMessageBox::critical(this, QString(), tr("Data communication error.The equipment may have been disconnected."),
                          QMessageBox::Ok);
}

// While the meter is open, Start is the stop button.
void TemplateWindow::on_actionStart_triggered()
{
    if (m_dmm->actived()) {
        m_dmm->close();
        return;
    }
    const HIDDevInfo meter = chooseMeterToOpen();
    if (meter.path.isEmpty())
        return;
    emit meterChosen(meter);
    if (!m_dmm->open(meter.path))
        QMessageBox::warning(this, QString(), tr("Failed to open device."), QMessageBox::Ok);
}

// No path when there is no meter, or when the user cancels the choice between
// several: opening one the user did not pick could start logging the wrong one.
HIDDevInfo TemplateWindow::chooseMeterToOpen()
{
    const QList<HIDDevInfo> meters = HIDDeviceP::enumerate(MeterUsbId::vendorId, MeterUsbId::productId);
    QStringList paths;
    for (const HIDDevInfo &info : meters)
        paths.append(info.path);
    if (paths.isEmpty()) {
        QMessageBox::warning(this, QString(), tr("No valid device found."), QMessageBox::Ok);
        return HIDDevInfo();
    }
    if (paths.size() == 1)
        return meters.first();
    bool accepted = false;
    const QString chosen = QInputDialog::getItem(this, tr("Choose the Device"), QStringLiteral("Devices"), paths, 0,
                                                 false, &accepted);
    return accepted ? meters.value(paths.indexOf(chosen)) : HIDDevInfo();
}

void TemplateWindow::timerEvent(QTimerEvent *event)
{
    if (event->timerId() == m_timerId)
        m_sampleDue = true;
    else
        QWidget::timerEvent(event);
}

void TemplateWindow::startSampleTimer()
{
    if (m_sampleInterval > 0)
        m_timerId = startTimer(m_sampleInterval, Qt::CoarseTimer);
}

void TemplateWindow::stopSampleTimer()
{
    if (m_timerId != 0) {
        killTimer(m_timerId);
        m_timerId = 0;
    }
}

void TemplateWindow::closeEvent(QCloseEvent *event)
{
    if (event->spontaneous() && !mayEndRunningTest()) {
        event->ignore();
        return;
    }
    stopSampleTimer();
    m_dmm->close();
    saveSetting();
    event->accept();
}
