// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "journal/journalwriter.h"
#include "journal/sessionreader.h"
#include "sim/democycle.h"
#include "sim/framebuilder.h"
#include "support/samplerecords.h"
#include "support/tempworkdir.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
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

QTEST_GUILESS_MAIN(TestProgram)
#include "tst_program.moc"
