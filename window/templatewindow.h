// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "hid/hiddevinfo.h"
#include "meter/dmmdata.h"
#include "window/chartseries.h"

#include <QFlags>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QSharedPointer>
#include <QString>
#include <QWidget>

#include <memory>
#include <vector>

class ColumnSet;
class DataModel;
class EquipmentWindow;
class SessionRecorder;
class TestsWindow;
class WindowSync;
class MyDMM;
class RunningPrediction;
struct InsulationTest;
class QCPAxis;
class QLabel;
class QPushButton;
class QSettings;
class QCPGraph;
class QCPItemText;
class QCPItemTracer;
class QCustomPlot;
class QMouseEvent;
class QTableView;
class QWheelEvent;
struct Column;
struct SyncReport;

namespace Ui {
class DlgOption;
class TemplateWindow;
}

// The program's only window: tool bar, reading panel, live and stored tables and the trend chart.
class TemplateWindow : public QWidget
{
    Q_OBJECT

public:
    explicit TemplateWindow(QWidget *parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());
    ~TemplateWindow() override;

    bool eventFilter(QObject *watched, QEvent *event) override;

    // Puts records kept from an earlier session into the tables as if they
    // had just been recorded; the tables show the mode of the newest ones.
    void restoreRecords(const QList<QSharedPointer<DMMData>> &live, const QList<QSharedPointer<DMMData>> &stored);

    // What keeps the window's readings in the journal.
    SessionRecorder *journal() const;
    // The team server's sync of the journal; null without a journal.
    WindowSync *sync() const;

signals:
    // A record that got a row in the live or the stored table.
    void liveRecorded(const QSharedPointer<DMMData> &record);
    void storedRecorded(const QSharedPointer<DMMData> &record);
    // The meter about to be opened, as the HID layer describes it.
    void meterChosen(const HIDDevInfo &meter);

protected:
    void timerEvent(QTimerEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private slots:
    void updateLiveData(QSharedPointer<DMMData> data);
    void updateStoreData(QSharedPointer<DMMData> data);
    void communicationTimeout();
    void dmmOpened();
    void dmmClosed();
    void on_actionPause_triggered(bool checked);
    void on_actionClear_triggered();
    void on_actionExport_triggered();
    void on_actionHistory_triggered();
    void on_actionSave_triggered();
    void on_actionOptions_triggered();
    void on_actionSaveImage_triggered();
    void on_actionHelp_triggered();
    void plot1SelectionChangedByUser();
    void plot1MousePress(QMouseEvent *event);
    void plot1MouseWheel(QWheelEvent *event);
    void plot1MouseMove(QMouseEvent *event);
    void plot1MouseDoubleClick(QMouseEvent *event);
    void on_actionStart_triggered();
    void on_spConfig_editingFinished();
    void on_actionClose_triggered();
    void btnStoredModeClicked(bool checked = false);
    void on_tabWgTV_currentChanged(int index);

private:
    // Set-up, in the order the constructor runs it.
    void initObject();
    DataModel *keepModel(std::unique_ptr<DataModel> model);
    void initWidget();
    void initToolBar();
    void initTables();
    void initStoredModeButtons();
    void initLiveModeButtons();
    void checkLiveModeButton(DMMData::DataMode mode);
    void initConnection();
    void initTestsAction();

    // The journal, and the windows on it.
    void initJournal();
    void initDownloadCount();
    void showDownloadCount(int records, int fresh);
    void showJournalFailure(const QString &reason);
    void offerRestore();
    void showTests();
    void showEquipment();
    void followSync(const SyncReport &report);
    void requestSync();

    // Reading panel.
    void updateDataToDisplay(QSharedPointer<DMMData> data);
    // The line of the expected PI atop the panel, while a test the
    // prediction follows runs; blank otherwise.
    void showPrediction(const InsulationTest &test);
    void clearPrediction();

    // Trend chart.
    void initPlot();
    void initPlotAxes();
    void initPlotInteractions();
    void resetPlot();
    void addDataToPlot(QSharedPointer<DMMData> data, QCPGraph *graph);
    void updateDataToPlot(QSharedPointer<DMMData> data);
    void updatePlot1();
    void rescaleValueAxis(QCPGraph *graph);
    void rescaleKeyAxis();
    void showModeOnPlot(DMMData::DataMode mode, const DataModel *model);
    void keepShownSeries();
    void removeTracer();
    void createTracer();
    QString tracerLabelText(double key) const;
    void getUsefulAxes(QFlags<Qt::Orientation> &orientations, QList<QCPAxis *> &axes);
    static double getUnitMul(const QString &unit);

    // Settings and the options dialog.
    void loadSetting();
    void saveSetting();
    static int readIntSetting(const QSettings &settings, const char *key, int defaultValue);
    static bool readBoolSetting(const QSettings &settings, const char *key, bool defaultValue);
    void fillOptionsDialog(Ui::DlgOption &form) const;
    void takeOptionsFrom(const Ui::DlgOption &form);

    // Export of the table shown and of the chart.
    void reportFailure(const QString &text, const QString &reason);
    void offerToOpen(const QString &fileName, const QString &question);

    // Acquisition and the mode shown.
    void changeLiveDataMode(DMMData::DataMode mode, bool force);
    void changeStoredDataMode(DMMData::DataMode mode, bool force);
    void updateLiveDataToTableView(QSharedPointer<DMMData> data);
    void updateStoredDataToTableView(QSharedPointer<DMMData> data);
    void showLiveTable(DMMData::DataMode mode);
    bool liveRecordIsSample(DMMData::DataMode mode);
    void checkStoredModeButton(DMMData::DataMode mode);
    HIDDevInfo chooseMeterToOpen();
    bool mayEndRunningTest();
    void showNewestMode(const QList<QSharedPointer<DMMData>> &records, bool stored);
    void setColumnWidths(QTableView *view);
    void startSampleTimer();
    void stopSampleTimer();
    // The model of the table in front, which the chart, Clear and Export follow.
    DataModel *modelShown() const;
    static bool recordFitsItsMode(const QSharedPointer<DMMData> &data);

    // The dynamic property that tells a stored-mode button's DMMData::DataMode.
    static constexpr char storedModeProperty[] = "StoredMode";

    Ui::TemplateWindow *ui = nullptr;
    MyDMM *m_dmm = nullptr;
    // Owners of the columns and of the sixteen models; the lists below refer to them.
    std::unique_ptr<ColumnSet> m_columnSet;
    std::vector<std::unique_ptr<DataModel>> m_ownedModels;
    QList<QList<Column *>> m_columnLists;
    QList<DataModel *> m_liveModels;
    QList<QCustomPlot *> m_plots;
    // A side with no model yet shows no mode, so its first switch always takes effect.
    DMMData::DataMode m_liveMode = DMMData::dmIR;
    DataModel *m_liveModel = nullptr;
    QList<QPushButton *> m_liveModeButtons; // by mode, children of the live tab
    DMMData::DataMode m_storedMode = DMMData::dmIR;
    QList<DataModel *> m_storedModels;
    DataModel *m_storedModel = nullptr;
    int m_samplePoints = -1;
    int m_sampleInterval = 0;
    QString m_language;
    bool m_recordAtTesttime = false;
    bool m_paused = false;
    bool m_sampleDue = false;
    int m_timerId = 0;
    QCPGraph *m_tracerGraph = nullptr;
    QCPItemTracer *m_tracer = nullptr;
    QCPItemText *m_tracerText = nullptr;
    double m_visiblePoints = 100.0;
    // The points on graph 0, and those of the tables out of sight.
    ChartSeries m_chartSeries;
    QHash<const DataModel *, ChartSeries> m_keptSeries;
    bool m_chartShowsLive = true;
    // Children, created after the settings are read.
    SessionRecorder *m_journal = nullptr;
    WindowSync *m_sync = nullptr;
    QPointer<TestsWindow> m_testsWindow;
    QPointer<EquipmentWindow> m_equipmentWindow;
    bool m_journalFailureShown = false;
    // Under the stored table: what the last download of the meter's memory brought.
    QLabel *m_downloadCount = nullptr;
    std::unique_ptr<RunningPrediction> m_prediction;
};
