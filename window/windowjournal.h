// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "hid/hiddevinfo.h"
#include "insulation/equipmentitem.h"
#include "insulation/insulationtest.h"
#include "insulation/trendanalysis.h"
#include "insulation/testdetails.h"
#include "journal/journalsession.h"
#include "meter/dmmdata.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QObject>
#include <QSharedPointer>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWeakPointer>

#include <memory>
#include <optional>

class BackgroundJob;
class JournalWriter;
class TestSegmenter;
class EquipmentWindow;
class TestsWindow;
class WindowSync;
struct ReportContent;
struct SyncReport;
class MyDMM;
class TemplateWindow;
class QWidget;

// Keeps every reading the window records in the journal as it is recorded,
// one session per opening of the meter, and brings sessions back into the
// window: the one a crash cut short, and any other from the history.
class WindowJournal : public QObject
{
    Q_OBJECT

public:
    WindowJournal(TemplateWindow &window, MyDMM &meter, const QString &fileName, QObject *parent = nullptr);
    ~WindowJournal() override;

    bool isOpen() const;
    QString fileName() const { return m_fileName; }
    JournalWriter *writer() const { return m_writer.get(); }
    // The team server's sync of this journal; null without a journal.
    WindowSync *sync() const;

    // Sessions started on the days from `from` to `to`; a null date leaves
    // that side open. The newest first.
    QList<JournalSession> sessions(const QDate &from = QDate(), const QDate &to = QDate()) const;
    // Each loads or writes the whole session or nothing, with progress shown
    // in the dialog's bar (or a progress window without one) and a cancel.
    bool openSession(qint64 id, QWidget *dialog = nullptr);
    bool exportSession(qint64 id, const QString &directory, QWidget *dialog = nullptr);
    bool deleteSession(qint64 id);
    QString errorString() const { return m_error; }

    // The tests kept, the newest first, without their curves; sessions that
    // no program cut into tests yet are cut first.
    QList<InsulationTest> tests();
    // A kept test with its curve and final values.
    std::optional<InsulationTest> loadTest(qint64 id) const;
    TestDetails details(qint64 testId) const;
    bool saveDetails(qint64 testId, const TestDetails &details);
    // The test the meter runs now, if any.
    std::optional<InsulationTest> runningTest() const;
    // What the next test (or the one running) is kept with; the previous
    // test's details until they are changed.
    TestDetails nextDetails() const { return m_nextDetails; }
    void setNextDetails(const TestDetails &details) { m_nextDetails = details; }

    // The equipment register.
    QStringList tags() const;
    std::optional<EquipmentItem> item(const QString &tag) const;
    QList<EquipmentItem> items() const;
    bool saveItem(EquipmentItem &item);
    bool removeItem(qint64 id);
    QList<InsulationTest> testsOf(qint64 itemId);
    QList<TrendAnalysis::Point> trendOf(qint64 itemId);
    // Each asks for a file and writes it whole, then offers to open it.
    void reportTest(qint64 testId, QWidget *parent);
    void reportItem(const QString &tag, const QDate &from, const QDate &to, QWidget *parent);
    void exportRegister(QWidget *parent);

public slots:
    void showHistory();
    void showTests();
    void showEquipment();
    // Offers the readings of the last session when it did not end cleanly.
    void offerRestore();

signals:
    // A session's readings are back in the tables.
    void sessionOpened(qint64 id, int readings);
    // The running test began or grew; a test ended and is kept.
    void testRunning(const InsulationTest &test);
    void testKept(const InsulationTest &test);

private:
    void connectWindow();
    void onFrameDecoded(const QSharedPointer<DMMData> &record, const QByteArray &frame);
    void onRecorded(const QSharedPointer<DMMData> &record, bool stored);
    void onMeterOpened();
    void onMeterClosed();
    void reportFailure(const QString &reason);
    void requestSync();
    void showReceived(const SyncReport &report);
    void keepTest(const InsulationTest &test);
    void endTests();
    bool runJob(BackgroundJob &job, const QString &label, QWidget *dialog);
    void writeReport(const std::optional<ReportContent> &content, const QString &suggestedName, QWidget *parent);
    static void offerToOpen(const QString &fileName, QWidget *parent);

    TemplateWindow &m_window;
    MyDMM &m_meter;
    QString m_fileName;
    std::unique_ptr<JournalWriter> m_writer;
    // The frame the record now going through the window was decoded from.
    QWeakPointer<DMMData> m_decoded;
    QByteArray m_decodedFrame;
    HIDDevInfo m_chosenMeter;
    bool m_meterOpen = false;
    bool m_failureShown = false;
    QString m_error;
    std::unique_ptr<TestSegmenter> m_segmenter;
    QTimer m_silence; // ends a test the meter fell silent in
    TestDetails m_nextDetails;
    QPointer<TestsWindow> m_testsWindow;
    QPointer<EquipmentWindow> m_equipmentWindow;
    QPointer<WindowSync> m_sync;
};
