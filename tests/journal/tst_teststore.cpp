// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "insulation/testsegmenter.h"
#include "journal/journalwriter.h"
#include "journal/readingstore.h"
#include "journal/sessioncutter.h"
#include "journal/teststore.h"
#include "meter/mydmm.h"
#include "sim/democycle.h"
#include "support/tempworkdir.h"

#include <QSqlDatabase>
#include <QTest>

#include <cmath>
#include <limits>

namespace {
const QString journalName = QStringLiteral("journal.sqlite");

// Every curve point and value the same, NaN equal to NaN.
QString describe(const InsulationTest &test)
{
    auto number = [](double value) { return std::isnan(value) ? QStringLiteral("nan") : QString::number(value, 'g', 12); };
    QStringList parts{QString::number(test.mode), QString::number(int(test.origin)), QString::number(int(test.status)),
                      QString::number(test.startedMs), QString::number(test.endedMs), QString::number(test.setVolts),
                      QString::number(test.firstSeq), QString::number(test.lastSeq), number(test.finalMegohms),
                      QString::number(test.finalOverRange), number(test.meterDar), number(test.meterPi),
                      QString::number(test.compResult), QString::number(test.setSeconds),
                      QString::number(test.setSeconds2), test.measurementText};
    for (const CurvePoint &point : test.curve)
        parts << QStringLiteral("(%1 %2 %3 %4 %5)")
                     .arg(point.seconds)
                     .arg(number(point.megohms))
                     .arg(point.overRange)
                     .arg(number(point.leakageMicroamps))
                     .arg(point.outputVolts);
    return parts.join(QLatin1Char(' '));
}

// Two rounds of the demonstration meter, written as a program writes them
// and cut into tests as they go, the way the window does.
struct RecordedSession
{
    QList<InsulationTest> tests;
    qint64 sessionId = -1;
    qint64 lastSeq = -1;
};

RecordedSession record(JournalWriter &writer, bool cutAsRecorded, int readingsToWrite = -1)
{
    RecordedSession session;
    TestSegmenter segmenter;
    QObject::connect(&segmenter, &TestSegmenter::testFinished,
                     [&session](const InsulationTest &test) { session.tests << test; });
    qint64 time = 1765360000000;
    int written = 0;
    for (int round = 0; round < 2; ++round) {
        const DemoCycle cycle(round);
        for (const QByteArray &frame : cycle.liveFrames() + cycle.storedFrames()) {
            if (readingsToWrite >= 0 && written++ >= readingsToWrite)
                break;
            JournalReading reading;
            reading.kind = quint8(frame.at(4)) == MyDMM::storedFrameType ? JournalReading::Stored
                                                                          : JournalReading::Live;
            reading.timeMs = time += 300;
            reading.frame = frame;
            const qint64 seq = writer.write(reading);
            session.lastSeq = seq;
            if (reading.kind == JournalReading::Stored)
                segmenter.addStored(reading.record(), seq);
            else
                segmenter.addLive(reading.record(), seq);
        }
    }
    segmenter.finish();
    session.sessionId = writer.sessionId();
    if (cutAsRecorded) {
        TestStore store(writer.database());
        for (InsulationTest &test : session.tests) {
            test.sessionId = session.sessionId;
            store.add(test);
        }
        store.setThroughSeq(session.sessionId, session.lastSeq);
    }
    return session;
}
} // namespace

class TestTestStore : public QObject
{
    Q_OBJECT

private slots:
    void keptTestsComeBackAsTheyWereCut();
    void sessionsNoProgramCutAreCutTheSameWay_data();
    void sessionsNoProgramCutAreCutTheSameWay();
    void detailsAreKeptWithTheirTest();
};

void TestTestStore::keptTestsComeBackAsTheyWereCut()
{
    const TempWorkDir dir;
    JournalWriter writer(dir.filePath(journalName), QStringLiteral("window"));
    QVERIFY(writer.open());
    const RecordedSession session = record(writer, true);
    QVERIFY(session.tests.size() > 10);

    const TestStore store(writer.database());
    const QList<InsulationTest> kept = store.ofSession(session.sessionId);
    QCOMPARE(kept.size(), session.tests.size());
    for (int i = 0; i < kept.size(); ++i) {
        const std::optional<InsulationTest> loaded = store.load(kept.at(i).id, writer.readings());
        QVERIFY(loaded);
        QCOMPARE(describe(*loaded), describe(session.tests.at(i)));
        QCOMPARE(loaded->uuid, kept.at(i).uuid);
        QVERIFY(!loaded->uuid.isEmpty());
    }
    // Cut already: nothing more to cut.
    writer.endSession();
    QVERIFY(SessionCutter::cut(writer.database(), session.sessionId));
    QCOMPARE(store.ofSession(session.sessionId).size(), session.tests.size());
}

void TestTestStore::sessionsNoProgramCutAreCutTheSameWay_data()
{
    QTest::addColumn<int>("readings");
    QTest::newRow("a whole session") << -1;
    QTest::newRow("one cut short in a test") << 40;
}

// The logger, an older version or a crash leave sessions whose readings
// nobody cut into tests; the index cuts them exactly as the window would
// have, a test running at the end of the readings being interrupted.
void TestTestStore::sessionsNoProgramCutAreCutTheSameWay()
{
    QFETCH(int, readings);
    const TempWorkDir dir;
    JournalWriter writer(dir.filePath(journalName), QStringLiteral("logger"));
    QVERIFY(writer.open());
    const RecordedSession session = record(writer, false, readings);
    writer.endSession();
    QVERIFY(!session.tests.isEmpty());

    QVERIFY(SessionCutter::cutEnded(writer.database()));
    const TestStore store(writer.database());
    const QList<InsulationTest> kept = store.ofSession(session.sessionId);
    QCOMPARE(kept.size(), session.tests.size());
    for (int i = 0; i < kept.size(); ++i)
        QCOMPARE(describe(*store.load(kept.at(i).id, writer.readings())), describe(session.tests.at(i)));
    QCOMPARE(store.throughSeq(session.sessionId), session.lastSeq);
    QVERIFY(SessionCutter::cutEnded(writer.database()));
    QCOMPARE(store.ofSession(session.sessionId).size(), kept.size());
}

void TestTestStore::detailsAreKeptWithTheirTest()
{
    const TempWorkDir dir;
    JournalWriter writer(dir.filePath(journalName), QStringLiteral("window"));
    QVERIFY(writer.open());
    const RecordedSession session = record(writer, true);
    TestStore store(writer.database());
    const qint64 id = store.ofSession(session.sessionId).first().id;
    QVERIFY(store.details(id).isEmpty());

    TestDetails details;
    details.equipment = QStringLiteral("Pump motor P-101 «north»");
    details.kind = TestDetails::EquipmentKind::RotatingMachine;
    details.ratedKilovolts = 6.6;
    details.insulationClass = TestDetails::InsulationClass::F;
    details.winding = TestDetails::WindingType::FormWoundAfter1970;
    details.insulationCelsius = 31.5;
    details.humidityPercent = 64;
    details.operatorName = QStringLiteral("R. Osei");
    details.notes = QStringLiteral("after rewinding,\nleads cleaned");
    details.halvingCelsius = 12;
    details.correction = TestDetails::Correction::Halving;
    details.testPoint = QStringLiteral(" U-E ");
    details.testedMs = 1765000000000;
    details.medium = TestDetails::InsulationMedium::OilImmersed;
    details.makerMinimumMegohms = 1000;
    details.makerMinimumPi = 2.5;
    QVERIFY(store.saveDetails(id, details));

    const TestDetails back = store.details(id);
    QCOMPARE(back.equipment, details.equipment);
    QCOMPARE(back.kind, details.kind);
    QCOMPARE(back.ratedKilovolts, details.ratedKilovolts);
    QCOMPARE(back.insulationClass, details.insulationClass);
    QCOMPARE(back.winding, details.winding);
    QCOMPARE(back.insulationCelsius, details.insulationCelsius);
    QVERIFY(std::isnan(back.ambientCelsius));
    QCOMPARE(back.humidityPercent, details.humidityPercent);
    QCOMPARE(back.operatorName, details.operatorName);
    QCOMPARE(back.notes, details.notes);
    QVERIFY(std::isnan(back.baseCelsius));
    QCOMPARE(back.effectiveBaseCelsius(), 40.0);
    QCOMPARE(back.halvingCelsius, 12.0);
    QCOMPARE(back.correction, TestDetails::Correction::Halving);
    QCOMPARE(back.testPoint, QStringLiteral("U-E"));
    QCOMPARE(back.testedMs, details.testedMs);
    QCOMPARE(back.medium, TestDetails::InsulationMedium::OilImmersed);
    QCOMPARE(back.makerMinimumMegohms, 1000.0);
    QVERIFY(std::isnan(back.makerMinimumCelsius));
    QCOMPARE(back.makerMinimumPi, 2.5);

    // Cleared again, an edit leaves nothing of the earlier values.
    QVERIFY(store.saveDetails(id, TestDetails()));
    const TestDetails cleared = store.details(id);
    QCOMPARE(cleared.correction, TestDetails::Correction::Standard);
    QVERIFY(cleared.testPoint.isEmpty());
    QCOMPARE(cleared.testedMs, 0);
    QCOMPARE(cleared.medium, TestDetails::InsulationMedium::Unknown);
    QVERIFY(std::isnan(cleared.makerMinimumMegohms));
    QVERIFY(std::isnan(cleared.makerMinimumPi));
}

QTEST_GUILESS_MAIN(TestTestStore)
#include "tst_teststore.moc"
