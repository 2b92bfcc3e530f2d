// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "cli/csvrecordwriter.h"
#include "cli/loggercli.h"
#include "cli/loggerrun.h"
#include "cli/meterlist.h"
#include "cli/recordjson.h"
#include "cli/replayfeeder.h"
#include "meter/mydmm.h"
#include "models/columnset.h"
#include "models/datamodel.h"
#include "models/modelfactory.h"
#include "sim/democycle.h"
#include "sim/framebuilder.h"
#include "sim/simulatedhid.h"
#include "support/recorddescription.h"
#include "support/samplerecords.h"
#include "support/tempworkdir.h"
#include "util/utils.h"

#include "loggerharness.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTest>

#include <csignal>
#include <iterator>
#include <map>
#include <memory>

#include <unistd.h>

namespace {
const QString firstPath = QStringLiteral("/dev/hidraw-sim0");
const QString secondPath = QStringLiteral("/dev/hidraw-sim1");

QStringList describe(const QList<Written> &records)
{
    QStringList lines;
    for (const Written &record : records)
        lines << RecordWriter::kindName(record.first) + QLatin1Char(' ')
                     + RecordDescription::describe(*record.second).join(QLatin1String(", "));
    return lines;
}

// A line of output without its time stamp, which differs between two decodes.
QJsonObject withoutTime(const QByteArray &line)
{
    QJsonObject object = QJsonDocument::fromJson(line).object();
    object.remove(QLatin1String("time"));
    return object;
}

QList<QJsonObject> withoutTimes(const QList<QByteArray> &lines)
{
    QList<QJsonObject> objects;
    for (const QByteArray &line : lines)
        objects << withoutTime(line);
    return objects;
}

QList<QJsonObject> expectedLines(const QList<Written> &records)
{
    QList<QJsonObject> objects;
    for (const Written &record : records)
        objects << withoutTime(RecordJson::line(record.first, *record.second));
    return objects;
}

QByteArray frameOf(RecordWriter::Kind kind, const DMMData &record)
{
    return kind == RecordWriter::Kind::Live ? FrameBuilder::liveFrame(record) : FrameBuilder::storedFrame(record);
}

QByteArray damaged(QByteArray frame)
{
    frame[frame.size() - 1] = char(frame.at(frame.size() - 1) ^ 0x01);
    return frame;
}

// Older outputs that a run must not touch unless it gets going.
bool writeOldOutputs()
{
    return QDir().mkdir(QStringLiteral("tables")) && writeFile(QStringLiteral("records.jsonl"), "old records\n")
           && writeFile(QStringLiteral("meter.bin"), "old capture")
           && writeFile(QStringLiteral("tables/live-IR.csv"), "old table\n");
}

// A meter that never stops: demonstration rounds, one frame every few
// milliseconds.
class EndlessMeter : public StreamSource
{
public:
    Chunk nextChunk() override
    {
        if (m_frames.isEmpty()) {
            const DemoCycle cycle(m_round++);
            m_frames = cycle.liveFrames() + cycle.storedFrames();
        }
        return {m_frames.takeFirst(), std::chrono::milliseconds(2)};
    }

private:
    QList<QByteArray> m_frames;
    int m_round = 0;
};
} // namespace

class TestLogger : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void listShowsEveryMeter_data();
    void listShowsEveryMeter();
    void meterChoiceAndOpenFailures_data();
    void meterChoiceAndOpenFailures();
    void clashingOutputsAreRefused_data();
    void clashingOutputsAreRefused();
    void deviceOptionPicksTheMeter();
    void jsonlHoldsEveryRecordSent();
    void csvFilesHoldTheWindowTables();
    void captureThenReplayGivesTheSameOutput();
    void captureReplaysToTheRecordsLogged();
    void limitsAndFilters_data();
    void limitsAndFilters();
    void timeLimitEndsTheRun();
    void interruptLosesNothing_data();
    void interruptLosesNothing();
    void lostMeterEndsWithAnError();
    void writeFailuresEndTheRun_data();
    void writeFailuresEndTheRun();
};

void TestLogger::initTestCase()
{
    QCoreApplication::setApplicationName(QStringLiteral("tessra-cli"));
}

void TestLogger::init()
{
    SimulatedHid::reset();
}

void TestLogger::listShowsEveryMeter_data()
{
    QTest::addColumn<QStringList>("paths");
    QTest::newRow("none") << QStringList{};
    QTest::newRow("one") << QStringList{firstPath};
    QTest::newRow("two") << QStringList{firstPath, secondPath};
}

void TestLogger::listShowsEveryMeter()
{
    QFETCH(QStringList, paths);

    QList<VirtualHidDevice> devices;
    QList<QByteArray> expected;
    for (const QString &path : paths) {
        devices << VirtualHidDevice::meter(path);
        expected << QStringLiteral("%1\tSIM-%2\tTessra\tTessra Insulation Tester")
                        .arg(path, path.section(QLatin1Char('/'), -1))
                        .toUtf8();
    }
    VirtualHidDevice mouse = VirtualHidDevice::meter(QStringLiteral("/dev/hidraw-mouse"));
    mouse.vendorId = 0x046D;
    devices << mouse;
    SimulatedHid::setDevices(devices);

    const Outcome outcome = runLogger({QStringLiteral("--list")});
    QCOMPARE(outcome.status, int(LoggerRun::Success));
    QCOMPARE(outcome.lines(), expected);
    QCOMPARE(outcome.err.contains(QLatin1String("No meter found")), paths.isEmpty());
}

void TestLogger::meterChoiceAndOpenFailures_data()
{
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<bool>("openFails");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("messages");

    const QStringList jsonl{"--output", "records.jsonl", "--capture", "meter.bin"};
    const QStringList csv{"--format", "csv", "--output", "tables", "--capture", "meter.bin"};
    QTest::newRow("no meter") << QStringList{} << false << jsonl << QStringList{"No meter found"};
    QTest::newRow("several, none chosen") << QStringList{firstPath, secondPath} << false << jsonl
                                          << QStringList{"--device", firstPath, secondPath};
    QTest::newRow("open fails") << QStringList{firstPath} << true << jsonl
                                << QStringList{"Cannot open the meter at " + firstPath, "udev"};
    QTest::newRow("open fails, csv") << QStringList{firstPath} << true << csv
                                     << QStringList{"Cannot open the meter at " + firstPath};
    QTest::newRow("no meter at the chosen path") << QStringList{firstPath} << false
                                                 << QStringList{"--device", "/dev/hidraw-none"} + jsonl
                                                 << QStringList{"Cannot open the meter at /dev/hidraw-none"};
    QTest::newRow("replay file missing") << QStringList{firstPath} << false
                                         << QStringList{"--replay", "missing.bin"} + jsonl
                                         << QStringList{"Cannot read missing.bin"};
}

// A run that cannot get going leaves the files of earlier runs byte for
// byte as they were: outputs are created only once the source is open.
void TestLogger::meterChoiceAndOpenFailures()
{
    QFETCH(QStringList, paths);
    QFETCH(bool, openFails);
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, messages);

    TempWorkDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(writeOldOutputs());
    const QMap<QString, QByteArray> before = filesUnder();
    for (const QString &path : paths) {
        SimulatedHid::addDevice(VirtualHidDevice::meter(path));
        SimulatedHid::setOpenFails(path, openFails);
    }

    const Outcome outcome = runLogger(arguments);
    QCOMPARE(outcome.status, int(LoggerRun::Failure));
    for (const QString &message : messages)
        QVERIFY2(outcome.err.contains(message), qPrintable(outcome.err));
    QVERIFY(outcome.out.isEmpty());
    QCOMPARE(SimulatedHid::openHandleCount(), 0);
    QCOMPARE(filesUnder(), before);
}

void TestLogger::clashingOutputsAreRefused_data()
{
    QTest::addColumn<QStringList>("arguments"); // "@/" stands for the working directory
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");

    const int refused = LoggerRun::UsageError;
    const QString overwrite = QStringLiteral("would overwrite the stream that --replay");
    const QString same = QStringLiteral("name the same file");
    QTest::newRow("capture is the replayed file") << QStringList{"--replay", "stream.bin", "--capture", "stream.bin"}
                                                  << refused << "--capture stream.bin " + overwrite;
    QTest::newRow("output is the replayed file") << QStringList{"--replay", "stream.bin", "--output", "stream.bin"}
                                                 << refused << "--output stream.bin " + overwrite;
    QTest::newRow("./ spelling") << QStringList{"--replay", "stream.bin", "--output", "./stream.bin"} << refused
                                 << overwrite;
    QTest::newRow("absolute against relative") << QStringList{"--replay", "stream.bin", "--capture", "@/stream.bin"}
                                               << refused << overwrite;
    QTest::newRow(".. spelling") << QStringList{"--replay", "sub/../stream.bin", "--output", "stream.bin"} << refused
                                 << overwrite;
    QTest::newRow("symbolic link") << QStringList{"--replay", "link.bin", "--output", "stream.bin"} << refused
                                   << overwrite;
    QTest::newRow("hard link") << QStringList{"--replay", "stream.bin", "--capture", "hard.bin"} << refused
                               << overwrite;
    QTest::newRow("capture and output, existing")
        << QStringList{"--capture", "records.jsonl", "--output", "@/sub/../records.jsonl"} << refused << same;
    QTest::newRow("capture and output, yet to be created")
        << QStringList{"--capture", "new.out", "--output", "./sub/../new.out"} << refused << same;
    QTest::newRow("capture and output through a dangling link")
        << QStringList{"--capture", "dangling.bin", "--output", "sub/target.bin"} << refused << same;
    QTest::newRow("csv: capture is a mode file")
        << QStringList{"--format", "csv", "--output", "tables", "--capture", "tables/stored-PI.csv"} << refused
        << "--capture tables/stored-PI.csv and --output tables (its file stored-PI.csv) " + same;
    QTest::newRow("csv: replayed file is a mode file")
        << QStringList{"--format", "csv", "--output", "@/tables/", "--replay", "tables/live-IR.csv"} << refused
        << "(its file live-IR.csv) " + overwrite;
    QTest::newRow("output is the journal") << QStringList{"--replay", "stream.bin", "--db", "j.sqlite", "--output",
                                                          "./j.sqlite"}
                                           << refused << "--db j.sqlite and --output ./j.sqlite " + same;
    QTest::newRow("capture is the journal")
        << QStringList{"--replay", "stream.bin", "--db", "@/j.sqlite", "--capture", "j.sqlite"} << refused
        << "--capture j.sqlite and --db";
    QTest::newRow("csv: journal is a mode file")
        << QStringList{"--format", "csv", "--output", "tables", "--db", "tables/live-IR.csv"} << refused
        << "--db tables/live-IR.csv and --output tables (its file live-IR.csv) " + same;
    QTest::newRow("journal is the replayed file") << QStringList{"--replay", "stream.bin", "--db", "hard.bin"}
                                                  << refused << "--db hard.bin " + overwrite;
    QTest::newRow("session printed over its journal")
        << QStringList{"--db", "records.jsonl", "--session", "1", "--output", "records.jsonl"} << refused << same;
    const QString journalFile = QStringLiteral("would overwrite a file of the journal");
    QTest::newRow("output is the journal's log") << QStringList{"--replay", "stream.bin", "--db", "j.sqlite",
                                                                "--output", "j.sqlite-wal"}
                                                 << refused << "--output j.sqlite-wal " + journalFile;
    QTest::newRow("capture is the journal's index of the log")
        << QStringList{"--replay", "stream.bin", "--db", "j.sqlite", "--capture", "./j.sqlite-shm"} << refused
        << "--capture ./j.sqlite-shm and --db j.sqlite (its file j.sqlite-shm) " + same;
    QTest::newRow("output is the journal's rollback file, spelled absolute")
        << QStringList{"--replay", "stream.bin", "--db", "j.sqlite", "--output", "@/j.sqlite-journal"} << refused
        << journalFile;
    QTest::newRow("output is the log of the journal a link names")
        << QStringList{"--replay", "stream.bin", "--db", "journal-link.sqlite", "--output", "sub/j.sqlite-wal"}
        << refused << journalFile;
    QTest::newRow("/dev/null for both outputs is fine")
        << QStringList{"--replay", "stream.bin", "--output", "/dev/null", "--capture", "/dev/null"}
        << int(LoggerRun::Success) << "1 live and 0 stored records written";
}

// Refused before anything is opened, so no file changes, not even the
// replayed stream.
void TestLogger::clashingOutputsAreRefused()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, message);

    TempWorkDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(writeOldOutputs());
    QVERIFY(QDir().mkdir(QStringLiteral("sub")));
    const QByteArray frame = FrameBuilder::liveFrame(*SampleRecords::ir());
    QVERIFY(writeFile(QStringLiteral("stream.bin"), frame));
    QVERIFY(writeFile(QStringLiteral("tables/live-IR.csv"), frame));
    QVERIFY(QFile::link(QStringLiteral("stream.bin"), QStringLiteral("link.bin")));
    QVERIFY(QFile::link(QStringLiteral("sub/target.bin"), QStringLiteral("dangling.bin")));
    QCOMPARE(::link("stream.bin", "hard.bin"), 0);
    QVERIFY(QFile::link(QStringLiteral("sub/j.sqlite"), QStringLiteral("journal-link.sqlite")));
    const QMap<QString, QByteArray> before = filesUnder();
    arguments.replaceInStrings(QStringLiteral("@/"), QDir::currentPath() + QLatin1Char('/'));

    const Outcome outcome = runLogger(arguments);
    QCOMPARE(outcome.status, status);
    QVERIFY2(outcome.err.contains(message), qPrintable(outcome.err));
    if (status == LoggerRun::UsageError)
        QVERIFY2(outcome.err.contains(QLatin1String("--help")), qPrintable(outcome.err));
    QCOMPARE(filesUnder(), before);
}

void TestLogger::deviceOptionPicksTheMeter()
{
    SimulatedHid::setDevices({VirtualHidDevice::meter(firstPath), VirtualHidDevice::meter(secondPath)});
    const auto fromFirst = SampleRecords::res();
    const auto fromSecond = SampleRecords::volt();
    const Hook send = [&](LoggerCli &, int) {
        SimulatedHid::queueStream(firstPath, FrameBuilder::liveFrame(*fromFirst));
        SimulatedHid::queueStream(secondPath, FrameBuilder::liveFrame(*fromSecond));
    };

    const Outcome outcome = runLogger({"--device", secondPath, "--samples", "1"}, send);
    QCOMPARE(outcome.status, int(LoggerRun::Success));
    QCOMPARE(outcome.lines().size(), 1);
    QCOMPARE(withoutTime(outcome.lines().first()).value(QLatin1String("mode")).toString(), QStringLiteral("VOLT"));
}

void TestLogger::jsonlHoldsEveryRecordSent()
{
    SimulatedHid::addDevice(VirtualHidDevice::meter(firstPath));
    const QByteArray stream = demoStream();
    const QList<Written> sent = decode(stream);
    int live = 0;
    for (const Written &record : sent)
        live += record.first == RecordWriter::Kind::Live ? 1 : 0;

    const Outcome outcome = runLogger({}, sendStream(firstPath, stream), stopAfter(sent.size()));
    QCOMPARE(outcome.status, int(LoggerRun::Success));
    QCOMPARE(describe(outcome.written), describe(sent));

    const QList<QByteArray> lines = outcome.lines();
    QCOMPARE(lines.size(), sent.size());
    for (int i = 0; i < lines.size(); ++i) {
        const QJsonObject object = QJsonDocument::fromJson(lines.at(i)).object();
        const QSharedPointer<DMMData> record = outcome.written.at(i).second;
        QCOMPARE(withoutTime(lines.at(i)), withoutTime(RecordJson::line(outcome.written.at(i).first, *record)));
        // The decode time, to the millisecond, with the offset of its zone.
        const QDateTime stamp = QDateTime::fromString(object.value(QLatin1String("time")).toString(),
                                                      Qt::ISODateWithMs);
        QCOMPARE(stamp, record->dateTime);
    }
    const QString summary = QStringLiteral("%1 live and %2 stored records written").arg(live).arg(sent.size() - live);
    QVERIFY2(outcome.err.contains(summary), qPrintable(outcome.err));
}

void TestLogger::csvFilesHoldTheWindowTables()
{
    TempWorkDir dir;
    QVERIFY(dir.isValid());
    SimulatedHid::addDevice(VirtualHidDevice::meter(firstPath));
    const QByteArray stream = demoStream() + demoStream();
    const int total = decode(stream).size();

    const Outcome outcome = runLogger({"--format", "csv", "--output", "tables"}, sendStream(firstPath, stream),
                                      stopAfter(total));
    QCOMPARE(outcome.status, int(LoggerRun::Success));
    QVERIFY(outcome.out.isEmpty());
    QCOMPARE(outcome.written.size(), total);

    // Each file as the window would export a table holding the same records.
    const ColumnSet columns;
    std::map<QString, std::unique_ptr<DataModel>> tables;
    for (const Written &record : outcome.written) {
        const int mode = record.second->mode;
        std::unique_ptr<DataModel> &table = tables[CsvRecordWriter::fileName(record.first, mode)];
        if (!table)
            table = record.first == RecordWriter::Kind::Live
                        ? ModelFactory::createLiveModel(mode, columns.columns(mode))
                        : ModelFactory::createStoredModel(mode, columns.columns(mode));
        table->addData(record.second);
    }
    QStringList expectedFiles;
    for (const auto &[name, table] : tables) {
        expectedFiles << name;
        QVERIFY(Utils::exportToCSV(table.get(), QStringLiteral("expected.csv")));
        QCOMPARE(readAll(QStringLiteral("tables/") + name), readAll(QStringLiteral("expected.csv")));
    }
    expectedFiles.sort();
    QCOMPARE(QDir(QStringLiteral("tables")).entryList(QDir::Files, QDir::Name), expectedFiles);
    QCOMPARE(expectedFiles.size(), 16);
}

void TestLogger::captureThenReplayGivesTheSameOutput()
{
    TempWorkDir dir;
    QVERIFY(dir.isValid());
    SimulatedHid::addDevice(VirtualHidDevice::meter(firstPath));
    // Noise and a frame with a bad checksum belong to the stream as well.
    QByteArray broken = FrameBuilder::liveFrame(*SampleRecords::ir());
    broken[broken.size() - 1] = char(broken.at(broken.size() - 1) ^ 0x01);
    const QByteArray stream = QByteArray("\x00\xAB\x17", 3) + broken + demoStream();
    const int total = decode(stream).size();

    const Outcome logged = runLogger({"--capture", "meter.bin"}, sendStream(firstPath, stream), stopAfter(total));
    QCOMPARE(logged.status, int(LoggerRun::Success));
    QCOMPARE(readAll(QStringLiteral("meter.bin")), stream);

    const Outcome replayed = runLogger({"--replay", "meter.bin"});
    QCOMPARE(replayed.status, int(LoggerRun::Success));
    QCOMPARE(replayed.lines().size(), total);
    QCOMPARE(withoutTimes(replayed.lines()), withoutTimes(logged.lines()));
}

// The meter's 63-byte reports and a replay's 4 KiB chunks cut the stream in
// different places, damaged frames among them: the records must not depend
// on it, nor wait for bytes that never come at the end of either.
void TestLogger::captureReplaysToTheRecordsLogged()
{
    TempWorkDir dir;
    QVERIFY(dir.isValid());
    SimulatedHid::addDevice(VirtualHidDevice::meter(firstPath));
    QByteArray stream;
    QList<QJsonObject> expected;
    const auto add = [&](const QByteArray &frame, bool good) {
        stream += good ? frame : damaged(frame);
        if (good)
            expected += expectedLines(decode(frame));
    };
    // A cycle of rounds, one per test voltage: tens of kilobytes, read in
    // some seconds at the meter's pace, well within the time limit below.
    for (int round = 0; round < int(std::size(DemoCycle::testVoltages)); ++round) {
        const DemoCycle cycle(round);
        const QList<QByteArray> frames = cycle.liveFrames() + cycle.storedFrames();
        for (int i = 0; i < frames.size(); ++i)
            add(frames.at(i), (round * frames.size() + i) % 7 != 3);
    }
    // The last report holds a damaged frame and a good one behind it.
    const QByteArray last = FrameBuilder::liveFrame(*SampleRecords::volt());
    QVERIFY(2 * last.size() <= SimulatedHid::maxStreamBytes);
    stream += QByteArray(SimulatedHid::maxStreamBytes - stream.size() % SimulatedHid::maxStreamBytes, '\0');
    add(last, false);
    add(last, true);
    QVERIFY(stream.size() > 3 * ReplayFeeder::chunkSize);

    // The time limit only bounds the session should records go missing.
    const Outcome logged = runLogger({"--time", "20", "--capture", "c.bin", "--output", "live.jsonl"},
                                     sendStream(firstPath, stream), stopAfter(expected.size()));
    QCOMPARE(logged.status, int(LoggerRun::Success));
    const Outcome replayed = runLogger({"--replay", "c.bin", "--output", "replay.jsonl"});
    QCOMPARE(replayed.status, int(LoggerRun::Success));

    QCOMPARE(readAll(QStringLiteral("c.bin")), stream);
    const QList<QJsonObject> live = withoutTimes(linesOf(readAll(QStringLiteral("live.jsonl"))));
    QCOMPARE(live, expected);
    QCOMPARE(withoutTimes(linesOf(readAll(QStringLiteral("replay.jsonl")))), live);
}

void TestLogger::limitsAndFilters_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QList<int>>("written");

    // The stream: 0 live IR testing, 1 live IR idle, 2 stored RES,
    // 3 live VOLT, 4 live IR testing, 5 stored PI.
    QTest::newRow("everything") << QStringList{} << QList<int>{0, 1, 2, 3, 4, 5};
    QTest::newRow("samples 2 ends the run at once") << QStringList{"--samples", "2"} << QList<int>{0, 1};
    QTest::newRow("samples 3 counts live records only") << QStringList{"--samples", "3"}
                                                        << QList<int>{0, 1, 2, 3};
    QTest::newRow("live only") << QStringList{"--live-only"} << QList<int>{0, 1, 3, 4};
    QTest::newRow("stored only") << QStringList{"--stored-only"} << QList<int>{2, 5};
    QTest::newRow("test time only, VOLT excepted") << QStringList{"--test-time-only"}
                                                   << QList<int>{0, 2, 3, 4, 5};
    QTest::newRow("test time only with samples") << QStringList{"--test-time-only", "--samples", "2"}
                                                 << QList<int>{0, 2, 3};
    QTest::newRow("a long interval lets the first live record through")
        << QStringList{"--interval", "3600000"} << QList<int>{0, 2, 5};
}

void TestLogger::limitsAndFilters()
{
    QFETCH(QStringList, arguments);
    QFETCH(QList<int>, written);

    TempWorkDir dir;
    QVERIFY(dir.isValid());
    const auto testing = SampleRecords::ir();
    testing->testing = true;
    const auto idle = SampleRecords::ir();
    idle->resistance.value = 1.5;
    const auto volt = SampleRecords::volt();
    volt->testing = false;
    const QByteArray stream = frameOf(RecordWriter::Kind::Live, *testing) + frameOf(RecordWriter::Kind::Live, *idle)
                              + frameOf(RecordWriter::Kind::Stored, *SampleRecords::res())
                              + frameOf(RecordWriter::Kind::Live, *volt) + frameOf(RecordWriter::Kind::Live, *testing)
                              + frameOf(RecordWriter::Kind::Stored, *SampleRecords::pi());
    QVERIFY(writeFile(QStringLiteral("stream.bin"), stream));
    const QList<Written> sent = decode(stream);
    QCOMPARE(sent.size(), 6);
    QVERIFY(sent.at(3).second->testing); // a VOLT reading always counts as testing

    QList<Written> expected;
    for (const int index : written)
        expected << sent.at(index);

    const Outcome outcome = runLogger(QStringList{"--replay", "stream.bin"} + arguments);
    QCOMPARE(outcome.status, int(LoggerRun::Success));
    QCOMPARE(withoutTimes(outcome.lines()), expectedLines(expected));
}

void TestLogger::timeLimitEndsTheRun()
{
    SimulatedHid::addDevice(VirtualHidDevice::meter(firstPath));

    const Outcome outcome = runLogger({"--time", "0.2"});
    QCOMPARE(outcome.status, int(LoggerRun::Success));
    QVERIFY(outcome.out.isEmpty());
    QVERIFY2(outcome.err.contains(QLatin1String("0 live and 0 stored records written")), qPrintable(outcome.err));
    QCOMPARE(SimulatedHid::openHandleCount(), 0);
}

void TestLogger::interruptLosesNothing_data()
{
    QTest::addColumn<int>("signalNumber"); // 0: the stop request itself
    QTest::newRow("stop request") << 0;
    QTest::newRow("SIGINT") << SIGINT;
    QTest::newRow("SIGTERM") << SIGTERM;
}

// Whatever reached the computer before the stop is written: the capture
// holds every byte received, and decodes into exactly the records written.
void TestLogger::interruptLosesNothing()
{
    QFETCH(int, signalNumber);

    TempWorkDir dir;
    QVERIFY(dir.isValid());
    SimulatedHid::addDevice(VirtualHidDevice::meter(firstPath));
    const Hook start = [](LoggerCli &, int) {
        SimulatedHid::attachSource(firstPath, std::make_shared<EndlessMeter>());
    };
    const Hook interrupt = [signalNumber](LoggerCli &cli, int written) {
        if (written != 5)
            return;
        if (signalNumber == 0)
            cli.requestStop();
        else
            std::raise(signalNumber);
    };

    const Outcome outcome = runLogger({"--capture", "meter.bin"}, start, interrupt);
    QCOMPARE(outcome.status, int(LoggerRun::Success));
    QVERIFY(outcome.written.size() >= 5);
    QCOMPARE(outcome.lines().size(), outcome.written.size());
    QVERIFY(outcome.out.endsWith('\n'));
    QCOMPARE(describe(decode(readAll(QStringLiteral("meter.bin")))), describe(outcome.written));
    QCOMPARE(SimulatedHid::openHandleCount(), 0);
}

void TestLogger::lostMeterEndsWithAnError()
{
    SimulatedHid::addDevice(VirtualHidDevice::meter(firstPath));
    const QByteArray stream = demoStream();
    const Hook unplug = [](LoggerCli &, int written) {
        if (written == 3)
            SimulatedHid::unplug(firstPath);
    };

    // The time limit only bounds the run should the loss go unnoticed.
    const Outcome outcome = runLogger({"--time", "5"}, sendStream(firstPath, stream), unplug);
    QVERIFY(outcome.written.size() >= 3);
    QCOMPARE(outcome.lines().size(), outcome.written.size());
    QCOMPARE(outcome.status, int(LoggerRun::MeterLost));
    QVERIFY2(outcome.err.contains(QLatin1String("The meter was lost")), qPrintable(outcome.err));
}

void TestLogger::writeFailuresEndTheRun_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");

    QTest::newRow("jsonl to a full disk") << QStringList{"--output", "/dev/full"} << "/dev/full";
    QTest::newRow("capture to a full disk") << QStringList{"--capture", "/dev/full"} << "capture /dev/full";
    QTest::newRow("output file cannot be created") << QStringList{"--output", "missing/records.jsonl"}
                                                   << "Cannot write missing/records.jsonl";
    QTest::newRow("csv directory is a file") << QStringList{"--format", "csv", "--output", "taken"}
                                             << "Cannot create the directory";
    QTest::newRow("capture cannot be created") << QStringList{"--capture", "missing/meter.bin"}
                                               << "capture missing/meter.bin";
}

void TestLogger::writeFailuresEndTheRun()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);

    if (!QFile::exists(QStringLiteral("/dev/full")))
        QSKIP("/dev/full is not available here");
    TempWorkDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(writeFile(QStringLiteral("taken"), "a file, not a directory"));
    SimulatedHid::addDevice(VirtualHidDevice::meter(firstPath));

    // The time limit only bounds the run should the failure go unnoticed.
    const Outcome outcome = runLogger(QStringList{"--time", "10"} + arguments, sendStream(firstPath, demoStream()));
    QCOMPARE(outcome.status, int(LoggerRun::Failure));
    QVERIFY2(outcome.err.contains(message), qPrintable(outcome.err));
    QCOMPARE(SimulatedHid::openHandleCount(), 0);
}

QTEST_GUILESS_MAIN(TestLogger)
#include "tst_logger.moc"
