// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "journal/equipmentstore.h"
#include "journal/journaldatabase.h"
#include "journal/journalwriter.h"
#include "journal/teststore.h"
#include "journal/sessionreader.h"
#include "sim/democycle.h"
#include "sim/framebuilder.h"
#include "support/samplerecords.h"
#include "support/tempworkdir.h"
#include "testpaths.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include <csignal>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr int waitMs = 30000;

struct Finished
{
    QProcess::ExitStatus exitStatus = QProcess::CrashExit;
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Waits for `process` to end by itself: a crash or a time-out reads as a
// crash, with exit code -1.
Finished waitForExit(QProcess &process)
{
    Finished finished;
    if (process.state() != QProcess::NotRunning && !process.waitForFinished(waitMs))
        return finished;
    finished.exitStatus = process.exitStatus();
    if (finished.exitStatus == QProcess::NormalExit)
        finished.exitCode = process.exitCode();
    finished.out = process.readAllStandardOutput();
    finished.err = process.readAllStandardError();
    return finished;
}

// The installed program as a user runs it; only what needs no meter.
Finished runProgram(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(TESSRA_CLI_PROGRAM), arguments);
    return waitForExit(process);
}
int lineCount(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().count('\n') : -1;
}

// Readings in the journal's sessions, as another program sees them.
int journalledReadings(const QString &journal)
{
    SessionReader reader(journal);
    int readings = 0;
    if (reader.open()) {
        for (const JournalSession &session : reader.sessions())
            readings += session.total();
    }
    return readings;
}

// The writing end of a FIFO, kept open until it goes. It connects only once
// the program has opened the reading end, and the program catches SIGINT and
// SIGTERM before it opens its source, so from then on a signal stops it
// instead of killing it.
class FifoWriter
{
public:
    explicit FifoWriter(const QString &path)
        : m_path(QFile::encodeName(path))
    {
    }
    ~FifoWriter()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FifoWriter(const FifoWriter &) = delete;
    FifoWriter &operator=(const FifoWriter &) = delete;

    // False while no reader has the FIFO open.
    bool connect()
    {
        if (m_fd < 0)
            m_fd = ::open(m_path.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        return m_fd >= 0;
    }
    // A few frames fit the pipe's buffer, so this never waits.
    bool write(const QByteArray &bytes)
    {
        return bytes.isEmpty() || ::write(m_fd, bytes.constData(), size_t(bytes.size())) == bytes.size();
    }

private:
    QByteArray m_path;
    int m_fd = -1;
};
// The text of a PDF as a reader sees it, or nothing when it is no PDF.
QString pdfText(const QString &pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    if (!process.waitForFinished(waitMs) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput()).simplified();
}

// A journal of two demonstration rounds logged from a replay, and the id of
// its first live PI test, given to the register's item P-7.
qint64 journalWithAnItemsTest(const QString &journal)
{
    QByteArray stream;
    for (const int round : {1, 2}) {
        for (const QByteArray &frame : DemoCycle(round).liveFrames())
            stream += frame;
    }
    QFile capture(QStringLiteral("meter.bin"));
    if (!capture.open(QIODevice::WriteOnly) || capture.write(stream) != stream.size())
        return -1;
    capture.close();
    if (runProgram({"--replay", capture.fileName(), "--db", journal, "--output", "/dev/null"}).exitCode != 0)
        return -1;
    const Finished listed = runProgram({"--db", journal, "--list-tests"});
    qint64 piTest = -1;
    for (const QByteArray &line : listed.out.split('\n')) {
        const QJsonObject test = QJsonDocument::fromJson(line).object();
        if (test.value("mode").toString() == QLatin1String("PI") && piTest < 0)
            piTest = test.value("id").toVariant().toLongLong();
    }
    JournalDatabase database(journal);
    if (piTest < 0 || !database.open())
        return -1;
    EquipmentItem item;
    item.tag = QStringLiteral("P-7");
    item.description = QStringLiteral("Feed pump motor");
    TestDetails details;
    item.applyTo(details);
    details.insulationCelsius = 30;
    if (!EquipmentStore(database.connection()).save(item)
        || !TestStore(database.connection()).saveDetails(piTest, details))
        return -1;
    return piTest;
}
} // namespace

class TestProgram : public QObject
{
    Q_OBJECT

private slots:
    void helpVersionAndBadArguments_data();
    void helpVersionAndBadArguments();
    void replaysACaptureFile();
    void pathThatIsNoHidDeviceIsRefused_data();
    void pathThatIsNoHidDeviceIsRefused();
    void signalEndsAFifoReplay_data();
    void signalEndsAFifoReplay();
    void timeLimitEndsASilentFifoReplay();
    void killedLoggerLeavesItsSessionUnended();
    void reportsComeFromTheJournal_data();
    void reportsComeFromTheJournal();
};

void TestProgram::helpVersionAndBadArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("outStart");
    QTest::addColumn<QByteArray>("errText");

    QTest::newRow("help") << QStringList{"--help"} << 0 << QByteArray("Usage: ") << QByteArray();
    QTest::newRow("version") << QStringList{"--version"} << 0 << QByteArray("tessra-cli 1.00\n") << QByteArray();
    QTest::newRow("unknown option") << QStringList{"--bogus"} << 2 << QByteArray()
                                    << QByteArray("tessra-cli: Unknown option 'bogus'.");
    QTest::newRow("bad value") << QStringList{"--samples", "-3"} << 2 << QByteArray()
                               << QByteArray("tessra-cli: --samples needs");
}

void TestProgram::helpVersionAndBadArguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, outStart);
    QFETCH(QByteArray, errText);

    const Finished finished = runProgram(arguments);
    QCOMPARE(finished.exitCode, exitCode);
    QVERIFY2(finished.out.startsWith(outStart), finished.out);
    if (errText.isEmpty())
        QVERIFY2(finished.err.isEmpty(), finished.err);
    else
        QVERIFY2(finished.err.contains(errText), finished.err);
}

void TestProgram::replaysACaptureFile()
{
    TempWorkDir dir;
    QVERIFY(dir.isValid());
    const DemoCycle cycle(0);
    QByteArray stream;
    for (const QByteArray &frame : cycle.liveFrames() + cycle.storedFrames())
        stream += frame;
    QFile capture(QStringLiteral("meter.bin"));
    QVERIFY(capture.open(QIODevice::WriteOnly));
    capture.write(stream);
    capture.close();

    const Finished finished = runProgram({QStringLiteral("--replay"), capture.fileName()});
    QCOMPARE(finished.exitCode, 0);
    QList<QByteArray> lines = finished.out.split('\n');
    QCOMPARE(lines.takeLast(), QByteArray());
    QCOMPARE(lines.size(), cycle.liveFrames().size() + cycle.storedFrames().size());
    for (int i = 0; i < lines.size(); ++i) {
        const QJsonObject object = QJsonDocument::fromJson(lines.at(i)).object();
        const bool live = i < cycle.liveFrames().size();
        QCOMPARE(object.value(QLatin1String("kind")).toString(), live ? QStringLiteral("live") : QStringLiteral("stored"));
    }
    // Status lines only, and no diagnostic output in between.
    QVERIFY2(finished.err.endsWith("records written.\n"), finished.err);
    QCOMPARE(finished.err.count('\n'), 1);
}

void TestProgram::pathThatIsNoHidDeviceIsRefused_data()
{
    QTest::addColumn<QString>("path");

    QTest::newRow("/dev/null") << "/dev/null";
    QTest::newRow("/dev/zero") << "/dev/zero";
    QTest::newRow("regular file") << "plain.bin";
}

// hidapi would take any of these for a hidraw node and crash on it.
void TestProgram::pathThatIsNoHidDeviceIsRefused()
{
    QFETCH(QString, path);

    TempWorkDir dir;
    QVERIFY(dir.isValid());
    QFile plain(QStringLiteral("plain.bin"));
    QVERIFY(plain.open(QIODevice::WriteOnly) && plain.write("not a meter") > 0);
    plain.close();

    const Finished finished = runProgram({QStringLiteral("--device"), path});
    QCOMPARE(finished.exitStatus, QProcess::NormalExit);
    QCOMPARE(finished.exitCode, 1);
    QVERIFY2(finished.err.contains("Cannot open the meter at " + path.toUtf8() + '.'), finished.err);
}

void TestProgram::signalEndsAFifoReplay_data()
{
    QTest::addColumn<int>("frames"); // sent before the writer falls silent
    QTest::addColumn<int>("signalNumber");

    QTest::newRow("silent writer, SIGTERM") << 0 << SIGTERM;
    QTest::newRow("silent writer, SIGINT") << 0 << SIGINT;
    QTest::newRow("a few frames, SIGTERM") << 3 << SIGTERM;
    QTest::newRow("a few frames, SIGINT") << 3 << SIGINT;
}

// The writer stays open and sends nothing more: a replay that waited for it
// inside a read would never see the signal.
void TestProgram::signalEndsAFifoReplay()
{
    QFETCH(int, frames);
    QFETCH(int, signalNumber);

    TempWorkDir dir;
    QVERIFY(dir.isValid());
    QCOMPARE(::mkfifo("meter.fifo", 0600), 0);
    QProcess process;
    process.start(QStringLiteral(TESSRA_CLI_PROGRAM),
                  {QStringLiteral("--replay"), QStringLiteral("meter.fifo"), QStringLiteral("--output"),
                   QStringLiteral("records.jsonl")});
    FifoWriter writer(QStringLiteral("meter.fifo"));
    QTRY_VERIFY_WITH_TIMEOUT(writer.connect(), waitMs);
    QByteArray stream;
    for (int i = 0; i < frames; ++i)
        stream += FrameBuilder::liveFrame(*SampleRecords::irAt(i, 10.0 + i));
    QVERIFY(writer.write(stream));
    QTRY_COMPARE_WITH_TIMEOUT(lineCount(QStringLiteral("records.jsonl")), frames, waitMs);

    QCOMPARE(::kill(pid_t(process.processId()), signalNumber), 0);
    const Finished finished = waitForExit(process);
    QCOMPARE(finished.exitStatus, QProcess::NormalExit);
    QCOMPARE(finished.exitCode, 0);
    QVERIFY2(finished.err.endsWith(QStringLiteral("%1 live and 0 stored records written.\n").arg(frames).toUtf8()),
             finished.err);
    QCOMPARE(lineCount(QStringLiteral("records.jsonl")), frames);
}

void TestProgram::timeLimitEndsASilentFifoReplay()
{
    TempWorkDir dir;
    QVERIFY(dir.isValid());
    QCOMPARE(::mkfifo("meter.fifo", 0600), 0);
    QProcess process;
    process.start(QStringLiteral(TESSRA_CLI_PROGRAM),
                  {QStringLiteral("--replay"), QStringLiteral("meter.fifo"), QStringLiteral("--time"),
                   QStringLiteral("1")});
    FifoWriter writer(QStringLiteral("meter.fifo"));
    QTRY_VERIFY_WITH_TIMEOUT(writer.connect(), waitMs);

    const Finished finished = waitForExit(process);
    QCOMPARE(finished.exitStatus, QProcess::NormalExit);
    QCOMPARE(finished.exitCode, 0);
    QVERIFY2(finished.err.endsWith("0 live and 0 stored records written.\n"), finished.err);
}

// Each record is in the journal as soon as it is written, and a logger that
// is killed cannot end its session: the window's start-up finds it
// abandoned, with every record written before the kill.
void TestProgram::killedLoggerLeavesItsSessionUnended()
{
    TempWorkDir dir;
    QVERIFY(dir.isValid());
    QCOMPARE(::mkfifo("meter.fifo", 0600), 0);
    QProcess process;
    process.start(QStringLiteral(TESSRA_CLI_PROGRAM),
                  {QStringLiteral("--replay"), QStringLiteral("meter.fifo"), QStringLiteral("--db"),
                   QStringLiteral("j.sqlite"), QStringLiteral("--output"), QStringLiteral("records.jsonl")});
    FifoWriter writer(QStringLiteral("meter.fifo"));
    QTRY_VERIFY_WITH_TIMEOUT(writer.connect(), waitMs);
    const int frames = 3;
    QByteArray stream;
    for (int i = 0; i < frames; ++i)
        stream += FrameBuilder::liveFrame(*SampleRecords::irAt(i, 10.0 + i));
    QVERIFY(writer.write(stream));
    QTRY_COMPARE_WITH_TIMEOUT(lineCount(QStringLiteral("records.jsonl")), frames, waitMs);
    QTRY_COMPARE_WITH_TIMEOUT(journalledReadings(QStringLiteral("j.sqlite")), frames, waitMs);

    process.kill();
    QVERIFY(process.waitForFinished(waitMs));
    QCOMPARE(process.exitStatus(), QProcess::CrashExit);

    JournalWriter window(QStringLiteral("j.sqlite"), QStringLiteral("window"));
    QVERIFY(window.open());
    const QList<JournalSession> abandoned = window.closeAbandonedSessions();
    QCOMPARE(abandoned.size(), 1);
    const JournalSession &session = abandoned.first();
    QCOMPARE(session.source, QStringLiteral("logger"));
    QCOMPARE(session.meterPath, QFileInfo(QStringLiteral("meter.fifo")).absoluteFilePath());
    QVERIFY(!session.cleanEnd);
    QCOMPARE(session.count(JournalReading::Live), frames);
}

void TestProgram::reportsComeFromTheJournal_data()
{
    QTest::addColumn<QStringList>("arguments"); // "ID": the item's test
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("inReport");      // empty: no file is left
    QTest::addColumn<QByteArray>("errText");

    QTest::newRow("a test") << QStringList{"--report", "ID"} << 0 << "Feed pump motor"
                            << QByteArray("1 test reported in report.pdf.");
    QTest::newRow("an item, its tag in any case") << QStringList{"--report-item", "p-7"} << 0 << "P-7"
                                                  << QByteArray("1 test reported");
    QTest::newRow("an item in a period without tests")
        << QStringList{"--report-item", "P-7", "--to", "2001-01-01"} << 5 << "P-7"
        << QByteArray("P-7 has no test in the period; the report report.pdf says so.");
    QTest::newRow("a test the journal lacks") << QStringList{"--report", "999999"} << 1 << QString()
                                              << QByteArray("The journal has no test 999999.");
    QTest::newRow("an item the register lacks") << QStringList{"--report-item", "Q-1"} << 1 << QString()
                                                << QByteArray("The register has no item Q-1.");
    QTest::newRow("over the journal's log") << QStringList{"--report", "ID", "--output", "j.sqlite-wal"} << 2
                                            << QString() << QByteArray("would overwrite a file of the journal");
    QTest::newRow("into a folder that is missing") << QStringList{"--report", "ID", "--output", "no/such/report.pdf"}
                                                   << 1 << QString() << QByteArray("Cannot write the report");
}

// The program as a user runs it for a report: no display, no window.
void TestProgram::reportsComeFromTheJournal()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, inReport);
    QFETCH(QByteArray, errText);

    TempWorkDir dir;
    QVERIFY(dir.isValid());
    const QString journal = QStringLiteral("j.sqlite");
    const qint64 piTest = journalWithAnItemsTest(journal);
    QVERIFY(piTest > 0);
    arguments.replaceInStrings(QRegularExpression(QStringLiteral("^ID$")), QString::number(piTest));
    if (!arguments.contains(QStringLiteral("--output")))
        arguments << QStringLiteral("--output") << QStringLiteral("report.pdf");

    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(TESSRA_CLI_PROGRAM), QStringList{"--db", journal} + arguments);
    const Finished finished = waitForExit(process);
    QCOMPARE(finished.exitCode, exitCode);
    QVERIFY2(finished.err.contains(errText), finished.err);
    const QString output = arguments.at(arguments.indexOf(QStringLiteral("--output")) + 1);
    if (inReport.isEmpty()) {
        QVERIFY(!QFileInfo::exists(output));
        return;
    }
    const QString text = pdfText(output);
    QVERIFY2(text.contains(inReport), qPrintable(text));
}

QTEST_GUILESS_MAIN(TestProgram)
#include "tst_program.moc"
