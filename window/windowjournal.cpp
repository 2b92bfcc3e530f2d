// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "window/windowjournal.h"

#include "app/proglobal.h"
#include "export/sessioncsvexport.h"
#include "export/testscsvexport.h"
#include "insulation/testsegmenter.h"
#include "journal/equipmentstore.h"
#include "journal/journalwriter.h"
#include "journal/readingstore.h"
#include "journal/testindex.h"
#include "journal/teststore.h"
#include "journal/sessionreader.h"
#include "journal/sessionstore.h"
#include "meter/mydmm.h"
#include "report/reportsettings.h"
#include "report/reportsource.h"
#include "report/reportwriter.h"
#include "sync/windowsync.h"
#include "util/backgroundjob.h"
#include "window/dlghistory.h"
#include "window/equipmentwindow.h"
#include "window/jobprogress.h"
#include "window/templatewindow.h"
#include "window/testswindow.h"

#include <QDateTime>
#include <QDesktopServices>
#include <QFileDialog>
#include <QUrl>
#include <QDir>
#include <QLocale>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

WindowJournal::WindowJournal(TemplateWindow &window, MyDMM &meter, const QString &fileName, QObject *parent)
    : QObject(parent)
    , m_window(window)
    , m_meter(meter)
    , m_fileName(fileName)
    , m_writer(std::make_unique<JournalWriter>(fileName, QStringLiteral("window")))
    , m_segmenter(std::make_unique<TestSegmenter>())
{
    connect(m_segmenter.get(), &TestSegmenter::testStarted, this, &WindowJournal::testRunning);
    connect(m_segmenter.get(), &TestSegmenter::testUpdated, this, &WindowJournal::testRunning);
    connect(m_segmenter.get(), &TestSegmenter::testFinished, this, &WindowJournal::keepTest);
    m_silence.setInterval(1000);
    connect(&m_silence, &QTimer::timeout, this,
            [this] { m_segmenter->advanceTo(QDateTime::currentMSecsSinceEpoch()); });
    m_writer->setProgramVersion(ProGlobal::instance()->appVersion());
    connect(m_writer.get(), &JournalWriter::failed, this, &WindowJournal::reportFailure);
    if (!m_writer->open()) {
        const QString reason = m_writer->errorString();
        m_writer.reset();
        // Shown once the window is up; the program works on without a journal.
        QTimer::singleShot(0, this, [this, reason] { reportFailure(reason); });
    } else {
        m_sync = new WindowSync(fileName, window, this);
        connect(m_sync, &WindowSync::synced, this, &WindowJournal::showReceived);
    }
    connectWindow();
    QTimer::singleShot(0, this, &WindowJournal::offerRestore);
}

WindowSync *WindowJournal::sync() const
{
    return m_sync;
}

// What colleagues sent shows in the open lists at once.
void WindowJournal::showReceived(const SyncReport &report)
{
    if (report.sessionsDown + report.testsDown + report.itemsDown + report.detailsDown + report.conflicts == 0)
        return;
    if (m_testsWindow)
        m_testsWindow->refresh();
    if (m_equipmentWindow)
        m_equipmentWindow->refresh();
}

void WindowJournal::requestSync()
{
    if (m_sync)
        m_sync->requestSync();
}

// The running test ends with the program, as with a close of the meter.
WindowJournal::~WindowJournal()
{
    endTests();
}

bool WindowJournal::isOpen() const
{
    return m_writer != nullptr;
}

void WindowJournal::connectWindow()
{
    connect(&m_meter, &MyDMM::frameDecoded, this, &WindowJournal::onFrameDecoded);
    connect(&m_window, &TemplateWindow::liveRecorded, this,
            [this](const QSharedPointer<DMMData> &record) { onRecorded(record, false); });
    connect(&m_window, &TemplateWindow::storedRecorded, this,
            [this](const QSharedPointer<DMMData> &record) { onRecorded(record, true); });
    connect(&m_window, &TemplateWindow::meterChosen, this, [this](const HIDDevInfo &meter) { m_chosenMeter = meter; });
    connect(&m_meter, &MyDMM::opened, this, &WindowJournal::onMeterOpened);
    connect(&m_meter, &MyDMM::closed, this, &WindowJournal::onMeterClosed);
}

// The window records a record, if at all, within the decoder's signal, so
// the frame of the record now on its way is the one to keep.
void WindowJournal::onFrameDecoded(const QSharedPointer<DMMData> &record, const QByteArray &frame)
{
    m_decoded = record;
    m_decodedFrame = frame;
}

void WindowJournal::onRecorded(const QSharedPointer<DMMData> &record, bool stored)
{
    if (!m_writer || !record || m_decoded.toStrongRef() != record)
        return;
    JournalReading reading;
    reading.kind = stored ? JournalReading::Stored : JournalReading::Live;
    reading.timeMs = record->dateTime.toMSecsSinceEpoch();
    reading.frame = m_decodedFrame;
    const qint64 seq = m_writer->write(reading);
    if (stored)
        m_segmenter->addStored(record, seq);
    else
        m_segmenter->addLive(record, seq);
    if (!m_silence.isActive())
        m_silence.start();
}

// A test is kept when it ends, with the details the technician gave for it.
void WindowJournal::keepTest(const InsulationTest &finished)
{
    InsulationTest test = finished;
    test.sessionId = m_writer ? m_writer->sessionId() : -1;
    if (!m_writer || test.sessionId < 0)
        return;
    TestStore store(m_writer->database());
    if (!store.add(test)) {
        reportFailure(store.errorString());
        return;
    }
    if (!m_nextDetails.isEmpty())
        store.saveDetails(test.id, m_nextDetails);
    store.setThroughSeq(test.sessionId, test.lastSeq);
    emit testKept(test);
}

// What the session's readings hold after its last test has been looked at.
void WindowJournal::endTests()
{
    m_silence.stop();
    m_segmenter->finish();
    if (m_writer && m_writer->sessionId() >= 0)
        TestStore(m_writer->database())
            .setThroughSeq(m_writer->sessionId(), m_writer->readings().nextSeq(m_writer->sessionId()) - 1);
}

// The meter connection announces each change twice.
void WindowJournal::onMeterOpened()
{
    if (m_meterOpen)
        return;
    m_meterOpen = true;
    endTests();
    if (m_writer)
        m_writer->beginSession(m_chosenMeter);
}

// Reports read just before the close still wait in the event queue; the
// session ends behind them, so that their readings are still its own.
void WindowJournal::onMeterClosed()
{
    if (!m_meterOpen)
        return;
    m_meterOpen = false;
    m_chosenMeter = HIDDevInfo();
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_meterOpen)
                return;
            endTests();
            if (m_writer)
                m_writer->endSession();
            requestSync();
        },
        Qt::QueuedConnection);
}

void WindowJournal::reportFailure(const QString &reason)
{
    if (m_failureShown)
        return;
    m_failureShown = true;
    auto *box = new QMessageBox(QMessageBox::Warning, QString(),
                                tr("Readings cannot be kept in the journal %1.\nThey are still shown and can be "
                                   "exported, but they will be lost when Tessra ends.")
                                    .arg(QDir::toNativeSeparators(QFileInfo(m_fileName).absoluteFilePath())),
                                QMessageBox::Ok, &m_window);
    box->setInformativeText(reason);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

QList<JournalSession> WindowJournal::sessions(const QDate &from, const QDate &to) const
{
    if (!m_writer)
        return {};
    const qint64 fromMs = from.isValid() ? QDateTime(from.startOfDay()).toMSecsSinceEpoch() : -1;
    const qint64 toMs = to.isValid() ? QDateTime(to.addDays(1).startOfDay()).toMSecsSinceEpoch() : -1;
    return m_writer->sessions().list(fromMs, toMs);
}

void WindowJournal::offerRestore()
{
    if (!m_writer)
        return;
    const QList<JournalSession> abandoned = m_writer->closeAbandonedSessions();
    const std::optional<JournalSession> last = m_writer->sessions().latest();
    if (!last || last->cleanEnd || last->total() == 0)
        return;
    bool wasAbandoned = false;
    for (const JournalSession &session : abandoned)
        wasAbandoned = wasAbandoned || session.id == last->id;
    if (!wasAbandoned)
        return;
    const QString started = QLocale::system().toString(QDateTime::fromMSecsSinceEpoch(last->startedMs),
                                                       QLocale::LongFormat);
    const QMessageBox::StandardButton answer = QMessageBox::question(
        &m_window, QString(),
        tr("Tessra did not end cleanly while recording the session started %1 (%n readings).\n"
           "Do you want to bring its readings back into the tables?",
           nullptr, last->total())
            .arg(started),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    if (answer == QMessageBox::Yes)
        openSession(last->id);
}

bool WindowJournal::openSession(qint64 id, QWidget *dialog)
{
    auto records = std::make_shared<SessionReader::Records>();
    const QString fileName = m_fileName;
    BackgroundJob job([fileName, id, records](BackgroundJob::Context &context) {
        SessionReader reader(fileName);
        if (!reader.open()) {
            context.setError(reader.errorString());
            return false;
        }
        if (reader.readRecords(id, *records, &context))
            return true;
        context.setError(reader.errorString());
        return false;
    });
    if (!runJob(job, tr("Loading the session's readings..."), dialog))
        return false;
    m_window.restoreRecords(records->live, records->stored);
    emit sessionOpened(id, records->live.size() + records->stored.size());
    return true;
}

bool WindowJournal::exportSession(qint64 id, const QString &directory, QWidget *dialog)
{
    const QString fileName = m_fileName;
    BackgroundJob job([fileName, id, directory](BackgroundJob::Context &context) {
        SessionReader reader(fileName);
        SessionReader::Records records;
        if (!reader.open() || !reader.readRecords(id, records, &context)) {
            context.setError(reader.errorString());
            return false;
        }
        SessionCsvExport csv(records.live, records.stored);
        if (csv.write(directory, &context))
            return true;
        context.setError(csv.errorString());
        return false;
    });
    return runJob(job, tr("Exporting the session..."), dialog);
}

bool WindowJournal::deleteSession(qint64 id)
{
    if (!m_writer)
        return false;
    if (m_writer->sessionId() == id) {
        m_error = tr("The session is being recorded.");
        return false;
    }
    if (m_writer->sessions().remove(id))
        return true;
    m_error = m_writer->sessions().errorString();
    return false;
}

bool WindowJournal::runJob(BackgroundJob &job, const QString &label, QWidget *dialog)
{
    m_error.clear();
    auto *history = qobject_cast<DlgHistory *>(dialog);
    const bool succeeded = history ? history->runJob(job) : JobProgress::run(job, label, &m_window);
    if (!succeeded)
        m_error = job.wasCancelled() ? QString() : job.errorString();
    return succeeded;
}

void WindowJournal::showHistory()
{
    if (!m_writer) {
        QMessageBox::information(&m_window, QString(), tr("There is no journal of past sessions."),
                                 QMessageBox::Ok);
        return;
    }
    DlgHistory dialog(*this, &m_window);
    dialog.exec();
}

QList<InsulationTest> WindowJournal::tests()
{
    if (!m_writer)
        return {};
    const QSqlDatabase database = m_writer->database();
    TestIndex::updateEnded(database);
    return TestStore(database).list();
}

QStringList WindowJournal::tags() const
{
    return m_writer ? EquipmentStore(m_writer->database()).tags() : QStringList();
}

std::optional<EquipmentItem> WindowJournal::item(const QString &tag) const
{
    if (!m_writer || tag.trimmed().isEmpty())
        return std::nullopt;
    return EquipmentStore(m_writer->database()).findByTag(tag);
}

// The register is first used here: tests that named their equipment in
// free text join the items of their tags.
QList<EquipmentItem> WindowJournal::items() const
{
    if (!m_writer)
        return {};
    EquipmentStore register_(m_writer->database());
    register_.matchFreeText();
    return register_.list();
}

bool WindowJournal::saveItem(EquipmentItem &item)
{
    if (!m_writer)
        return false;
    EquipmentStore register_(m_writer->database());
    if (register_.save(item)) {
        requestSync();
        return true;
    }
    m_error = register_.errorString();
    return false;
}

bool WindowJournal::removeItem(qint64 id)
{
    if (!m_writer)
        return false;
    EquipmentStore register_(m_writer->database());
    if (register_.remove(id))
        return true;
    m_error = register_.errorString();
    return false;
}

QList<InsulationTest> WindowJournal::testsOf(qint64 itemId)
{
    QList<InsulationTest> tests;
    if (!m_writer)
        return tests;
    const TestStore store(m_writer->database());
    for (const qint64 id : EquipmentStore(m_writer->database()).testsOf(itemId)) {
        if (const std::optional<InsulationTest> test = store.find(id))
            tests << *test;
    }
    return tests;
}

QList<TrendAnalysis::Point> WindowJournal::trendOf(qint64 itemId)
{
    return m_writer ? ReportSource(m_writer->database()).trendOf(itemId) : QList<TrendAnalysis::Point>();
}

void WindowJournal::reportTest(qint64 testId, QWidget *parent)
{
    if (!m_writer)
        return;
    ReportSource source(m_writer->database());
    const std::optional<ReportContent> content = source.forTest(testId);
    if (!content) {
        QMessageBox::warning(parent, QString(), source.errorString(), QMessageBox::Ok);
        return;
    }
    const QString tag = content->tests.value(0).details.equipment;
    const QString day = QDateTime::fromMSecsSinceEpoch(content->tests.value(0).test.startedMs).toString(QStringLiteral("yyyy-MM-dd"));
    writeReport(content, tag.isEmpty() ? tr("test %1 %2").arg(testId).arg(day) : QStringLiteral("%1 %2").arg(tag, day),
                parent);
}

void WindowJournal::reportItem(const QString &tag, const QDate &from, const QDate &to, QWidget *parent)
{
    if (!m_writer)
        return;
    ReportSource source(m_writer->database());
    const std::optional<ReportContent> content = source.forItem(tag, from, to);
    if (!content) {
        QMessageBox::warning(parent, QString(), source.errorString(), QMessageBox::Ok);
        return;
    }
    writeReport(content, tag, parent);
}

void WindowJournal::writeReport(const std::optional<ReportContent> &content, const QString &suggestedName,
                                QWidget *parent)
{
    const QString fileName = QFileDialog::getSaveFileName(parent, tr("Save the report as"),
                                                          suggestedName + QStringLiteral(".pdf"),
                                                          tr("PDF (*.pdf)"));
    if (fileName.isEmpty())
        return;
    ReportWriter writer(*content, ReportSettings::load());
    if (!writer.write(fileName)) {
        QMessageBox box(QMessageBox::Warning, QString(), tr("The report could not be written."), QMessageBox::Ok,
                        parent);
        box.setInformativeText(writer.errorString());
        box.exec();
        return;
    }
    offerToOpen(fileName, parent);
}

void WindowJournal::exportRegister(QWidget *parent)
{
    if (!m_writer)
        return;
    const QString fileName = QFileDialog::getSaveFileName(parent, tr("Export the register and its tests as"),
                                                          tr("register.csv"), QStringLiteral("CSV(*.csv)"));
    if (fileName.isEmpty())
        return;
    EquipmentStore(m_writer->database()).matchFreeText();
    TestsCsvExport csv(m_writer->database());
    if (!csv.write(fileName)) {
        QMessageBox box(QMessageBox::Warning, QString(), tr("The register could not be exported."), QMessageBox::Ok,
                        parent);
        box.setInformativeText(csv.errorString());
        box.exec();
        return;
    }
    offerToOpen(fileName, parent);
}

void WindowJournal::offerToOpen(const QString &fileName, QWidget *parent)
{
    if (QMessageBox::question(parent, QString(), tr("%1 is written.\nDo you want to open it?")
                                                     .arg(QDir::toNativeSeparators(fileName)),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        == QMessageBox::Yes)
        QDesktopServices::openUrl(QUrl::fromLocalFile(fileName));
}

void WindowJournal::showEquipment()
{
    if (!m_equipmentWindow)
        m_equipmentWindow = new EquipmentWindow(*this, &m_window);
    m_equipmentWindow->show();
    m_equipmentWindow->raise();
    m_equipmentWindow->activateWindow();
}

std::optional<InsulationTest> WindowJournal::loadTest(qint64 id) const
{
    if (!m_writer)
        return std::nullopt;
    return TestStore(m_writer->database()).load(id, m_writer->readings());
}

TestDetails WindowJournal::details(qint64 testId) const
{
    return m_writer ? TestStore(m_writer->database()).details(testId) : TestDetails();
}

bool WindowJournal::saveDetails(qint64 testId, const TestDetails &details)
{
    if (!m_writer)
        return false;
    TestStore store(m_writer->database());
    if (store.saveDetails(testId, details)) {
        requestSync();
        return true;
    }
    m_error = store.errorString();
    return false;
}

std::optional<InsulationTest> WindowJournal::runningTest() const
{
    return m_segmenter->running();
}

void WindowJournal::showTests()
{
    if (!m_testsWindow)
        m_testsWindow = new TestsWindow(*this, &m_window);
    m_testsWindow->show();
    m_testsWindow->raise();
    m_testsWindow->activateWindow();
}
