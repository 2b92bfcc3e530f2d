// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "export/testscsvexport.h"
#include "journal/equipmentstore.h"
#include "journal/journalwriter.h"
#include "journal/sessioncutter.h"
#include "journal/teststore.h"
#include "meter/mydmm.h"
#include "sim/democycle.h"
#include "support/csvtext.h"
#include "support/tempworkdir.h"

#include <QFile>
#include <QTest>

namespace {
// A session of the demonstration meter's round, cut into tests.
QList<InsulationTest> recordRound(JournalWriter &writer)
{
    qint64 time = 1765360000000;
    for (const QByteArray &frame : DemoCycle(1).liveFrames()) {
        JournalReading reading;
        reading.timeMs = time += 300;
        reading.frame = frame;
        writer.write(reading);
    }
    writer.endSession();
    SessionCutter::cutEnded(writer.database());
    QList<InsulationTest> tests = TestStore(writer.database()).list();
    std::reverse(tests.begin(), tests.end());
    return tests;
}
} // namespace

class TestTestsCsvExport : public QObject
{
    Q_OBJECT

private slots:
    void oneRowPerTestWithItsItem();
};

// Every test a row with its item's fields; an item without tests a row of
// its own; text with commas, quotes and line breaks stays one cell.
void TestTestsCsvExport::oneRowPerTestWithItsItem()
{
    const TempWorkDir dir;
    JournalWriter writer(dir.filePath("journal.sqlite"), QStringLiteral("window"));
    QVERIFY(writer.open());
    const QList<InsulationTest> tests = recordRound(writer);
    QVERIFY(tests.size() > 5);

    EquipmentStore register_(writer.database());
    EquipmentItem pump;
    pump.tag = QStringLiteral("P-101");
    pump.description = QStringLiteral("Feed pump, \"north\" hall, 55 kW");
    pump.kind = TestDetails::EquipmentKind::RotatingMachine;
    pump.ratedKilovolts = 0.4;
    QVERIFY(register_.save(pump));
    EquipmentItem spare;
    spare.tag = QStringLiteral("SPARE-1");
    QVERIFY(register_.save(spare));
    TestStore store(writer.database());
    TestDetails details;
    details.equipment = QStringLiteral("p-101");
    details.notes = QStringLiteral("dry,\nclean");
    details.insulationCelsius = 25;
    details.testPoint = QStringLiteral("U-E");
    for (int i = 0; i < 3; ++i)
        QVERIFY(store.saveDetails(tests.at(i).id, details));

    TestsCsvExport csv(writer.database());
    QVERIFY2(csv.write(dir.filePath("register.csv")), qPrintable(csv.errorString()));
    const QList<QStringList> rows = CsvText::readFile(dir.filePath("register.csv"));
    QCOMPARE(rows.first(), TestsCsvExport::header());
    QCOMPARE(rows.size(), 1 + tests.size() + 1);

    const int tag = 0;
    const int description = 1;
    const int testId = 10;
    const int notes = TestsCsvExport::header().indexOf(QStringLiteral("Notes"));
    const int verdict = TestsCsvExport::header().indexOf(QStringLiteral("Verdict"));
    QStringList pumpTests;
    for (const QStringList &row : rows.mid(1)) {
        QCOMPARE(row.size(), TestsCsvExport::header().size());
        if (row.at(tag) == QLatin1String("P-101")) {
            pumpTests << row.at(testId);
            QCOMPARE(row.at(description), pump.description);
            QCOMPARE(row.at(notes), details.notes);
            QCOMPARE(row.at(TestsCsvExport::header().indexOf(QStringLiteral("Test point"))), details.testPoint);
            QCOMPARE(row.at(TestsCsvExport::header().indexOf(QStringLiteral("Tested"))),
                     row.at(TestsCsvExport::header().indexOf(QStringLiteral("Started"))));
            QVERIFY(!row.at(verdict).isEmpty());
        }
        if (row.at(tag) == QLatin1String("SPARE-1"))
            QVERIFY(row.at(testId).isEmpty());
    }
    QCOMPARE(pumpTests, (QStringList{QString::number(tests.at(0).id), QString::number(tests.at(1).id),
                                     QString::number(tests.at(2).id)}));
    QVERIFY(CsvText::readAll(dir.filePath("register.csv")).startsWith("Tag,Description,"));
}

QTEST_GUILESS_MAIN(TestTestsCsvExport)
#include "tst_testscsvexport.moc"
