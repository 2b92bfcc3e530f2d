// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "cli/loggerrun.h"
#include "insulation/equipmentitem.h"
#include "journal/equipmentstore.h"
#include "journal/journaldatabase.h"
#include "journal/teststore.h"
#include "support/tempworkdir.h"
#include "loggerharness.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <ctime>

namespace {
const QString journal = QStringLiteral("j.sqlite");

// The line --list-tests prints for the test, as an object.
QJsonObject listed(qint64 id)
{
    for (const QByteArray &line : runLogger({"--db", journal, "--list-tests"}).lines()) {
        const QJsonObject test = QJsonDocument::fromJson(line).object();
        if (test.value("id").toVariant().toLongLong() == id)
            return test;
    }
    return {};
}

// "details.testPoint" of a listed test.
QJsonValue at(const QJsonObject &test, const QString &path)
{
    QJsonValue value = test;
    for (const QString &key : path.split(QLatin1Char('.')))
        value = value.toObject().value(key);
    return value;
}

QJsonValue jsonValue(const QByteArray &text)
{
    return QJsonDocument::fromJson("[" + text + "]").array().at(0);
}
} // namespace

class TestSetDetails : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void detailsFromStandardInput_data();
    void detailsFromStandardInput();
    void savedDetailsAreANewVersionWaitingForTheServer();

private:
    QTemporaryDir m_made;
    qint64 m_liveTest = -1;
    qint64 m_memoryTest = -1;
};

// One journal of the demonstration's tests, live and from the meter's
// memory, with a transformer in the register; each case edits a copy.
void TestSetDetails::initTestCase()
{
    QCoreApplication::setApplicationName(QStringLiteral("tessra-cli"));
    // Dates print with the local offset; these are written in UTC.
    qputenv("TZ", "UTC");
    tzset();
    QVERIFY(m_made.isValid());
    const QString made = m_made.filePath(journal);
    {
        TempWorkDir dir;
        QVERIFY(writeFile(QStringLiteral("stream.bin"), demoStream(1)));
        const Outcome replayed = runLogger({"--replay", "stream.bin", "--db", made, "--output", "/dev/null"});
        QVERIFY2(replayed.status == LoggerRun::Success, qPrintable(replayed.err));
    }
    {
        JournalDatabase database(made);
        QVERIFY(database.open());
        EquipmentItem transformer;
        transformer.tag = QStringLiteral("T-7");
        transformer.kind = TestDetails::EquipmentKind::Transformer;
        transformer.medium = TestDetails::InsulationMedium::OilImmersed;
        QVERIFY(EquipmentStore(database.connection()).save(transformer));
        for (const InsulationTest &test : TestStore(database.connection()).list()) {
            if (test.mode != DMMData::dmIR)
                continue;
            qint64 &id = test.origin == InsulationTest::Origin::Live ? m_liveTest : m_memoryTest;
            id = id < 0 ? test.id : id;
        }
    }
    QVERIFY(m_liveTest > 0 && m_memoryTest > 0);
}

void TestSetDetails::detailsFromStandardInput_data()
{
    QTest::addColumn<bool>("memory"); // the test edited: from the meter's memory, else live
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("said"); // on standard error
    QTest::addColumn<QString>("path"); // in the line --list-tests prints afterwards
    QTest::addColumn<QByteArray>("expected");

    const int saved = LoggerRun::Success;
    const int refused = LoggerRun::UsageError;
    QTest::newRow("test point, free text") << false << QByteArray(R"({"testPoint": " core 3-E "})") << saved
                                           << "saved" << "details.testPoint" << QByteArray(R"("core 3-E")");
    QTest::newRow("halving formula") << false << QByteArray(R"({"correction": "halving", "halvingCelsius": 12})")
                                     << saved << "saved" << "details.correction" << QByteArray(R"("halving")");
    QTest::newRow("null clears") << false << QByteArray(R"({"operator": null})") << saved << "saved"
                                 << "details.operator" << QByteArray("null");
    QTest::newRow("date of a memory record")
        << true << QByteArray(R"({"tested": "2026-11-02T08:30:00.000+00:00"})") << saved << "saved"
        << "details.tested" << QByteArray(R"("2026-11-02T08:30:00.000+00:00")");
    QTest::newRow("kind and conditions judge by the machine's rule")
        << false
        << QByteArray(R"({"kind": "rotating machine", "insulationClass": "F", "winding": "form-wound after 1970",)"
                      R"( "insulationCelsius": 40})")
        << saved << "saved" << "verdict.minimumMegohms" << QByteArray("100");
    QTest::newRow("maker's minimum decides")
        << false
        << QByteArray(R"({"makerMinimumMegohms": 50000000, "makerMinimumCelsius": 20, "insulationCelsius": 20})")
        << saved << "saved" << "verdict.outcome" << QByteArray(R"("fail")");
    QTest::newRow("an item's own fields, as the register gives them")
        << false << QByteArray(R"({"equipment": "t-7", "kind": "transformer", "medium": "oil-immersed"})") << saved
        << "saved" << "details.medium" << QByteArray(R"("oil-immersed")");
    QTest::newRow("the register's item gives its medium")
        << false << QByteArray(R"({"equipment": "T-7"})") << saved << "saved" << "details.medium"
        << QByteArray(R"("oil-immersed")");

    QTest::newRow("unknown key") << false << QByteArray(R"({"testpoint": "U-E"})") << refused << "testpoint"
                                 << "details.testPoint" << QByteArray("null");
    QTest::newRow("number as text") << false << QByteArray(R"({"ratedKilovolts": "6.6"})") << refused
                                    << "ratedKilovolts" << "details.ratedKilovolts" << QByteArray("null");
    QTest::newRow("humidity above 100 %") << false << QByteArray(R"({"humidityPercent": 120})") << refused
                                          << "humidityPercent" << "details.humidityPercent" << QByteArray("null");
    QTest::newRow("maker's PI below 1") << false << QByteArray(R"({"makerMinimumPi": 0.5})") << refused
                                        << "makerMinimumPi" << "details.makerMinimumPi" << QByteArray("null");
    QTest::newRow("medium not known") << false << QByteArray(R"({"medium": "paper"})") << refused << "medium"
                                      << "details.medium" << QByteArray("null");
    QTest::newRow("kind cannot be cleared") << false << QByteArray(R"({"kind": null})") << refused << "kind"
                                            << "details.kind" << QByteArray(R"("other")");
    QTest::newRow("correction not known") << false << QByteArray(R"({"correction": "linear"})") << refused
                                          << "correction" << "details.correction" << QByteArray(R"("standard")");
    QTest::newRow("not a date") << true << QByteArray(R"({"tested": "yesterday"})") << refused << "tested"
                                << "details.tested" << QByteArray("null");
    QTest::newRow("a date in the future") << true << QByteArray(R"({"tested": "2999-01-01T00:00:00Z"})") << refused
                                          << "tested" << "details.tested" << QByteArray("null");
    QTest::newRow("a live test keeps its own date")
        << false << QByteArray(R"({"tested": "2026-11-02T08:30:00Z"})") << refused << "tested" << "details.tested"
        << QByteArray("null");
    QTest::newRow("an item's field other than the register's")
        << false << QByteArray(R"({"equipment": "T-7", "medium": "solid"})") << refused << "medium"
        << "details.equipment" << QByteArray("null");
    // One key that does not fit, and the others are not saved either.
    QTest::newRow("nothing of a refused object is saved")
        << false << QByteArray(R"({"testPoint": "U-E", "humidityPercent": -3})") << refused << "humidityPercent"
        << "details.testPoint" << QByteArray("null");
    QTest::newRow("a list") << false << QByteArray(R"([{"testPoint": "U-E"}])") << refused << "one JSON object"
                            << "details.testPoint" << QByteArray("null");
    QTest::newRow("no JSON") << false << QByteArray(R"({"testPoint": )") << refused << "no JSON"
                             << "details.testPoint" << QByteArray("null");
}

void TestSetDetails::detailsFromStandardInput()
{
    QFETCH(bool, memory);
    QFETCH(QByteArray, input);
    QFETCH(int, status);
    QFETCH(QString, said);
    QFETCH(QString, path);
    QFETCH(QByteArray, expected);

    TempWorkDir dir;
    QVERIFY(QFile::copy(m_made.filePath(journal), journal));
    const qint64 id = memory ? m_memoryTest : m_liveTest;
    const QJsonObject before = listed(id);

    const Outcome outcome = runLoggerWithInput({"--db", journal, "--set-details", QString::number(id)}, input);
    QVERIFY2(outcome.status == status, qPrintable(outcome.err));
    QVERIFY2(outcome.err.contains(said), qPrintable(outcome.err));
    QVERIFY(outcome.out.isEmpty());
    const QJsonObject after = listed(id);
    QCOMPARE(at(after, path), jsonValue(expected));
    if (status != LoggerRun::Success)
        QCOMPARE(after, before);
}

// As an edit in the Tests view: a new version, which the next sync takes
// up; a test the journal has not is no edit at all.
void TestSetDetails::savedDetailsAreANewVersionWaitingForTheServer()
{
    TempWorkDir dir;
    QVERIFY(QFile::copy(m_made.filePath(journal), journal));
    const QStringList arguments = {"--db", journal, "--set-details", QString::number(m_liveTest)};
    QCOMPARE(runLoggerWithInput(arguments, R"({"testPoint": "U-E"})").status, int(LoggerRun::Success));
    QCOMPARE(runLoggerWithInput(arguments, R"({"testPoint": "V-E"})").status, int(LoggerRun::Success));
    {
        JournalDatabase database(journal);
        QVERIFY(database.open());
        QSqlQuery query(database.connection());
        QVERIFY(query.exec(QStringLiteral("SELECT version, synced_version, test_point FROM test_details"
                                          " WHERE test_id = %1")
                               .arg(m_liveTest)));
        QVERIFY(query.next());
        QCOMPARE(query.value(0).toInt(), 2);
        QCOMPARE(query.value(1).toInt(), 0);
        QCOMPARE(query.value(2).toString(), QStringLiteral("V-E"));
    }
    const Outcome missing = runLoggerWithInput({"--db", journal, "--set-details", "99999"}, R"({"notes": "x"})");
    QCOMPARE(missing.status, int(LoggerRun::Failure));
    QVERIFY2(missing.err.contains(QLatin1String("99999")), qPrintable(missing.err));
    const Outcome combined =
        runLoggerWithInput({"--db", journal, "--set-details", "1", "--list-tests"}, R"({"notes": "x"})");
    QCOMPARE(combined.status, int(LoggerRun::UsageError));
}

QTEST_GUILESS_MAIN(TestSetDetails)
#include "tst_setdetails.moc"
