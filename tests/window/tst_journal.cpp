// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "export/sessioncsvexport.h"
#include "insulation/readingvalues.h"
#include "journal/journalwriter.h"
#include "journal/sessionreader.h"
#include "journal/sessionrecorder.h"
#include "journal/testcatalogue.h"
#include "journal/teststore.h"
#include "meter/framedecoder.h"
#include "meter/mydmm.h"
#include "models/columnset.h"
#include "models/datamodel.h"
#include "models/modelfactory.h"
#include "sim/democycle.h"
#include "sim/simulatedhid.h"
#include "sim/virtualhiddevice.h"
#include "support/csvtext.h"
#include "support/filesizelimit.h"
#include "support/meterinput.h"
#include "support/modalscript.h"
#include "support/tempworkdir.h"
#include "support/windowfixture.h"
#include "testpaths.h"
#include "ui_dlghistory.h"
#include "util/backgroundjob.h"
#include "window/dlghistory.h"
#include "window/templatewindow.h"

#include <QAction>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMap>
#include <QProcess>
#include <QSet>
#include <QPushButton>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>

#include <qcustomplot.h>

#include <csignal>
#include <memory>


namespace {
const QString journalName = QStringLiteral("tessra.sqlite");
const QString meterPath = QStringLiteral("/dev/hidraw-journal");
constexpr int patience = 30000;

void feedFrames(const WindowFixture &fixture, const QList<QByteArray> &frames)
{
    for (const QByteArray &frame : frames)
        feedMeter(*fixture.meter(), frame);
}

JournalReading::Kind kindOf(const QByteArray &frame)
{
    return quint8(frame.at(4)) == MyDMM::storedFrameType ? JournalReading::Stored : JournalReading::Live;
}

QList<JournalSession> sessionsIn(const QString &fileName)
{
    SessionReader reader(fileName);
    return reader.open() ? reader.sessions() : QList<JournalSession>();
}

SessionReader::Records recordsOf(const QString &fileName, qint64 session)
{
    SessionReader reader(fileName);
    SessionReader::Records records;
    if (reader.open())
        reader.readRecords(session, records);
    return records;
}

// The rows a table of that kind shows for these records of one mode.
QList<QStringList> cellsOf(bool stored, int mode, const QList<QSharedPointer<DMMData>> &records)
{
    const ColumnSet columns;
    const std::unique_ptr<DataModel> model = stored ? ModelFactory::createStoredModel(mode, columns.columns(mode))
                                                    : ModelFactory::createLiveModel(mode, columns.columns(mode));
    QList<QSharedPointer<DMMData>> ofMode;
    for (const QSharedPointer<DMMData> &record : records) {
        if (record->mode == mode)
            ofMode << record;
    }
    model->addRecords(ofMode);
    return CsvText::cellsOf(*model).mid(1); // without the header
}

int modeNamed(const QString &name)
{
    for (int mode = 0; mode < DMMData::modeCount; ++mode) {
        if (DMMData::modeName(mode) == name)
            return mode;
    }
    return -1;
}

// The panel's texts and colours, label by label, as the readings make them:
// the line atop the panel is the running test's PI prediction, which
// a reading brought back from the journal has no running test to make.
QMap<QString, QString> panelTexts(const QWidget &window)
{
    QMap<QString, QString> texts;
    for (const QLabel *label : window.findChildren<QLabel *>()) {
        if (label->objectName().startsWith(QLatin1String("lcd")) && label->objectName() != QLatin1String("lcdTop2"))
            texts.insert(label->objectName(), label->text() + QLatin1Char('|') + label->styleSheet());
    }
    return texts;
}

QMap<QString, QString> panelTexts(const WindowFixture &fixture)
{
    return panelTexts(fixture.window());
}

// A session of one demonstration round, written as the window writes it.
void writeSession(const QString &fileName, int round)
{
    JournalWriter writer(fileName, QStringLiteral("window"));
    if (!writer.open())
        return;
    const DemoCycle cycle(round);
    qint64 time = 1765360000000 + round * 3600000LL;
    for (const QByteArray &frame : cycle.liveFrames() + cycle.storedFrames()) {
        JournalReading reading;
        reading.kind = kindOf(frame);
        reading.timeMs = time += 300;
        reading.frame = frame;
        writer.write(reading);
    }
}

// Makes the newest session look cut short, as a program killed while
// recording leaves it: not ended, and no live lock.
bool cutShortTheLastSession(const QString &fileName)
{
    bool done = false;
    {
        QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("cut"));
        database.setDatabaseName(fileName);
        done = database.open()
            && QSqlQuery(database).exec(QStringLiteral(
                "UPDATE sessions SET ended_ms = NULL, clean_end = 0 WHERE id = (SELECT max(id) FROM sessions)"))
            && QSqlQuery(database).exec(QStringLiteral(
                "DELETE FROM session_counts WHERE session_id = (SELECT max(id) FROM sessions)"));
        database.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("cut"));
    return done;
}

// A colleague's session as a sync brings it down: newer than anything
// recorded here, ended or, as a crafted server row may be, never ended.
const QString downloadedUuid = QStringLiteral("2f0c9a52-7d35-4b2c-9d1e-5a1f3e0c7b11");

bool addDownloadedSession(const QString &fileName, bool ended)
{
    bool done = false;
    {
        QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("down"));
        database.setDatabaseName(fileName);
        QSqlQuery query(database);
        done = database.open()
            && query.exec(QStringLiteral("INSERT INTO sessions (uuid, source, started_ms, ended_ms, clean_end, synced,"
                                         " from_server) SELECT '%1', 'window', max(started_ms) + 1000, %2, 1, 1, 1"
                                         " FROM sessions")
                              .arg(downloadedUuid, ended ? QStringLiteral("max(started_ms) + 60000")
                                                         : QStringLiteral("NULL")))
            && query.exec(QStringLiteral("INSERT INTO readings (session_id, seq, kind, mode, time_ms, frame)"
                                         " SELECT max(id), 0, 0, 0, max(started_ms) + 1500, x'00' FROM sessions"));
        query.finish();
        database.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("down"));
    return done;
}

int countIn(const QString &fileName, const QString &statement)
{
    int count = -1;
    {
        QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("count"));
        database.setDatabaseName(fileName);
        QSqlQuery query(database);
        if (database.open() && query.exec(statement) && query.next())
            count = query.value(0).toInt();
        query.finish();
        database.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("count"));
    return count;
}

// Rows in the stored tables of every mode, each brought forward in turn.
int storedRows(const WindowFixture &fixture)
{
    int rows = 0;
    for (const char *name : {"btnStoredIR", "btnStoredTime", "btnStoredPI", "btnStoredDAR", "btnStoredCOMP",
                             "btnStoredCAP", "btnStoredVOLT", "btnStoredRES"}) {
        fixture.find<QPushButton>(name)->click();
        rows += fixture.storedModel()->rowCount();
    }
    return rows;
}

QByteArray digestOf(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256)
                                          : QByteArray();
}

} // namespace

class TestWindowsJournal : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void recordedReadingsAreJournaledAsRecorded();
    void sessionFollowsTheMeterFromStartToClose();
    void readingsQueuedBeforeTheCloseBelongToTheSession();
    void restoredReadingsShowAsTheyDid();
    void memoryDownloadAddsNothingTwice_data();
    void memoryDownloadAddsNothingTwice();
    void killedWindowLosesNothingThatWasOnScreen();
    void restoreShowsEveryModeAndTheLastReading();
    void restoreIsOfferedOnceForTheLastSessionCutShort_data();
    void restoreIsOfferedOnceForTheLastSessionCutShort();
    void restoreLooksOnlyAtSessionsRecordedHere_data();
    void restoreLooksOnlyAtSessionsRecordedHere();
    void historyOpensExportsAndDeletesSessions();
    void historyOffersNothingItWouldRefuseOrMix();
    void closeAsksBeforeEndingARunningTest_data();
    void closeAsksBeforeEndingARunningTest();
    void failedOrCancelledExportLeavesNoFile_data();
    void failedOrCancelledExportLeavesNoFile();
    void unusableJournalIsReportedOnceAndRecordingGoesOn();
    void fullDiskIsReportedOnceAndRecordingGoesOn();
};

void TestWindowsJournal::init()
{
    SimulatedHid::reset();
}

// What gets a row is journaled: nothing that a pause or a sampling rule kept
// out, and every record of the meter's memory.
void TestWindowsJournal::recordedReadingsAreJournaledAsRecorded()
{
    WindowFixture fixture({{"RecordAtTesttime", true}});
    const DemoCycle cycle(0);
    feedFrames(fixture, cycle.liveFrames());
    fixture.find<QAction>("actionPause")->trigger();
    feedFrames(fixture, cycle.liveFrames().mid(0, 10));
    fixture.find<QAction>("actionPause")->trigger();
    feedFrames(fixture, cycle.storedFrames());

    int liveRows = 0;
    for (const QByteArray &frame : cycle.liveFrames()) {
        const QSharedPointer<DMMData> record = FrameDecoder::liveRecordOf(frame);
        liveRows += record->testing || record->mode == DMMData::dmVOLT ? 1 : 0;
    }
    QVERIFY(liveRows > 0 && liveRows < cycle.liveFrames().size());

    const QList<JournalSession> sessions = sessionsIn(fixture.dir().filePath(journalName));
    QCOMPARE(sessions.size(), 1);
    QCOMPARE(sessions.first().count(JournalReading::Live), liveRows);
    QCOMPARE(sessions.first().count(JournalReading::Stored), cycle.storedFrames().size());
}

void TestWindowsJournal::sessionFollowsTheMeterFromStartToClose()
{
    VirtualHidDevice meter = VirtualHidDevice::meter(meterPath);
    meter.serialNumber = QStringLiteral("TS-0042");
    meter.manufacturer = QStringLiteral("Morvane");
    meter.product = QStringLiteral("Tessra IR tester");
    SimulatedHid::addDevice(meter);
    WindowFixture fixture;
    auto *start = fixture.find<QAction>("actionStart");
    const QList<QByteArray> frames = DemoCycle(1).liveFrames().mid(0, 8);
    for (int session = 0; session < 2; ++session) {
        const int rowsBefore = fixture.liveModel()->rowCount();
        start->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(start->isChecked(), patience);
        QVERIFY(SimulatedHid::queueStream(meterPath, frames.join()));
        QTRY_VERIFY_WITH_TIMEOUT(fixture.liveModel()->rowCount() - rowsBefore >= 1, patience);
        QTRY_VERIFY_WITH_TIMEOUT(sessionsIn(fixture.dir().filePath(journalName)).value(0).total() == 8, patience);
        start->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(!start->isCheckable(), patience);
    }
    fixture.restart();

    const QList<JournalSession> sessions = sessionsIn(fixture.dir().filePath(journalName));
    QCOMPARE(sessions.size(), 2);
    for (const JournalSession &session : sessions) {
        QVERIFY(session.cleanEnd);
        QVERIFY(session.endedMs >= session.startedMs);
        QCOMPARE(session.source, QStringLiteral("window"));
        QCOMPARE(session.meterPath, meterPath);
        QCOMPARE(session.serialNumber, meter.serialNumber);
        QCOMPARE(session.manufacturer, meter.manufacturer);
        QCOMPARE(session.product, meter.product);
        QCOMPARE(session.programVersion, QStringLiteral("1.00"));
        QCOMPARE(session.count(JournalReading::Live), 8);
    }
}

// Reports read just before the meter closed reach the window after the
// close: their readings are still the session's, not a session of their own.
void TestWindowsJournal::readingsQueuedBeforeTheCloseBelongToTheSession()
{
    SimulatedHid::addDevice(VirtualHidDevice::meter(meterPath));
    WindowFixture fixture;
    auto *start = fixture.find<QAction>("actionStart");
    start->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(start->isChecked(), patience);
    const QByteArray frame = DemoCycle(0).liveFrames().at(3);
    QMetaObject::invokeMethod(
        fixture.meter(), [&fixture, frame] { feedFrames(fixture, {frame}); }, Qt::QueuedConnection);
    start->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(fixture.liveModel()->rowCount() == 1, patience);
    QCoreApplication::processEvents();

    const QList<JournalSession> sessions = sessionsIn(fixture.dir().filePath(journalName));
    QCOMPARE(sessions.size(), 1);
    QVERIFY(sessions.first().cleanEnd);
    QCOMPARE(sessions.first().total(), 1);
}

// The panel, the table and the chart show a reading brought back from the
// journal exactly as they showed it when it arrived.
void TestWindowsJournal::restoredReadingsShowAsTheyDid()
{
    const TempWorkDir kept;
    QList<QMap<QString, QString>> panels;
    QList<QStringList> table;
    QVector<double> keys;
    QVector<double> values;
    {
        WindowFixture fixture;
        for (const QByteArray &frame : DemoCycle(3).liveFrames()) {
            feedFrames(fixture, {frame});
            panels << panelTexts(fixture);
        }
        table = CsvText::cellsOf(*fixture.liveModel());
        keys = fixture.keys();
        values = fixture.values();
        fixture.restart();
        QVERIFY(QFile::copy(fixture.dir().filePath(journalName), kept.filePath(journalName)));
    }
    const QList<JournalSession> sessions = sessionsIn(kept.filePath(journalName));
    QCOMPARE(sessions.size(), 1);
    const SessionReader::Records records = recordsOf(kept.filePath(journalName), sessions.first().id);
    QCOMPARE(records.live.size(), panels.size());

    WindowFixture fixture;
    for (int i = 0; i < records.live.size(); ++i) {
        fixture.live(records.live.at(i));
        QCOMPARE(panelTexts(fixture), panels.at(i));
    }
    QCOMPARE(CsvText::cellsOf(*fixture.liveModel()), table);
    QCOMPARE(fixture.keys(), keys);
    QCOMPARE(fixture.values().size(), values.size());
    for (int i = 0; i < values.size(); ++i)
        QVERIFY(fixture.values().at(i) == values.at(i) || (qIsNaN(fixture.values().at(i)) && qIsNaN(values.at(i))));
}

void TestWindowsJournal::memoryDownloadAddsNothingTwice_data()
{
    QTest::addColumn<QList<QList<QByteArray>>>("downloads");
    QTest::addColumn<bool>("laterRun"); // the program starts again before the last download
    QTest::addColumn<int>("lastNew");
    const QList<QByteArray> memory = DemoCycle(0).storedFrames();
    const QByteArray same = memory.first();
    QTest::newRow("the same memory twice") << QList<QList<QByteArray>>{memory, memory} << false << 0;
    QTest::newRow("the same memory five times")
        << QList<QList<QByteArray>>{memory, memory, memory, memory, memory} << false << 0;
    QTest::newRow("a memory that grew") << QList<QList<QByteArray>>{memory.mid(0, memory.size() - 2), memory}
                                        << false << 2;
    QTest::newRow("equal results measured again")
        << QList<QList<QByteArray>>{{same, same}, {same, same}, {same, same, same}} << false << 1;
    QTest::newRow("the same memory in a later run") << QList<QList<QByteArray>>{memory, memory} << true << 0;
}

// Each download brings the meter's whole memory again; the last download is
// the fullest, and its records are kept once: in the tables, the journal and
// the tests.
void TestWindowsJournal::memoryDownloadAddsNothingTwice()
{
    QFETCH(QList<QList<QByteArray>>, downloads);
    QFETCH(bool, laterRun);
    QFETCH(int, lastNew);
    const QByteArray liveFrame = DemoCycle(0).liveFrames().first();
    WindowFixture fixture;
    for (int i = 0; i < downloads.size(); ++i) {
        if (laterRun && i == downloads.size() - 1)
            fixture.restart();
        // The meter streams live frames between downloads.
        feedFrames(fixture, {liveFrame});
        feedFrames(fixture, downloads.at(i));
    }
    const QList<QByteArray> &memory = downloads.last();
    int usable = 0;
    for (const QByteArray &frame : memory)
        usable += ReadingValues::isUsable(FrameDecoder::storedRecordOf(frame)) ? 1 : 0;
    QVERIFY(usable > 0);

    const QString journal = fixture.dir().filePath(journalName);
    QCOMPARE(countIn(journal, QStringLiteral("SELECT count(*) FROM readings WHERE kind = 1")), memory.size());
    QCOMPARE(countIn(journal, QStringLiteral("SELECT count(*) FROM tests WHERE origin = 1")), usable);
    QCOMPARE(storedRows(fixture), laterRun ? 0 : memory.size());
    const auto *count = fixture.find<QLabel>("lblDownloadCount");
    QVERIFY(!count->isHidden());
    QCOMPARE(count->text(), QStringLiteral("Memory download: %1 records, %2 new").arg(memory.size()).arg(lastNew));
}

// The window runs as a program of its own and is killed while it records;
// every row it had shown is in the journal, and comes back into the tables
// when the window starts again.
void TestWindowsJournal::killedWindowLosesNothingThatWasOnScreen()
{
    const TempWorkDir dir;
    QProcess child;
    child.setWorkingDirectory(dir.path());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(environment);
    child.start(QStringLiteral(TESSRA_WINDOW_CHILD), QStringList());
    QVERIFY(child.waitForStarted(patience));

    // "live" or "stored", then the row's cells.
    QList<QPair<QString, QStringList>> shown;
    QByteArray pending;
    while (shown.size() < 150) {
        QVERIFY2(child.waitForReadyRead(patience), "the window recorded nothing");
        pending += child.readAllStandardOutput();
        for (int end = pending.indexOf('\n'); end >= 0; end = pending.indexOf('\n')) {
            const QString line = QString::fromUtf8(pending.left(end));
            pending.remove(0, end + 1);
            shown.append({line.section(QLatin1Char('\t'), 0, 0),
                          CsvText::withoutFormulaGuard(CsvText::parse(line.section(QLatin1Char('\t'), 1) + QLatin1Char('\n')))
                              .value(0)});
        }
    }
    ::kill(pid_t(child.processId()), SIGKILL);
    QVERIFY(child.waitForFinished(patience));

    const QString journal = dir.filePath(journalName);
    QList<JournalSession> sessions = sessionsIn(journal);
    QCOMPARE(sessions.size(), 1);
    QVERIFY(!sessions.first().hasEnded());
    const SessionReader::Records records = recordsOf(journal, sessions.first().id);
    QMap<QString, QList<QStringList>> onScreen;
    for (const auto &[kind, cells] : qAsConst(shown))
        onScreen[kind + QLatin1Char(' ') + cells.value(2)] << cells;
    for (auto it = onScreen.cbegin(); it != onScreen.cend(); ++it) {
        const bool stored = it.key().startsWith(QLatin1String("stored"));
        const int mode = modeNamed(it.key().section(QLatin1Char(' '), 1));
        QVERIFY2(mode >= 0, qPrintable(it.key()));
        const QList<QStringList> journaled = cellsOf(stored, mode, stored ? records.stored : records.live);
        QCOMPARE(journaled.mid(0, it.value().size()), it.value());
    }

    // Started again in the killed window's directory.
    ModalScript script;
    const auto &question = script.messageBox(QMessageBox::Yes);
    TemplateWindow window;
    QTRY_VERIFY_WITH_TIMEOUT(script.finished(), patience);
    QCOMPARE(question.defaultButton, QMessageBox::Yes);
    const auto *liveTable = window.findChild<QTableView *>(QStringLiteral("tv1"));
    const QSharedPointer<DMMData> newestLive = records.live.last();
    QCOMPARE(CsvText::cellsOf(*liveTable->model()).mid(1), cellsOf(false, newestLive->mode, records.live));
    sessions = sessionsIn(journal);
    QVERIFY(sessions.first().hasEnded());
    QVERIFY(!sessions.first().cleanEnd);
}

// Every mode the restored session recorded can be brought forward, and the
// panel shows the last reading as it showed it when it arrived.
void TestWindowsJournal::restoreShowsEveryModeAndTheLastReading()
{
    const TempWorkDir dir;
    const QString journal = dir.filePath(journalName);
    writeSession(journal, 1);
    QVERIFY(cutShortTheLastSession(journal));
    const SessionReader::Records records = recordsOf(journal, sessionsIn(journal).first().id);
    QSet<int> modes;
    for (const QSharedPointer<DMMData> &record : records.live)
        modes.insert(record->mode);
    QVERIFY(modes.size() > 1);

    ModalScript script;
    script.messageBox(QMessageBox::Yes);
    TemplateWindow window;
    QTRY_VERIFY_WITH_TIMEOUT(script.finished(), patience);
    const QMap<QString, QString> panel = panelTexts(window);
    const auto *liveTable = window.findChild<QTableView *>(QStringLiteral("tv1"));
    for (const int mode : qAsConst(modes)) {
        auto *button = window.findChild<QPushButton *>(QStringLiteral("btnLive") + DMMData::modeName(mode));
        QVERIFY(button);
        button->click();
        QVERIFY(button->isChecked());
        QCOMPARE(CsvText::cellsOf(*liveTable->model()).mid(1), cellsOf(false, mode, records.live));
    }

    WindowFixture arrived;
    for (const QSharedPointer<DMMData> &record : records.live)
        arrived.live(record);
    QCOMPARE(panel, panelTexts(arrived));
}

void TestWindowsJournal::restoreIsOfferedOnceForTheLastSessionCutShort_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("yes") << int(QMessageBox::Yes);
    QTest::newRow("no") << int(QMessageBox::No);
}

// The question comes once; its answer is remembered by ending the session.
void TestWindowsJournal::restoreIsOfferedOnceForTheLastSessionCutShort()
{
    QFETCH(int, answer);
    const TempWorkDir dir;
    const QString journal = dir.filePath(journalName);
    writeSession(journal, 0);
    writeSession(journal, 2);
    QVERIFY(cutShortTheLastSession(journal));
    const QList<JournalSession> sessions = sessionsIn(journal);
    const SessionReader::Records records = recordsOf(journal, sessions.first().id);

    {
        ModalScript script;
        const auto &question = script.messageBox(QMessageBox::StandardButton(answer));
        TemplateWindow window;
        QTRY_VERIFY_WITH_TIMEOUT(script.finished(), patience);
        QVERIFY(question.text.contains(QString::number(records.live.size() + records.stored.size())));
        const auto *live = window.findChild<QTableView *>(QStringLiteral("tv1"));
        const auto *stored = window.findChild<QTableView *>(QStringLiteral("tvStored"));
        if (answer == QMessageBox::Yes) {
            const int liveMode = records.live.last()->mode;
            const int storedMode = records.stored.last()->mode;
            QCOMPARE(CsvText::cellsOf(*live->model()).mid(1), cellsOf(false, liveMode, records.live));
            QCOMPARE(CsvText::cellsOf(*stored->model()).mid(1), cellsOf(true, storedMode, records.stored));
            QCOMPARE(window.findChild<QTabWidget *>(QStringLiteral("tabWgTV"))->currentIndex(), 0);
            QCOMPARE(window.findChild<QCustomPlot *>(QStringLiteral("plot1"))->graph(0)->dataCount(),
                     live->model()->rowCount());
        } else {
            QCOMPARE(live->model()->rowCount(), 0);
        }
        window.close();
    }
    const QList<JournalSession> after = sessionsIn(journal);
    QVERIFY(after.first().hasEnded());
    QVERIFY(!after.first().cleanEnd);

    // Had it come again, the window's first passes of the event loop would
    // have shown it and waited for the answer.
    ModalScript unexpected;
    const auto &again = unexpected.messageBox(QMessageBox::No);
    TemplateWindow window;
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    QVERIFY(!again.shown);
}

void TestWindowsJournal::restoreLooksOnlyAtSessionsRecordedHere_data()
{
    QTest::addColumn<bool>("cutShortHere");
    QTest::addColumn<bool>("downloadedEnded");

    QTest::newRow("cut short here, a colleague's session came down since") << true << true;
    QTest::newRow("ended here, a colleague's session without an end came down") << false << false;
}

// Only a session this laptop recorded is offered back; a colleague's
// session neither hides it nor is offered, and it is left as it came.
void TestWindowsJournal::restoreLooksOnlyAtSessionsRecordedHere()
{
    QFETCH(bool, cutShortHere);
    QFETCH(bool, downloadedEnded);
    const TempWorkDir dir;
    const QString journal = dir.filePath(journalName);
    writeSession(journal, 0);
    if (cutShortHere)
        QVERIFY(cutShortTheLastSession(journal));
    QVERIFY(addDownloadedSession(journal, downloadedEnded));

    ModalScript script;
    const auto &question = script.messageBox(QMessageBox::No);
    {
        TemplateWindow window;
        if (cutShortHere) {
            QTRY_VERIFY_WITH_TIMEOUT(script.finished(), patience);
        } else {
            QCoreApplication::processEvents();
            QCoreApplication::processEvents();
        }
        QCOMPARE(question.shown, cutShortHere);
        window.close();
    }
    bool downloadedFound = false;
    for (const JournalSession &session : sessionsIn(journal)) {
        if (session.uuid != downloadedUuid)
            continue;
        downloadedFound = true;
        QCOMPARE(session.hasEnded(), downloadedEnded);
    }
    QVERIFY(downloadedFound);
}

void TestWindowsJournal::historyOpensExportsAndDeletesSessions()
{
    const TempWorkDir dir;
    const QString journal = dir.filePath(journalName);
    writeSession(journal, 1);
    writeSession(journal, 4);
    const QList<JournalSession> sessions = sessionsIn(journal);
    QCOMPARE(sessions.size(), 2);
    const SessionReader::Records older = recordsOf(journal, sessions.at(1).id);
    const QString exportDir = dir.filePath(QStringLiteral("export"));
    QVERIFY(QDir().mkpath(exportDir));
    TemplateWindow window;

    // Opening the older session fills the tables.
    ModalScript open;
    QStringList listed;
    open.dialog("DlgHistory", [&listed](QWidget *widget) {
        auto *dialog = static_cast<DlgHistory *>(widget);
        QTreeWidget *list = dialog->ui->twSessions;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            listed << list->topLevelItem(i)->text(5);
        list->setCurrentItem(list->topLevelItem(1));
        dialog->ui->btnOpen->click();
    });
    window.findChild<QAction *>(QStringLiteral("actionHistory"))->trigger();
    QVERIFY(open.finished());
    QCOMPARE(listed.size(), 2);
    QCOMPARE(listed.at(1), DlgHistory::rowTexts(sessions.at(1)).at(5));
    const auto *live = window.findChild<QTableView *>(QStringLiteral("tv1"));
    QCOMPARE(CsvText::cellsOf(*live->model()).mid(1), cellsOf(false, older.live.last()->mode, older.live));

    // Exporting it writes one file per kind and mode, as the tables show them.
    ModalScript exporting;
    exporting.dialog("DlgHistory", [](QWidget *widget) {
        auto *dialog = static_cast<DlgHistory *>(widget);
        dialog->ui->twSessions->setCurrentItem(dialog->ui->twSessions->topLevelItem(1));
        dialog->ui->btnExport->click();
    });
    exporting.fileDialog(exportDir);
    const auto &done = exporting.messageBox(QMessageBox::Ok);
    exporting.dialog("DlgHistory", [](QWidget *widget) { static_cast<DlgHistory *>(widget)->accept(); });
    window.findChild<QAction *>(QStringLiteral("actionHistory"))->trigger();
    QVERIFY(exporting.finished());
    QCOMPARE(done.text, QStringLiteral("The session is exported."));
    for (const bool stored : {false, true}) {
        for (int mode = 0; mode < DMMData::modeCount; ++mode) {
            const QString file = QDir(exportDir).filePath(
                QStringLiteral("%1-%2.csv").arg(stored ? "stored" : "live", DMMData::modeName(mode)));
            const QList<QStringList> rows = cellsOf(stored, mode, stored ? older.stored : older.live);
            QCOMPARE(QFile::exists(file), !rows.isEmpty());
            if (!rows.isEmpty())
                QCOMPARE(CsvText::withoutFormulaGuard(CsvText::readFile(file).mid(1)), rows);
        }
    }

    // Deleting asks first; the newer session goes, the older stays.
    ModalScript deleting;
    deleting.dialog("DlgHistory", [](QWidget *widget) {
        auto *dialog = static_cast<DlgHistory *>(widget);
        dialog->ui->twSessions->setCurrentItem(dialog->ui->twSessions->topLevelItem(0));
        dialog->ui->btnDelete->click();
    });
    const auto &confirm = deleting.messageBox(QMessageBox::Yes);
    int left = -1;
    deleting.dialog("DlgHistory", [&left](QWidget *widget) {
        auto *dialog = static_cast<DlgHistory *>(widget);
        left = dialog->ui->twSessions->topLevelItemCount();
        dialog->accept();
    });
    window.findChild<QAction *>(QStringLiteral("actionHistory"))->trigger();
    QVERIFY(deleting.finished());
    QCOMPARE(confirm.defaultButton, QMessageBox::No);
    QCOMPARE(left, 1);
    const QList<JournalSession> remaining = sessionsIn(journal);
    QCOMPARE(remaining.size(), 1);
    QCOMPARE(remaining.first().id, sessions.at(1).id);
}

// While the meter records, the recorded session cannot be deleted and no
// other can be opened into its tables: neither is offered. Deleting a session
// whose tests are filed under items says what leaves their trends and reports.
void TestWindowsJournal::historyOffersNothingItWouldRefuseOrMix()
{
    const TempWorkDir dir;
    const QString journal = dir.filePath(journalName);
    writeSession(journal, 1);
    const qint64 older = sessionsIn(journal).value(0).id;
    {
        QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("file"));
        database.setDatabaseName(journal);
        QVERIFY(database.open());
        TestStore store(database);
        const QList<InsulationTest> tests = store.ofSession(older);
        QVERIFY(tests.size() >= 4);
        const QStringList items = {QStringLiteral("P-101"), QStringLiteral("T-2"), QStringLiteral("P-101")};
        for (int i = 0; i < items.size(); ++i) {
            TestDetails details;
            details.equipment = items.at(i);
            QVERIFY(store.saveDetails(tests.at(i).id, details));
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("file"));

    TemplateWindow window;
    feedMeter(*window.findChild<MyDMM *>(), DemoCycle(0).liveFrames().first());
    QCOMPARE(sessionsIn(journal).size(), 2);

    ModalScript script;
    bool openOffered = true;
    bool recordedDeletable = true;
    QString whyNot;
    script.dialog("DlgHistory", [&](QWidget *widget) {
        auto *dialog = static_cast<DlgHistory *>(widget);
        QTreeWidget *list = dialog->ui->twSessions;
        list->setCurrentItem(list->topLevelItem(0));
        recordedDeletable = dialog->ui->btnDelete->isEnabled();
        whyNot = dialog->ui->btnDelete->toolTip();
        list->setCurrentItem(list->topLevelItem(1));
        openOffered = dialog->ui->btnOpen->isEnabled();
        dialog->ui->btnDelete->click();
    });
    const auto &question = script.messageBox(QMessageBox::No);
    script.dialog("DlgHistory", [](QWidget *widget) { static_cast<DlgHistory *>(widget)->accept(); });
    window.findChild<QAction *>(QStringLiteral("actionHistory"))->trigger();
    QVERIFY(script.finished());
    QVERIFY(!recordedDeletable);
    QVERIFY(!whyNot.isEmpty());
    QVERIFY(!openOffered);
    QVERIFY2(question.text.endsWith(QStringLiteral("\n3 tests of P-101 and T-2 will leave their trends and reports.")),
             qPrintable(question.text));
    QCOMPARE(sessionsIn(journal).size(), 2);
}

void TestWindowsJournal::closeAsksBeforeEndingARunningTest_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("the test goes on") << int(QMessageBox::No);
    QTest::newRow("the user ends it") << int(QMessageBox::Yes);
}

void TestWindowsJournal::closeAsksBeforeEndingARunningTest()
{
    QFETCH(int, answer);
    WindowFixture fixture;
    fixture.window().show();
    const SessionRecorder &recorder = *fixture.window().journal();
    for (const QByteArray &frame : DemoCycle(0).liveFrames()) {
        feedFrames(fixture, {frame});
        if (recorder.runningTest() && recorder.runningTest()->mode == DMMData::dmPI)
            break;
    }
    QVERIFY(recorder.runningTest());

    ModalScript script;
    const auto &question = script.messageBox(static_cast<QMessageBox::StandardButton>(answer));
    fixture.find<QAction>("actionClose")->trigger();
    QVERIFY(script.finished());
    QCOMPARE(question.defaultButton, QMessageBox::No);
    QCOMPARE(question.text, QStringLiteral("A PI test is running. Closing Tessra ends it where it stands.\n"
                                           "Do you want to close?"));
    QCOMPARE(fixture.window().isVisible(), answer == QMessageBox::No);
}

void TestWindowsJournal::failedOrCancelledExportLeavesNoFile_data()
{
    QTest::addColumn<bool>("cancelled");
    QTest::newRow("a file in the way") << false;
    QTest::newRow("cancelled") << true;
}

// A session exported into several files: when one of them cannot be
// written, or the user cancels, none of them is left behind.
void TestWindowsJournal::failedOrCancelledExportLeavesNoFile()
{
    QFETCH(bool, cancelled);
    const TempWorkDir dir;
    const QString journal = dir.filePath(journalName);
    writeSession(journal, 1);
    const qint64 id = sessionsIn(journal).first().id;
    const QString exportDir = dir.filePath(QStringLiteral("export"));
    QVERIFY(QDir().mkpath(exportDir));
    if (!cancelled) // the stored PI table's file cannot be written where a directory stands
        QVERIFY(QDir().mkpath(QDir(exportDir).filePath(QStringLiteral("stored-PI.csv"))));
    const QStringList before = QDir(exportDir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);

    BackgroundJob job([journal, id, exportDir](BackgroundJob::Context &context) {
        SessionReader reader(journal);
        SessionReader::Records records;
        if (!reader.open() || !reader.readRecords(id, records, &context))
            return false;
        SessionCsvExport csv(records.live, records.stored);
        return csv.write(exportDir, &context);
    });
    if (cancelled)
        job.cancel();
    QSignalSpy finished(&job, &BackgroundJob::finished);
    job.start();
    QVERIFY(finished.wait(patience));
    QCOMPARE(finished.first().first().toBool(), false);
    QCOMPARE(QDir(exportDir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), before);
}

// A file that is no journal stays as it is; the window says so once, then
// records as it always did.
void TestWindowsJournal::unusableJournalIsReportedOnceAndRecordingGoesOn()
{
    const TempWorkDir dir;
    {
        QFile file(dir.filePath(journalName));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("my notes, not a database\n");
    }
    const QByteArray before = digestOf(dir.filePath(journalName));
    ModalScript script;
    const auto &warning = script.messageBox(QMessageBox::Ok);
    TemplateWindow window;
    QTRY_VERIFY_WITH_TIMEOUT(script.finished(), patience);
    QCOMPARE(warning.icon, QMessageBox::Warning);
    QVERIFY(warning.text.contains(journalName));
    QVERIFY(!warning.informativeText.isEmpty());
    QVERIFY(!window.journal()->isOpen());

    auto *meter = window.findChild<MyDMM *>();
    for (const QByteArray &frame : DemoCycle(0).liveFrames())
        meter->slotSerialDeviceRead(reinterpret_cast<const uint8_t *>(frame.constData()), uint(frame.size()));
    QVERIFY(window.findChild<QTableView *>(QStringLiteral("tv1"))->model()->rowCount() > 0);
    QCOMPARE(digestOf(dir.filePath(journalName)), before);
}

void TestWindowsJournal::fullDiskIsReportedOnceAndRecordingGoesOn()
{
    WindowFixture fixture;
    const DemoCycle cycle(1);
    feedFrames(fixture, cycle.liveFrames().mid(0, 3));
    ModalScript script;
    const auto &warning = script.messageBox(QMessageBox::Ok);
    const auto &second = script.messageBox(QMessageBox::Ok);
    int rows = 0;
    {
        const FileSizeLimit limit(QFileInfo(fixture.dir().filePath(journalName)).size());
        for (int round = 0; round < 3; ++round) {
            feedFrames(fixture, cycle.liveFrames());
            QCoreApplication::processEvents();
        }
        rows = fixture.liveModel()->rowCount();
        QVERIFY(fixture.window().journal()->writer()->unwritten() > 0);
    }
    QTRY_VERIFY_WITH_TIMEOUT(warning.shown, patience);
    QVERIFY(rows > 3);
    QCoreApplication::processEvents();
    QVERIFY(!second.shown);
    // Once there is room, what waited goes in without a reading to push it.
    QTRY_COMPARE_WITH_TIMEOUT(fixture.window().journal()->writer()->unwritten(), 0, patience);
    feedFrames(fixture, cycle.liveFrames().mid(0, 1));
    QCOMPARE(fixture.window().journal()->writer()->unwritten(), 0);
}

QTEST_MAIN(TestWindowsJournal)
#include "tst_journal.moc"
