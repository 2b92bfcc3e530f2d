// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "cli/loggerrun.h"
#include "cli/recordjson.h"
#include "journal/journaldatabase.h"
#include "journal/journalschema.h"
#include "journal/journalwriter.h"
#include "journal/readingstore.h"
#include "journal/sessionreader.h"
#include "journal/sessionstore.h"
#include "journal/teststore.h"
#include "sim/framebuilder.h"
#include "support/recorddescription.h"
#include "support/samplerecords.h"
#include "support/tempworkdir.h"

#include "loggerharness.h"

#include <QFileInfo>
#include <QHash>
#include <QJsonDocument>
#include <QJsonArray>
#include <QJsonObject>
#include <QSet>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <csignal>

namespace {
const QString firstPath = QStringLiteral("/dev/hidraw-sim0");
const QString secondPath = QStringLiteral("/dev/hidraw-sim1");
const QString journal = QStringLiteral("j.sqlite");

// Each record with its kind, its decode time to the millisecond and its fields.
QStringList describe(const QList<Written> &records)
{
    QStringList lines;
    for (const Written &record : records)
        lines << QStringLiteral("%1 %2 %3")
                     .arg(RecordWriter::kindName(record.first),
                          record.second->dateTime.toString(Qt::ISODateWithMs),
                          RecordDescription::describe(*record.second).join(QLatin1String(", ")));
    return lines;
}

struct Journalled
{
    JournalSession session;
    QList<Written> records;
};

// The journal's sessions, the oldest first, each with its records decoded
// again in the order they were kept.
QList<Journalled> readJournal()
{
    SessionReader reader(journal);
    QList<Journalled> all;
    if (!reader.open())
        return all;
    QList<JournalSession> sessions = reader.sessions();
    std::reverse(sessions.begin(), sessions.end());
    for (const JournalSession &session : qAsConst(sessions)) {
        Journalled entry{session, {}};
        reader.forEachReading(session.id, [&entry](const JournalReading &reading) {
            const bool live = reading.kind == JournalReading::Live;
            entry.records.append({live ? RecordWriter::Kind::Live : RecordWriter::Kind::Stored, reading.record()});
            return true;
        });
        all.append(entry);
    }
    return all;
}

QJsonObject countsOf(const QList<Written> &records)
{
    QJsonObject live;
    QJsonObject stored;
    for (const Written &record : records) {
        QJsonObject &counts = record.first == RecordWriter::Kind::Live ? live : stored;
        const QString mode = DMMData::modeName(record.second->mode);
        counts.insert(mode, counts.value(mode).toInt() + 1);
    }
    return {{QStringLiteral("live"), live}, {QStringLiteral("stored"), stored}};
}

JournalReading readingOf(JournalReading::Kind kind, const DMMData &record)
{
    JournalReading reading;
    reading.kind = kind;
    reading.timeMs = record.dateTime.toMSecsSinceEpoch();
    reading.frame = kind == JournalReading::Live ? FrameBuilder::liveFrame(record) : FrameBuilder::storedFrame(record);
    return reading;
}

// A session as a program that was killed leaves it: in the journal with its
// readings, never ended.
qint64 insertUnendedSession(const JournalSession &session, const QList<JournalReading> &readings)
{
    JournalDatabase database(journal);
    if (!database.open())
        return -1;
    SessionStore sessions(database.connection());
    ReadingStore store(database.connection());
    const qint64 id = sessions.create(session);
    for (int i = 0; id > 0 && i < readings.size(); ++i) {
        if (!store.append(id, i, readings.at(i)))
            return -1;
    }
    return id;
}

bool writeValidJournal()
{
    JournalWriter writer(journal, QStringLiteral("logger"));
    if (!writer.open())
        return false;
    HIDDevInfo meter;
    meter.path = firstPath;
    meter.serialNumber = meter.manufacturer = meter.product = QStringLiteral("");
    writer.beginSession(meter);
    writer.write(readingOf(JournalReading::Live, *SampleRecords::ir()));
    const bool written = writer.sessionId() > 0 && writer.unwritten() == 0;
    writer.endSession();
    return written;
}

bool writeNewerJournal()
{
    JournalDatabase database(journal);
    if (!database.open())
        return false;
    QSqlQuery query(database.connection());
    query.prepare(QStringLiteral("UPDATE journal_info SET value = ? WHERE name IN ('version', 'oldest_reader')"));
    query.addBindValue(JournalSchema::currentVersion() + 1);
    const bool changed = query.exec() && query.numRowsAffected() == 2;
    query.finish();
    return changed;
}

// "none", "text", "damaged", "newer" or "valid".
bool makeJournal(const QString &kind)
{
    if (kind == QLatin1String("text"))
        return writeFile(journal, "my notes on the bench\n");
    if (kind == QLatin1String("damaged"))
        return writeFile(journal, QByteArray("SQLite format 3\0", 16) + QByteArray(4080, '\xA5'));
    if (kind == QLatin1String("newer"))
        return writeNewerJournal();
    if (kind == QLatin1String("valid"))
        return writeValidJournal();
    return true;
}

// Another program in the middle of writing the journal, which keeps it
// locked for writers while it lives.
class JournalLock
{
public:
    JournalLock()
    {
        QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
        database.setDatabaseName(journal);
        m_locked = database.open() && QSqlQuery(database).exec(QStringLiteral("BEGIN EXCLUSIVE"));
    }
    ~JournalLock()
    {
        {
            QSqlDatabase database = QSqlDatabase::database(connectionName, false);
            QSqlQuery(database).exec(QStringLiteral("ROLLBACK"));
            database.close();
        }
        QSqlDatabase::removeDatabase(connectionName);
    }
    JournalLock(const JournalLock &) = delete;
    JournalLock &operator=(const JournalLock &) = delete;

    bool isLocked() const { return m_locked; }

private:
    static inline const QString connectionName = QStringLiteral("another program");
    bool m_locked = false;
};
// An output that, as each record reaches it, counts what the journal file
// already holds, through a connection of its own as another program would.
class JournalWatchingWriter : public RecordWriter
{
public:
    bool write(Kind, const QSharedPointer<DMMData> &) override
    {
        QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("watch"));
        database.setDatabaseName(journal);
        QSqlQuery query(database);
        const int kept = database.open() && query.exec(QStringLiteral("SELECT count(*) FROM readings")) && query.next()
            ? query.value(0).toInt()
            : -1;
        query = QSqlQuery();
        database = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("watch"));
        keptWhenPrinted << kept;
        return true;
    }
    QString errorString() const override { return QString(); }

    QList<int> keptWhenPrinted;
};
} // namespace

class TestJournal : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void replayReadsBackAsItWasWritten_data();
    void replayReadsBackAsItWasWritten();
    void listSessionsShowsEverySession();
    void listTestsShowsEveryTestWithItsVerdict();
    void listTestsPredictsThePi_data();
    void listTestsPredictsThePi();
    void meterRunJournalsWhatIsWritten_data();
    void meterRunJournalsWhatIsWritten();
    void unusableJournalChangesNothing_data();
    void unusableJournalChangesNothing();
    void lockedJournalLetsTheRunGoOn();
    void recordIsInTheJournalBeforeItIsPrinted();
};

void TestJournal::initTestCase()
{
    QCoreApplication::setApplicationName(QStringLiteral("tessra-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.00"));
}

void TestJournal::init()
{
    SimulatedHid::reset();
}

void TestJournal::replayReadsBackAsItWasWritten_data()
{
    QTest::addColumn<bool>("csv");
    QTest::addColumn<QStringList>("rules");

    QTest::newRow("jsonl") << false << QStringList{};
    QTest::newRow("csv") << true << QStringList{};
    QTest::newRow("jsonl, samples") << false << QStringList{"--samples", "11"};
    QTest::newRow("jsonl, a long interval") << false << QStringList{"--interval", "3600000"};
    QTest::newRow("jsonl, stored only") << false << QStringList{"--stored-only"};
    QTest::newRow("csv, live only during tests") << true << QStringList{"--live-only", "--test-time-only"};
}

// The journal keeps exactly what the logger wrote, after its rules, and
// prints it back byte for byte: the same records, with their own times.
void TestJournal::replayReadsBackAsItWasWritten()
{
    QFETCH(bool, csv);
    QFETCH(QStringList, rules);

    TempWorkDir dir;
    QVERIFY(dir.isValid());
    QByteArray stream;
    for (int round = 0; round < 3; ++round)
        stream += demoStream(round);
    QVERIFY(writeFile(QStringLiteral("stream.bin"), stream));
    QVERIFY(writeFile(QStringLiteral("other.bin"), demoStream(3)));
    // An earlier session, so that the id has to pick the right one.
    QCOMPARE(runLogger({"--replay", "other.bin", "--db", journal}).status, int(LoggerRun::Success));

    const QStringList direct = csv ? QStringList{"--format", "csv", "--output", "direct"} : QStringList{};
    const Outcome logged = runLogger(QStringList{"--replay", "stream.bin", "--db", journal} + rules + direct);
    QCOMPARE(logged.status, int(LoggerRun::Success));
    QVERIFY(!logged.written.isEmpty());
    const QList<Journalled> sessions = readJournal();
    QCOMPARE(sessions.size(), 2);
    const QString id = QString::number(sessions.last().session.id);

    const QStringList back = csv ? QStringList{"--format", "csv", "--output", "back"} : QStringList{};
    const Outcome readBack = runLogger(QStringList{"--db", journal, "--session", id} + back);
    QCOMPARE(readBack.status, int(LoggerRun::Success));
    if (csv) {
        QVERIFY(!filesUnder(QStringLiteral("direct")).isEmpty());
        QCOMPARE(filesUnder(QStringLiteral("back")), filesUnder(QStringLiteral("direct")));
        QVERIFY(readBack.out.isEmpty());
    } else {
        QCOMPARE(logged.lines().size(), logged.written.size());
        QCOMPARE(readBack.out, logged.out);
    }
}

void TestJournal::listSessionsShowsEverySession()
{
    TempWorkDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(writeFile(QStringLiteral("stream.bin"), demoStream()));
    const Outcome logged = runLogger({"--replay", "stream.bin", "--db", journal, "--output", "/dev/null"});
    QCOMPARE(logged.status, int(LoggerRun::Success));

    // Kept after the logger's session but started before it.
    JournalSession killed;
    killed.uuid = QStringLiteral("0f6c2f3e-5a4b-4c1d-9e8f-7a6b5c4d3e2f");
    killed.source = QStringLiteral("window");
    killed.startedMs = SampleRecords::baseTime().toMSecsSinceEpoch() + 123;
    killed.meterPath = QStringLiteral("/dev/hidraw3");
    killed.serialNumber = QStringLiteral("TS-0042");
    killed.manufacturer = QStringLiteral("Tessra");
    killed.product = QString::fromUtf8("Prüfgerät \"B\"");
    killed.programVersion = QStringLiteral("0.9");
    const qint64 id = insertUnendedSession(killed, {readingOf(JournalReading::Live, *SampleRecords::ir()),
                                                    readingOf(JournalReading::Stored, *SampleRecords::pi()),
                                                    readingOf(JournalReading::Live, *SampleRecords::ir())});
    QVERIFY(id > 0);

    const Outcome listed = runLogger({"--db", journal, "--list-sessions"});
    QCOMPARE(listed.status, int(LoggerRun::Success));
    const QList<QByteArray> lines = listed.lines();
    QCOMPARE(lines.size(), 2);

    const QString started = RecordJson::timestamp(QDateTime::fromMSecsSinceEpoch(killed.startedMs));
    QCOMPARE(QDateTime::fromString(started, Qt::ISODateWithMs).toMSecsSinceEpoch(), killed.startedMs);
    const QByteArray expected =
        QString::fromUtf8(R"({"id":%1,"uuid":"0f6c2f3e-5a4b-4c1d-9e8f-7a6b5c4d3e2f","source":"window",)"
                          R"("started":"%2","ended":null,"cleanEnd":false,"meter":{"path":"/dev/hidraw3",)"
                          R"("serialNumber":"TS-0042","manufacturer":"Tessra","product":"Prüfgerät \"B\""},)"
                          R"("programVersion":"0.9","counts":{"live":{"IR":2},"stored":{"PI":1}}})")
            .arg(id)
            .arg(started)
            .toUtf8();
    QCOMPARE(lines.at(0), expected);

    const QJsonObject logger = QJsonDocument::fromJson(lines.at(1)).object();
    QCOMPARE(logger.value(QLatin1String("source")).toString(), QStringLiteral("logger"));
    QVERIFY(logger.value(QLatin1String("cleanEnd")).toBool());
    QCOMPARE(logger.value(QLatin1String("programVersion")).toString(), QStringLiteral("1.00"));
    const QJsonObject meter = logger.value(QLatin1String("meter")).toObject();
    QCOMPARE(meter.value(QLatin1String("path")).toString(), QFileInfo(QStringLiteral("stream.bin")).absoluteFilePath());
    QCOMPARE(meter.value(QLatin1String("serialNumber")).toString(), QString());
    QCOMPARE(logger.value(QLatin1String("counts")).toObject(), countsOf(logged.written));
    // The session spans every record written.
    const auto momentOf = [&logger](const char *key) {
        return QDateTime::fromString(logger.value(QLatin1String(key)).toString(), Qt::ISODateWithMs);
    };
    QVERIFY(momentOf("started").isValid() && momentOf("ended").isValid());
    QVERIFY(momentOf("started") <= logged.written.constFirst().second->dateTime);
    QVERIFY(momentOf("ended") >= logged.written.constLast().second->dateTime);
}

enum Ending { Limit, Interrupt, Unplug };

// A logged run is cut into tests when they are first listed; details given
// in the window come with them, and the verdict follows from them.
void TestJournal::listTestsShowsEveryTestWithItsVerdict()
{
    TempWorkDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(writeFile(QStringLiteral("stream.bin"), demoStream(1) + demoStream(2)));
    QCOMPARE(runLogger({"--replay", "stream.bin", "--db", journal, "--output", "/dev/null"}).status,
             int(LoggerRun::Success));

    const Outcome first = runLogger({"--db", journal, "--list-tests"});
    QVERIFY2(first.status == LoggerRun::Success, qPrintable(first.err));
    const QList<QByteArray> lines = first.lines();
    QVERIFY(lines.size() > 10);
    qint64 piTest = -1;
    QSet<QString> modes;
    for (const QByteArray &line : lines) {
        const QJsonObject test = QJsonDocument::fromJson(line).object();
        QVERIFY2(!test.isEmpty(), line.constData());
        modes.insert(test.value("mode").toString());
        for (const char *key : {"id", "uuid", "session", "status", "started", "meter", "derived", "details", "verdict"})
            QVERIFY2(test.contains(QLatin1String(key)), key);
        QVERIFY(!test.value("verdict").toObject().value("reasons").toArray().isEmpty());
        if (test.value("mode").toString() == QLatin1String("PI") && test.value("origin").toString() == "live"
            && piTest < 0)
            piTest = test.value("id").toVariant().toLongLong();
    }
    QCOMPARE(modes, (QSet<QString>{"IR", "Time", "PI", "DAR", "COMP", "CAP", "VOLT", "RES"}));
    QVERIFY(piTest > 0);

    // Listed again, the same tests: they were kept the first time.
    QCOMPARE(runLogger({"--db", journal, "--list-tests"}).lines(), lines);

    TestDetails details;
    details.equipment = QStringLiteral("M-7");
    details.kind = TestDetails::EquipmentKind::RotatingMachine;
    details.insulationClass = TestDetails::InsulationClass::F;
    details.winding = TestDetails::WindingType::FormWoundAfter1970;
    details.insulationCelsius = 40;
    {
        JournalDatabase database(journal);
        QVERIFY(database.open());
        QVERIFY(TestStore(database.connection()).saveDetails(piTest, details));
    }
    for (const QByteArray &line : runLogger({"--db", journal, "--list-tests"}).lines()) {
        const QJsonObject test = QJsonDocument::fromJson(line).object();
        if (test.value("id").toVariant().toLongLong() != piTest)
            continue;
        QCOMPARE(test.value("details").toObject().value("equipment").toString(), QStringLiteral("M-7"));
        QCOMPARE(test.value("details").toObject().value("baseCelsius").toDouble(), 40.0);
        const QString outcome = test.value("verdict").toObject().value("outcome").toString();
        QVERIFY2(outcome == "pass" || outcome == "fail", qPrintable(outcome));
        QCOMPARE(test.value("verdict").toObject().value("minimumMegohms").toDouble(), 100.0);
    }
}

void TestJournal::listTestsPredictsThePi_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<double>("fromSeconds"); // of the predictions made, at most
    QTest::addColumn<bool>("measured");      // made from ten minutes: the measured values

    QTest::newRow("from the readings up to ten minutes") << QStringList{} << 600.0 << true;
    QTest::newRow("from three minutes") << QStringList{"--predict-at", "180"} << 180.0 << false;
    QTest::newRow("from two and a half") << QStringList{"--predict-at", "150.5"} << 150.5 << false;
    QTest::newRow("beyond ten minutes, from ten") << QStringList{"--predict-at", "900"} << 600.0 << true;
}

// Each live PI test carries a prediction beside its verdict: made from its
// readings up to ten minutes, the measured values; from fewer, a band that
// holds what it measured (the demonstration's insulation follows the
// physics). A test beyond the meter's range says why there is none; other
// tests, and those of the meter's memory, have none.
void TestJournal::listTestsPredictsThePi()
{
    QFETCH(QStringList, arguments);
    QFETCH(double, fromSeconds);
    QFETCH(bool, measured);

    TempWorkDir dir;
    QVERIFY(dir.isValid());
    // The fourth round ends beyond the range at 5 kV.
    QVERIFY(writeFile(QStringLiteral("stream.bin"), demoStream(1) + demoStream(2) + demoStream(4)));
    QCOMPARE(runLogger({"--replay", "stream.bin", "--db", journal, "--output", "/dev/null"}).status,
             int(LoggerRun::Success));

    // Whatever the prediction, the verdicts are those of the measurements.
    QHash<qint64, QJsonObject> verdicts;
    for (const QByteArray &line : runLogger({"--db", journal, "--list-tests"}).lines()) {
        const QJsonObject test = QJsonDocument::fromJson(line).object();
        verdicts.insert(test.value("id").toVariant().toLongLong(), test.value("verdict").toObject());
    }

    const Outcome listed = runLogger(QStringList{"--db", journal, "--list-tests"} + arguments);
    QVERIFY2(listed.status == LoggerRun::Success, qPrintable(listed.err));
    QCOMPARE(listed.lines().size(), verdicts.size());
    int predicted = 0;
    int refused = 0;
    for (const QByteArray &line : listed.lines()) {
        const QJsonObject test = QJsonDocument::fromJson(line).object();
        QVERIFY2(test.contains(QLatin1String("prediction")), line.constData());
        QCOMPARE(test.value("verdict").toObject(), verdicts.value(test.value("id").toVariant().toLongLong()));
        const bool livePi = test.value("mode").toString() == QLatin1String("PI")
                            && test.value("origin").toString() == QLatin1String("live");
        if (!livePi) {
            QVERIFY2(test.value("prediction").isNull(), line.constData());
            continue;
        }
        const QJsonObject prediction = test.value("prediction").toObject();
        QVERIFY(prediction.value("fromSeconds").toDouble() <= fromSeconds);
        if (prediction.contains(QLatin1String("reason"))) {
            ++refused;
            QVERIFY(!prediction.value("reason").toString().isEmpty());
            QVERIFY(prediction.value("pi").isNull() && prediction.value("r600Low").isNull());
            continue;
        }
        ++predicted;
        const double pi = prediction.value("pi").toDouble();
        const double low = prediction.value("piLow").toDouble();
        const double high = prediction.value("piHigh").toDouble();
        const double measuredPi = test.value("derived").toObject().value("pi").toDouble();
        QVERIFY2(low <= measuredPi && measuredPi <= high, line.constData());
        QVERIFY(prediction.value("r600Low").toDouble() <= prediction.value("r600").toDouble());
        QVERIFY(prediction.value("r600").toDouble() <= prediction.value("r600High").toDouble());
        if (measured) {
            QCOMPARE(prediction.value("fromSeconds").toDouble(), 600.0);
            QCOMPARE(pi, measuredPi);
            QCOMPARE(low, high);
        } else {
            QVERIFY2(std::abs(pi / measuredPi - 1.0) < 0.1, line.constData());
        }
    }
    QCOMPARE(predicted, 2);
    QCOMPARE(refused, 1);
}

void TestJournal::meterRunJournalsWhatIsWritten_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("ending");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("written"); // -1: as many as came before the end

    QTest::newRow("samples") << firstPath << QStringList{"--samples", "5"} << int(Limit) << int(LoggerRun::Success)
                             << 5;
    QTest::newRow("meter chosen with --device") << secondPath << QStringList{"--device", secondPath, "--samples", "3"}
                                                << int(Limit) << int(LoggerRun::Success) << 3;
    QTest::newRow("time limit") << firstPath << QStringList{"--time", "1"} << int(Limit)
                                << int(LoggerRun::Success) << -1;
    QTest::newRow("SIGINT") << firstPath << QStringList{} << int(Interrupt) << int(LoggerRun::Success) << -1;
    QTest::newRow("SIGTERM, live only") << firstPath << QStringList{"--live-only"} << int(Interrupt)
                                        << int(LoggerRun::Success) << -1;
    QTest::newRow("meter unplugged") << firstPath << QStringList{} << int(Unplug) << int(LoggerRun::MeterLost) << -1;
}

// Whatever ends the run, its session holds exactly the records written,
// with their frames and decode times, and ends cleanly.
void TestJournal::meterRunJournalsWhatIsWritten()
{
    QFETCH(QString, path);
    QFETCH(QStringList, arguments);
    QFETCH(int, ending);
    QFETCH(int, status);
    QFETCH(int, written);

    TempWorkDir dir;
    QVERIFY(dir.isValid());
    SimulatedHid::addDevice(VirtualHidDevice::meter(firstPath));
    if (path != firstPath)
        SimulatedHid::addDevice(VirtualHidDevice::meter(path));
    const int signalNumber = arguments.contains(QLatin1String("--live-only")) ? SIGTERM : SIGINT;
    const Hook end = [&](LoggerCli &, int writtenSoFar) {
        if (ending == Interrupt && writtenSoFar == 5)
            std::raise(signalNumber);
        if (ending == Unplug && writtenSoFar == 3)
            SimulatedHid::unplug(path);
    };

    const Outcome outcome = runLogger(arguments + QStringList{"--db", journal},
                                      sendStream(path, demoStream(1) + demoStream(2)), end);
    QCOMPARE(outcome.status, status);
    QVERIFY(!outcome.written.isEmpty());
    if (written >= 0)
        QCOMPARE(outcome.written.size(), written);

    const QList<Journalled> sessions = readJournal();
    QCOMPARE(sessions.size(), 1);
    const JournalSession &session = sessions.first().session;
    QCOMPARE(session.source, QStringLiteral("logger"));
    QCOMPARE(session.meterPath, path);
    QCOMPARE(session.serialNumber, QStringLiteral("SIM-") + path.section(QLatin1Char('/'), -1));
    QCOMPARE(session.manufacturer, QStringLiteral("Tessra"));
    QCOMPARE(session.product, QStringLiteral("Tessra Insulation Tester"));
    QVERIFY(session.hasEnded());
    QVERIFY(session.cleanEnd);
    QCOMPARE(session.total(), outcome.written.size());
    QCOMPARE(describe(sessions.first().records), describe(outcome.written));
}

void TestJournal::unusableJournalChangesNothing_data()
{
    QTest::addColumn<QString>("journalKind");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");

    const QStringList toFile{"--output", "records.jsonl"};
    const QStringList toTables{"--format", "csv", "--output", "tables"};
    const QStringList replay{"--replay", "stream.bin", "--db", journal};
    const QStringList sessionOne{"--db", journal, "--session", "1"};
    const QStringList list{"--db", journal, "--list-sessions"};
    const QString noDatabase = QStringLiteral("It is not a database");
    const QString newer = QStringLiteral("newer version");

    QTest::newRow("replay into a text file") << "text" << replay + toFile << noDatabase;
    QTest::newRow("meter run into a text file") << "text" << QStringList{"--db", journal} + toTables << noDatabase;
    QTest::newRow("replay into a damaged journal") << "damaged" << replay + toTables << "damaged";
    QTest::newRow("replay into a newer program's journal") << "newer" << replay + toFile << newer;
    QTest::newRow("sessions of a text file") << "text" << list << noDatabase;
    QTest::newRow("sessions of a newer program's journal") << "newer" << list << newer;
    QTest::newRow("session of a damaged journal") << "damaged" << sessionOne + toFile << "damaged";
    QTest::newRow("sessions of a missing journal") << "none" << list << "no such file";
    QTest::newRow("session of a missing journal") << "none" << sessionOne + toTables << "no such file";
    QTest::newRow("unknown session") << "valid" << QStringList{"--db", journal, "--session", "7"} + toFile
                                     << "has no session 7";
    QTest::newRow("unknown session, csv") << "valid" << QStringList{"--db", journal, "--session", "7"} + toTables
                                          << "has no session 7";
}

// Refused before any output is opened: the journal, the older outputs and
// the meter are left as they were.
void TestJournal::unusableJournalChangesNothing()
{
    QFETCH(QString, journalKind);
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);

    TempWorkDir dir;
    QVERIFY(dir.isValid());
    SimulatedHid::addDevice(VirtualHidDevice::meter(firstPath));
    QVERIFY(writeFile(QStringLiteral("stream.bin"), demoStream()));
    QVERIFY(writeFile(QStringLiteral("records.jsonl"), "old records\n"));
    QVERIFY(QDir().mkdir(QStringLiteral("tables")));
    QVERIFY(writeFile(QStringLiteral("tables/live-IR.csv"), "old table\n"));
    QVERIFY(makeJournal(journalKind));
    const QMap<QString, QByteArray> before = filesUnder();

    const Outcome outcome = runLogger(arguments, sendStream(firstPath, demoStream()));
    QCOMPARE(outcome.status, int(LoggerRun::Failure));
    QVERIFY2(outcome.err.contains(message), qPrintable(outcome.err));
    QVERIFY2(outcome.err.contains(journal), qPrintable(outcome.err));
    QVERIFY(outcome.out.isEmpty());
    QCOMPARE(filesUnder(), before);
    QCOMPARE(SimulatedHid::openHandleCount(), 0);
}

// The records matter more than their journal: every one still reaches the
// output, and the failure is told once, not once a record.
void TestJournal::lockedJournalLetsTheRunGoOn()
{
    TempWorkDir dir;
    QVERIFY(dir.isValid());
    const QByteArray stream = demoStream();
    QVERIFY(writeFile(QStringLiteral("stream.bin"), stream));
    QVERIFY(makeJournal(QStringLiteral("valid")));

    Outcome outcome;
    {
        const JournalLock lock;
        QVERIFY(lock.isLocked());
        outcome = runLogger({"--replay", "stream.bin", "--db", journal});
    }
    QCOMPARE(outcome.status, int(LoggerRun::Success));
    QCOMPARE(outcome.lines().size(), decode(stream).size());
    QCOMPARE(outcome.err.count(QStringLiteral("Cannot keep the records in the journal j.sqlite")), 1);
}

// A kill can come between any two steps: the journal holds a record before
// the output shows it, never after.
void TestJournal::recordIsInTheJournalBeforeItIsPrinted()
{
    TempWorkDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(writeFile(QStringLiteral("stream.bin"), demoStream(0)));
    LoggerOptions options;
    options.replay = QStringLiteral("stream.bin");
    options.database = journal;
    QString status;
    QTextStream statusStream(&status);
    JournalWriter journalWriter(journal, QStringLiteral("logger"));
    QVERIFY(journalWriter.open());
    JournalWatchingWriter output;
    LoggerRun run(options, statusStream);
    QVERIFY(run.openReplay(options.replay));
    run.keepJournal(journalWriter, HIDDevInfo());
    QSignalSpy finished(&run, &LoggerRun::finished);
    QVERIFY(run.start(output));
    QVERIFY(finished.wait(30000));

    QVERIFY(!output.keptWhenPrinted.isEmpty());
    for (int printed = 0; printed < output.keptWhenPrinted.size(); ++printed)
        QCOMPARE(output.keptWhenPrinted.at(printed), printed + 1);
}

QTEST_GUILESS_MAIN(TestJournal)
#include "tst_journal.moc"
