// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "journal/journaldatabase.h"
#include "journal/journalschema.h"
#include "journal/journalwriter.h"
#include "journal/sessionreader.h"
#include "journal/tagkey.h"
#include "meter/mydmm.h"
#include "support/filesizelimit.h"
#include "support/readonlyfolder.h"
#include "support/tempworkdir.h"
#include "testpaths.h"

#include <QCryptographicHash>
#include <QFile>
#include <QHash>
#include <QLockFile>
#include <QProcess>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSysInfo>
#include <QTest>

#include <atomic>
#include <functional>
#include <thread>


namespace {
const QString journalName = QStringLiteral("journal.sqlite");

QByteArray digestOf(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

// Runs SQL on a file of its own connection, outside the journal's code.
bool runSql(const QString &fileName, const QStringList &statements)
{
    bool done = true;
    {
        QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fixture"));
        database.setDatabaseName(fileName);
        done = database.open();
        QSqlQuery query(database);
        for (const QString &statement : statements)
            done = done && query.exec(statement);
        database.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("fixture"));
    return done;
}

QStringList statementsOf(const QString &script)
{
    QString text;
    for (const QString &line : script.split(QLatin1Char('\n'))) {
        if (!line.trimmed().startsWith(QLatin1String("--")))
            text += line + QLatin1Char('\n');
    }
    QStringList statements;
    for (const QString &statement : text.split(QLatin1Char(';'))) {
        if (!statement.trimmed().isEmpty())
            statements << statement.trimmed();
    }
    return statements;
}

// A connection of its own to a file (or to memory), outside the journal's
// code, gone with it.
class FileConnection
{
public:
    explicit FileConnection(const QString &fileName)
    {
        static int opened = 0;
        m_name = QStringLiteral("file-%1").arg(++opened);
        QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        database.setDatabaseName(fileName);
        database.open();
    }
    ~FileConnection()
    {
        QSqlDatabase::database(m_name, false).close();
        QSqlDatabase::removeDatabase(m_name);
    }
    FileConnection(const FileConnection &) = delete;
    FileConnection &operator=(const FileConnection &) = delete;

    QSqlDatabase database() const { return QSqlDatabase::database(m_name, false); }

    QStringList tables() const
    {
        QStringList names;
        QSqlQuery query(database());
        query.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name"));
        while (query.next())
            names << query.value(0).toString();
        return names;
    }

    // Name, type, whether it may be null, default and key place of each
    // column of each table, and the indexes: what the program relies on,
    // whatever the text the tables were made with.
    QStringList layout() const
    {
        QStringList lines;
        for (const QString &table : tables()) {
            QSqlQuery query(database());
            query.exec(QStringLiteral("SELECT name, type, \"notnull\", dflt_value, pk FROM pragma_table_info('%1')")
                           .arg(table));
            while (query.next())
                lines << QStringLiteral("%1.%2 %3 %4 %5 %6")
                             .arg(table, query.value(0).toString(), query.value(1).toString(),
                                  query.value(2).toString(), query.value(3).toString(), query.value(4).toString());
        }
        QSqlQuery query(database());
        query.exec(QStringLiteral("SELECT name, tbl_name FROM sqlite_master WHERE type = 'index' ORDER BY name"));
        while (query.next())
            lines << QStringLiteral("index %1 on %2").arg(query.value(0).toString(), query.value(1).toString());
        return lines;
    }

    QStringList columns(const QString &table) const
    {
        QStringList names;
        QSqlQuery query(database());
        query.exec(QStringLiteral("SELECT name FROM pragma_table_info('%1')").arg(table));
        while (query.next())
            names << query.value(0).toString();
        return names;
    }

    // Each row of those columns as SQL writes its values: a text, a number
    // of its own type, a blob and NULL each stay what they are.
    QStringList rows(const QString &table, const QStringList &columns) const
    {
        QStringList quoted;
        for (const QString &column : columns)
            quoted << QStringLiteral("quote(%1)").arg(column);
        QStringList rows;
        QSqlQuery query(database());
        query.exec(QStringLiteral("SELECT %1 FROM %2").arg(quoted.join(QStringLiteral(" || ', ' || ")), table));
        while (query.next())
            rows << query.value(0).toString();
        rows.sort();
        return rows;
    }

    int count(const QString &sql) const
    {
        QSqlQuery query(database());
        return query.exec(sql) && query.next() ? query.value(0).toInt() : -1;
    }

private:
    QString m_name;
};

// The tables as the first `revisions` revisions make them.
QStringList layoutAt(int revisions)
{
    const FileConnection memory(QStringLiteral(":memory:"));
    const std::vector<JournalSchema::Revision> first(JournalSchema::revisions().begin(),
                                                     JournalSchema::revisions().begin() + revisions);
    SchemaRunner(memory.database(), QStringLiteral("journal_info"), first, [] { return true; }).upgrade();
    return memory.layout();
}

JournalReading voltReading(qint64 timeMs)
{
    JournalReading reading;
    reading.timeMs = timeMs;
    reading.frame = QByteArray::fromHex("ABCD000B020600E6000000000000EE");
    return reading;
}

} // namespace

using FileMaker = std::function<bool(const QString &)>;
Q_DECLARE_METATYPE(FileMaker)

class TestJournalFile : public QObject
{
    Q_OBJECT

private slots:
    void filesThatAreNoUsableJournal_data();
    void filesThatAreNoUsableJournal();
    void olderJournalIsBroughtUpToDate();
    void everyEarlierRevisionIsBroughtUpToDate_data();
    void everyEarlierRevisionIsBroughtUpToDate();
    void tagsThatFoldAlikeAreMadeDistinctOnUpgrade();
    void newerJournalThatStillReadsIsUsed();
    void twoProgramsOpeningAtOnceBothSucceed_data();
    void twoProgramsOpeningAtOnceBothSucceed();
    void journalThatCannotBeWrittenIsRead();
    void fullDiskIsReportedOnceAndRecordingGoesOn();
    void fullDiskIsTriedAfterPausesUpToABound();
    void abandonedSessionsAreThoseOfProgramsThatDied();
};

void TestJournalFile::filesThatAreNoUsableJournal_data()
{
    QTest::addColumn<FileMaker>("make");
    QTest::addColumn<bool>("usable");
    QTest::addColumn<QString>("named"); // what the reason names, where it matters

    auto bytes = [](const QByteArray &content) {
        return FileMaker([content](const QString &name) {
            QFile file(name);
            return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
        });
    };
    // A journal of this program's, then what someone added to it.
    auto journalWith = [](const QStringList &statements) {
        return FileMaker([statements](const QString &name) {
            {
                JournalDatabase journal(name);
                if (!journal.open())
                    return false;
            }
            return runSql(name, statements);
        });
    };
    QTest::newRow("no file yet") << FileMaker([](const QString &) { return true; }) << true << QString();
    QTest::newRow("empty file") << bytes(QByteArray()) << true << QString();
    QTest::newRow("text") << bytes("Readings of 10 December\n1,2,3\n") << false << QString();
    QByteArray damaged("SQLite format 3\0", 16);
    damaged += QByteArray(4080, '\xA5');
    QTest::newRow("damaged database") << bytes(damaged) << false << QString();
    QTest::newRow("another program's database")
        << FileMaker([](const QString &name) {
               return runSql(name, {QStringLiteral("CREATE TABLE invoices (id INTEGER PRIMARY KEY, total REAL)"),
                                    QStringLiteral("INSERT INTO invoices VALUES (1, 99.5)")});
           })
        << false << QString();
    QTest::newRow("a newer journal this one cannot read")
        << FileMaker([](const QString &name) {
               return runSql(name, {QStringLiteral("CREATE TABLE journal_info (name TEXT PRIMARY KEY, value INTEGER)"),
                                    QStringLiteral("INSERT INTO journal_info VALUES ('version', 99), "
                                                   "('oldest_reader', 99)")});
           })
        << false << QString();
    const QString forgetReadings =
        QStringLiteral("CREATE TRIGGER forget_readings AFTER INSERT ON readings BEGIN DELETE FROM readings; END");
    QTest::newRow("a trigger that deletes every reading")
        << journalWith({forgetReadings}) << false << QStringLiteral("trigger forget_readings");
    QTest::newRow("a newer journal's trigger")
        << journalWith({QStringLiteral("UPDATE journal_info SET value = 99 WHERE name = 'version'"), forgetReadings})
        << false << QStringLiteral("trigger forget_readings");
    QTest::newRow("a view") << journalWith({QStringLiteral("CREATE VIEW everything AS SELECT * FROM readings")})
                            << false << QStringLiteral("view everything");
    QTest::newRow("a table beside the journal's")
        << journalWith({QStringLiteral("CREATE TABLE invoices (id INTEGER PRIMARY KEY)"),
                        QStringLiteral("CREATE INDEX invoices_by_id ON invoices (id)")})
        << false << QStringLiteral("index invoices_by_id, table invoices");
    QTest::newRow("an index on the journal's table")
        << journalWith({QStringLiteral("CREATE UNIQUE INDEX one_reading ON readings (session_id)")}) << false
        << QStringLiteral("index one_reading");
    QTest::newRow("a newer journal's table")
        << journalWith({QStringLiteral("UPDATE journal_info SET value = 99 WHERE name = 'version'"),
                        QStringLiteral("CREATE TABLE notes (id INTEGER PRIMARY KEY)")})
        << true << QString();
}

// A file the journal cannot use is reported and left exactly as it was.
void TestJournalFile::filesThatAreNoUsableJournal()
{
    QFETCH(FileMaker, make);
    QFETCH(bool, usable);
    QFETCH(QString, named);
    const TempWorkDir dir;
    const QString name = dir.filePath(journalName);
    QVERIFY(make(name));
    const bool existed = QFile::exists(name);
    const QByteArray before = digestOf(name);

    JournalWriter writer(name, QStringLiteral("window"));
    QCOMPARE(writer.open(), usable);
    if (usable) {
        writer.write(voltReading(1000));
        QCOMPARE(writer.unwritten(), 0);
        return;
    }
    QVERIFY(!writer.errorString().isEmpty());
    QVERIFY2(writer.errorString().contains(named), qPrintable(writer.errorString()));
    QCOMPARE(QFile::exists(name), existed);
    QCOMPARE(digestOf(name), before);
}

void TestJournalFile::olderJournalIsBroughtUpToDate()
{
    const TempWorkDir dir;
    const QString name = dir.filePath(journalName);
    QFile script(QStringLiteral(TESSRA_TEST_DATA "/journal-revision1.sql"));
    QVERIFY(script.open(QIODevice::ReadOnly));
    QVERIFY(runSql(name, statementsOf(QString::fromUtf8(script.readAll()))));

    JournalDatabase database(name);
    QVERIFY2(database.open(), qPrintable(database.errorString()));
    QCOMPARE(database.schemaOutcome(), SchemaRunner::Outcome::Upgraded);
    QCOMPARE(JournalSchema::storedVersion(database.connection()), JournalSchema::currentVersion());

    SessionReader reader(name);
    QVERIFY(reader.open());
    const QList<JournalSession> sessions = reader.sessions();
    QCOMPARE(sessions.size(), 2);
    const JournalSession &closed = sessions.at(1);
    QVERIFY(closed.cleanEnd);
    QCOMPARE(closed.meterPath, QStringLiteral("/dev/hidraw3"));
    QCOMPARE(closed.counts.value({JournalReading::Live, DMMData::dmVOLT}), 2);
    QCOMPARE(closed.counts.value({JournalReading::Stored, DMMData::dmVOLT}), 1);
    QCOMPARE(closed.counts.value({JournalReading::Live, DMMData::dmRES}), 1);
    QCOMPARE(sessions.at(0).total(), 1); // counted where it stands until it ends

    SessionReader::Records records;
    QVERIFY(reader.readRecords(closed.id, records));
    QCOMPARE(records.live.size(), 3);
    QCOMPARE(records.stored.size(), 1);
    QCOMPARE(records.live.at(2).staticCast<DMMDataRES>()->resistance.text, QStringLiteral("1.50"));
    QCOMPARE(records.live.at(0)->dateTime.toMSecsSinceEpoch(), Q_INT64_C(1765360001000));
}

void TestJournalFile::everyEarlierRevisionIsBroughtUpToDate_data()
{
    QTest::addColumn<int>("revision");
    for (int revision = 1; revision < JournalSchema::currentVersion(); ++revision)
        QTest::addRow("revision %d", revision) << revision;
}

// Every row an older program wrote is still there with its values; the
// columns later revisions add hold their defaults, the tables they add are
// empty but for the counts, which count the readings of ended sessions;
// and the tables are those of a new journal.
void TestJournalFile::everyEarlierRevisionIsBroughtUpToDate()
{
    QFETCH(int, revision);
    const TempWorkDir dir;
    const QString name = dir.filePath(journalName);
    QFile script(QStringLiteral(TESSRA_TEST_DATA "/journal-revision%1.sql").arg(revision));
    QVERIFY2(script.open(QIODevice::ReadOnly), qPrintable(script.fileName() + QStringLiteral(" is missing")));
    QVERIFY(runSql(name, statementsOf(QString::fromUtf8(script.readAll()))));

    const FileConnection file(name);
    QCOMPARE(JournalSchema::storedVersion(file.database()), revision);
    QCOMPARE(file.layout(), layoutAt(revision));
    QHash<QString, QStringList> columnsBefore, rowsBefore;
    for (const QString &table : file.tables()) {
        columnsBefore.insert(table, file.columns(table));
        rowsBefore.insert(table, file.rows(table, file.columns(table)));
        QVERIFY2(table == QLatin1String("journal_info") || !rowsBefore.value(table).isEmpty(),
                 qPrintable(table + QStringLiteral(" has no rows in the fixture")));
    }

    const SchemaRunner::Result result = JournalSchema::upgrade(file.database());
    QCOMPARE(result.outcome, SchemaRunner::Outcome::Upgraded);
    QCOMPARE(result.storedVersion, revision);
    QCOMPARE(JournalSchema::storedVersion(file.database()), JournalSchema::currentVersion());
    QCOMPARE(file.layout(), layoutAt(JournalSchema::currentVersion()));

    for (const QString &table : file.tables()) {
        if (table == QLatin1String("journal_info"))
            continue;
        if (!columnsBefore.contains(table)) {
            if (table != QLatin1String("session_counts"))
                QCOMPARE(file.count(QStringLiteral("SELECT count(*) FROM %1").arg(table)), 0);
            continue;
        }
        QCOMPARE(file.rows(table, columnsBefore.value(table)), rowsBefore.value(table));
        QSqlQuery added(file.database());
        QVERIFY(added.exec(QStringLiteral("SELECT name, dflt_value FROM pragma_table_info('%1')").arg(table)));
        while (added.next()) {
            const QString column = added.value(0).toString();
            if (columnsBefore.value(table).contains(column))
                continue;
            // The program's key of each tag, not a default.
            if (table == QLatin1String("equipment") && column == QLatin1String("tag_key"))
                continue;
            // Details given a halving interval of their own keep the formula.
            if (column == QLatin1String("correction")) {
                QCOMPARE(file.count(QStringLiteral("SELECT count(*) FROM %1 WHERE correction IS NOT"
                                                   " (halving_celsius <> 10)")
                                        .arg(table)),
                         0);
                continue;
            }
            const QString fallback = added.value(1).isNull() ? QStringLiteral("NULL") : added.value(1).toString();
            QVERIFY2(file.count(QStringLiteral("SELECT count(*) FROM %1 WHERE %2 IS NOT %3")
                                    .arg(table, column, fallback))
                         == 0,
                     qPrintable(QStringLiteral("%1.%2 is not %3 everywhere").arg(table, column, fallback)));
        }
    }
    QSqlQuery keys(file.database());
    QVERIFY(keys.exec(QStringLiteral("SELECT tag, tag_key FROM equipment")));
    while (keys.next())
        QCOMPARE(keys.value(1).toString(), TagKey::of(keys.value(0).toString()));
    const QString counted = QStringLiteral(
        "SELECT readings.session_id, kind, mode, count(*) FROM readings"
        " JOIN sessions ON sessions.id = readings.session_id WHERE ended_ms IS NOT NULL"
        " GROUP BY readings.session_id, kind, mode");
    const QString kept = QStringLiteral("SELECT session_id, kind, mode, count FROM session_counts");
    QCOMPARE(file.count(QStringLiteral("SELECT count(*) FROM (%1 EXCEPT %2)").arg(counted, kept)), 0);
    QCOMPARE(file.count(QStringLiteral("SELECT count(*) FROM (%1 EXCEPT %2)").arg(kept, counted)), 0);
    QVERIFY(file.count(QStringLiteral("SELECT count(*) FROM session_counts")) > 0);

    JournalDatabase database(name);
    QVERIFY2(database.open(), qPrintable(database.errorString()));
    QCOMPARE(database.schemaOutcome(), SchemaRunner::Outcome::UpToDate);
}

// Tags that SQLite's NOCASE told apart but Unicode case folding does not
// ("PUMPE-Ä1", "PUMPE-ä1") cannot both stay: the item added first keeps its
// tag, the later one gets a number after it as a new version that goes up
// with the next sync, and its old version stays in the history.
void TestJournalFile::tagsThatFoldAlikeAreMadeDistinctOnUpgrade()
{
    const TempWorkDir dir;
    const QString name = dir.filePath(journalName);
    QFile script(QStringLiteral(TESSRA_TEST_DATA "/journal-revision5.sql"));
    QVERIFY(script.open(QIODevice::ReadOnly));
    QStringList statements = statementsOf(QString::fromUtf8(script.readAll()));
    statements << QStringLiteral("INSERT INTO equipment (id, uuid, tag, version, updated_ms, synced_version)"
                                 " VALUES (3, 'b1c2d3e4-f5a6-4b7c-8d9e-0f1a2b3c4d5e', 'PUMPE-Ä1', 1, 5, 1),"
                                 " (4, 'c2d3e4f5-a6b7-4c8d-9e0f-1a2b3c4d5e6f', 'PUMPE-ä1', 2, 6, 2)");
    QVERIFY(runSql(name, statements));

    const FileConnection file(name);
    QCOMPARE(JournalSchema::upgrade(file.database()).outcome, SchemaRunner::Outcome::Upgraded);
    QSqlQuery items(file.database());
    QVERIFY(items.exec(QStringLiteral("SELECT id, tag, version, synced_version FROM equipment WHERE id >= 3"
                                      " ORDER BY id")));
    QVERIFY(items.next());
    QCOMPARE(items.value(1).toString(), QStringLiteral("PUMPE-Ä1"));
    QCOMPARE(items.value(2).toInt(), 1);
    QVERIFY(items.next());
    QCOMPARE(items.value(1).toString(), QStringLiteral("PUMPE-ä1 (2)"));
    QCOMPARE(items.value(2).toInt(), 3);
    QCOMPARE(items.value(3).toInt(), 2);
    QCOMPARE(file.count(QStringLiteral("SELECT count(*) FROM equipment_history WHERE tag = 'PUMPE-ä1'"
                                       " AND version = 2 AND reason = 'tag clash'")),
             1);
    QVERIFY(!QSqlQuery(file.database())
                 .exec(QStringLiteral("UPDATE equipment SET tag = 'pumpe-ä1', tag_key = '%1' WHERE id = 4")
                           .arg(TagKey::of(QStringLiteral("pumpe-ä1")))));
}

// A later revision that only adds what an older program can ignore says so;
// the older program uses the file and leaves its schema alone.
void TestJournalFile::newerJournalThatStillReadsIsUsed()
{
    const TempWorkDir dir;
    const QString name = dir.filePath(journalName);
    {
        JournalDatabase database(name);
        QVERIFY(database.open());
    }
    const int newer = JournalSchema::currentVersion() + 1;
    QVERIFY(runSql(name, {QStringLiteral("UPDATE journal_info SET value = %1 WHERE name = 'version'").arg(newer),
                          QStringLiteral("CREATE TABLE notes (id INTEGER PRIMARY KEY, text TEXT)")}));
    JournalWriter writer(name, QStringLiteral("window"));
    QVERIFY2(writer.open(), qPrintable(writer.errorString()));
    writer.write(voltReading(1765360001000));
    QCOMPARE(writer.unwritten(), 0);
    JournalDatabase database(name);
    QVERIFY(database.open());
    QCOMPARE(database.schemaOutcome(), SchemaRunner::Outcome::NewerButReadable);
    QCOMPARE(JournalSchema::storedVersion(database.connection()), newer);
}

void TestJournalFile::twoProgramsOpeningAtOnceBothSucceed_data()
{
    QTest::addColumn<int>("revision"); // of the file they find; 0 for none
    QTest::newRow("a new journal") << 0;
    QTest::newRow("an older journal") << 1;
}

// Two programs that find a journal to make or to upgrade take turns: the
// second waits and finds the work done. Each trial starts them together.
void TestJournalFile::twoProgramsOpeningAtOnceBothSucceed()
{
    QFETCH(int, revision);
    const TempWorkDir dir;
    QString script;
    if (revision > 0) {
        QFile file(QStringLiteral(TESSRA_TEST_DATA "/journal-revision%1.sql").arg(revision));
        QVERIFY(file.open(QIODevice::ReadOnly));
        script = QString::fromUtf8(file.readAll());
    }
    for (int trial = 0; trial < 20; ++trial) {
        const QString name = dir.filePath(QStringLiteral("journal-%1.sqlite").arg(trial));
        if (revision > 0)
            QVERIFY(runSql(name, statementsOf(script)));
        std::atomic<int> waiting{2};
        QString errors[2];
        bool opened[2] = {false, false};
        auto open = [&](int program) {
            JournalDatabase journal(name);
            waiting.fetch_sub(1);
            while (waiting.load() > 0)
                std::this_thread::yield();
            opened[program] = journal.open();
            errors[program] = journal.errorString();
        };
        std::thread first(open, 0);
        std::thread second(open, 1);
        first.join();
        second.join();
        QVERIFY2(opened[0] && opened[1],
                 qPrintable(QStringLiteral("trial %1: %2 / %3").arg(trial).arg(errors[0], errors[1])));
        const FileConnection file(name);
        QCOMPARE(JournalSchema::storedVersion(file.database()), JournalSchema::currentVersion());
        if (revision > 0)
            QCOMPARE(file.count(QStringLiteral("SELECT count(*) FROM sessions")), 2);
    }
}

// A journal on a read-only medium (or, for a user who is not root, a file
// and folder without write permission) is read as it stands, is not called
// damaged, and is not touched; what would write to it says why it cannot.
void TestJournalFile::journalThatCannotBeWrittenIsRead()
{
    const TempWorkDir dir;
    ReadOnlyFolder folder(dir.filePath(QStringLiteral("medium")));
    QVERIFY(folder.isValid());
    const QString name = folder.filePath(journalName);
    {
        JournalWriter writer(name, QStringLiteral("window"));
        QVERIFY(writer.open());
        writer.beginSession(HIDDevInfo());
        writer.write(voltReading(1765360001000));
        writer.endSession();
    }
    const QByteArray before = digestOf(name);
    if (!folder.makeReadOnly())
        QSKIP("Neither a read-only file system nor file permissions can be had here.");

    SessionReader reader(name);
    QVERIFY2(reader.open(), qPrintable(reader.errorString()));
    QCOMPARE(reader.sessions().size(), 1);
    QCOMPARE(reader.sessions().first().total(), 1);

    JournalWriter writer(name, QStringLiteral("window"));
    QVERIFY(!writer.open());
    QCOMPARE(writer.errorString(), JournalDatabase::readOnlyText());
    QCOMPARE(digestOf(name), before);
    QVERIFY(!QFile::exists(name + QStringLiteral("-wal")));
}

void TestJournalFile::fullDiskIsReportedOnceAndRecordingGoesOn()
{
    const TempWorkDir dir;
    const QString name = dir.filePath(journalName);
    JournalWriter writer(name, QStringLiteral("window"));
    QVERIFY(writer.open());
    QSignalSpy failed(&writer, &JournalWriter::failed);
    QSignalSpy resumed(&writer, &JournalWriter::resumed);
    writer.write(voltReading(1000));
    {
        const FileSizeLimit limit(QFileInfo(name).size());
        for (int i = 1; i <= 200; ++i)
            writer.write(voltReading(1000 + i));
        // A checkpoint may make room in the log for a while, even for the
        // last of these writes: each failure after a write that worked is
        // reported again, never one twice, and what waits is what failed.
        QVERIFY(failed.count() >= 1);
        const int stillFailing = failed.count() - resumed.count();
        QVERIFY2(stillFailing == 0 || stillFailing == 1, qPrintable(QString::number(stillFailing)));
        QCOMPARE(writer.unwritten() > 0, stillFailing == 1);
    }
    writer.write(voltReading(2000));
    QTRY_COMPARE_WITH_TIMEOUT(writer.unwritten(), 0, 60000);
    QCOMPARE(resumed.count(), failed.count());
    const qint64 session = writer.sessionId();
    writer.endSession();

    SessionReader reader(name);
    QVERIFY(reader.open());
    QList<qint64> times;
    QVERIFY(reader.forEachReading(session, [&times](const JournalReading &reading) {
        times << reading.timeMs;
        return true;
    }));
    QCOMPARE(times.size(), 202);
    QVERIFY(std::is_sorted(times.cbegin(), times.cend()));
}

// Each reading on a full disk used to try again with every reading that
// waited: tens of thousands of inserts for one. Now the readings wait for a
// try after a pause, up to a bound, and go in once there is room.
void TestJournalFile::fullDiskIsTriedAfterPausesUpToABound()
{
    const TempWorkDir dir;
    const QString name = dir.filePath(journalName);
    JournalWriter writer(name, QStringLiteral("logger"));
    QVERIFY(writer.open());
    writer.write(voltReading(1000));
    QCOMPARE(writer.unwritten(), 0);
    QSignalSpy resumed(&writer, &JournalWriter::resumed);
    const int overBound = 25;
    int attemptsWhileFull = 0;
    int written = 1;
    {
        const FileSizeLimit limit(QFileInfo(name).size());
        // Enough that the log fills up whatever a checkpoint frees.
        while (writer.unwritten() == 0 && written < 5000)
            writer.write(voltReading(1000 + written++));
        QVERIFY(writer.unwritten() > 0);
        const int before = writer.attempts();
        const int missing = JournalWriter::maxPending - writer.unwritten() + overBound;
        for (int i = 0; i < missing; ++i)
            writer.write(voltReading(10000 + written++));
        attemptsWhileFull = writer.attempts() - before;
        QCOMPARE(writer.unwritten(), JournalWriter::maxPending);
        QCOMPARE(writer.lost(), overBound);
    }
    QVERIFY2(attemptsWhileFull <= 5, qPrintable(QString::number(attemptsWhileFull)));
    QVERIFY(resumed.wait(60000));
    QCOMPARE(writer.unwritten(), 0);
    const qint64 session = writer.sessionId();
    writer.endSession();

    SessionReader reader(name);
    QVERIFY(reader.open());
    int kept = 0;
    QVERIFY(reader.forEachReading(session, [&kept](const JournalReading &) {
        ++kept;
        return true;
    }));
    QCOMPARE(kept, written - overBound);
}

// A program that runs holds its session's lock; one that died left a lock
// nobody holds, or none at all.
void TestJournalFile::abandonedSessionsAreThoseOfProgramsThatDied()
{
    const TempWorkDir dir;
    const QString name = dir.filePath(journalName);
    JournalWriter running(name, QStringLiteral("window"));
    QVERIFY(running.open());
    running.write(voltReading(1000));

    // A session of a program that is gone: its lock names a process that ended.
    QProcess gone;
    gone.start(QStringLiteral("true"), QStringList());
    QVERIFY(gone.waitForStarted());
    const qint64 deadPid = gone.processId();
    QVERIFY(gone.waitForFinished());
    const QString deadUuid = QStringLiteral("0e7c1a2b-9f3d-4b5a-8c6d-7e8f9a0b1c2d");
    QVERIFY(runSql(name, {QStringLiteral("INSERT INTO sessions (uuid, source, started_ms) VALUES ('%1', 'logger', 500)")
                              .arg(deadUuid),
                          QStringLiteral("INSERT INTO readings VALUES (last_insert_rowid(), 0, 0, 6, 600, "
                                         "X'ABCD000B020600E6000000000000EE')")}));
    QFile lock(JournalWriter::lockFileName(name, deadUuid));
    QVERIFY(lock.open(QIODevice::WriteOnly));
    // What QLockFile writes: process, program, host, machine and boot.
    lock.write(QByteArray::number(deadPid) + "\ntessra-cli\n" + QSysInfo::machineHostName().toUtf8() + "\n"
               + QSysInfo::machineUniqueId() + "\n" + QSysInfo::bootUniqueId() + "\n");
    lock.close();

    JournalWriter starting(name, QStringLiteral("window"));
    QVERIFY(starting.open());
    const QList<JournalSession> abandoned = starting.closeAbandonedSessions();
    QCOMPARE(abandoned.size(), 1);
    QCOMPARE(abandoned.first().uuid, deadUuid);
    QVERIFY(!abandoned.first().cleanEnd);
    QCOMPARE(abandoned.first().endedMs, Q_INT64_C(600));
    QCOMPARE(abandoned.first().total(), 1);
    QVERIFY(!QFile::exists(lock.fileName()));
    QVERIFY(starting.closeAbandonedSessions().isEmpty());
}

QTEST_GUILESS_MAIN(TestJournalFile)
#include "tst_journalfile.moc"
