// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "journal/equipmentstore.h"
#include "journal/journaldatabase.h"
#include "journal/testcatalogue.h"
#include "journal/teststore.h"
#include "support/tempworkdir.h"

#include <QSqlQuery>
#include <QTest>

#include <cmath>
#include <memory>

namespace {
// A journal with a session and `count` tests an hour apart, without details.
class Journal
{
public:
    explicit Journal(int count = 0)
        : m_database(m_dir.filePath(QStringLiteral("journal.sqlite")))
    {
        if (!m_database.open())
            return;
        QSqlQuery(m_database.connection())
            .exec(QStringLiteral("INSERT INTO sessions (uuid, source, started_ms) VALUES ('s', 'window', 0)"));
        TestStore tests(m_database.connection());
        for (int i = 0; i < count; ++i) {
            InsulationTest test;
            test.sessionId = 1;
            test.firstSeq = test.lastSeq = i;
            test.status = InsulationTest::Status::Completed;
            test.startedMs = test.endedMs = 1765360000000LL + i * 3600000LL;
            tests.add(test);
            m_tests << test.id;
        }
    }

    QSqlDatabase database() const { return m_database.connection(); }
    QList<qint64> tests() const { return m_tests; }

private:
    TempWorkDir m_dir;
    JournalDatabase m_database;
    QList<qint64> m_tests;
};

EquipmentItem item(const QString &tag)
{
    EquipmentItem item;
    item.tag = tag;
    item.kind = TestDetails::EquipmentKind::RotatingMachine;
    item.ratedKilovolts = 6.6;
    return item;
}

TestDetails naming(const QString &equipment, TestDetails::EquipmentKind kind = TestDetails::EquipmentKind::Cable)
{
    TestDetails details;
    details.equipment = equipment;
    details.kind = kind;
    details.medium = TestDetails::InsulationMedium::Solid;
    return details;
}
} // namespace

class TestEquipmentStore : public QObject
{
    Q_OBJECT

private slots:
    void tagsAreUnique_data();
    void tagsAreUnique();
    void editsMakeNewVersions();
    void detailsNamingATagBelongToItsItem();
    void freeTextIsMatchedToItemsByTag_data();
    void freeTextIsMatchedToItemsByTag();
    void testsOfAnItemInADateRange();
    void catalogueSaysWhyItRefuses();
};

void TestEquipmentStore::tagsAreUnique_data()
{
    QTest::addColumn<QString>("second");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("the same tag") << "P-101" << false;
    QTest::newRow("the same tag in other letters") << "p-101" << false;
    QTest::newRow("the same tag with spaces around") << "  P-101 " << false;
    QTest::newRow("another tag") << "P-102" << true;
    QTest::newRow("no tag") << "   " << false;
}

void TestEquipmentStore::tagsAreUnique()
{
    QFETCH(QString, second);
    QFETCH(bool, accepted);
    const Journal journal;
    EquipmentStore register_(journal.database());
    EquipmentItem first = item(QStringLiteral("P-101"));
    QVERIFY(register_.save(first));
    EquipmentItem other = item(second);
    QCOMPARE(register_.save(other), accepted);
    QCOMPARE(register_.list().size(), accepted ? 2 : 1);
    if (!accepted)
        QVERIFY(!register_.errorString().isEmpty());
}

void TestEquipmentStore::editsMakeNewVersions()
{
    const Journal journal;
    EquipmentStore register_(journal.database());
    EquipmentItem motor = item(QStringLiteral("M-7"));
    QVERIFY(register_.save(motor));
    QCOMPARE(motor.version, 1);
    QVERIFY(!motor.uuid.isEmpty());
    motor.description = QStringLiteral("Cooling water pump, 250 kW");
    motor.insulationClass = TestDetails::InsulationClass::F;
    motor.medium = TestDetails::InsulationMedium::Solid;
    motor.makerMinimumMegohms = 500;
    motor.makerMinimumCelsius = 40;
    QVERIFY(register_.save(motor));
    const EquipmentItem kept = *register_.findByTag(QStringLiteral("m-7"));
    QCOMPARE(kept.medium, TestDetails::InsulationMedium::Solid);
    QCOMPARE(kept.makerMinimumMegohms, 500.0);
    QCOMPARE(kept.makerMinimumCelsius, 40.0);
    QVERIFY(std::isnan(kept.makerMinimumPi));
    QCOMPARE(kept.version, 2);
    QCOMPARE(kept.description, motor.description);
    QCOMPARE(kept.insulationClass, TestDetails::InsulationClass::F);
    QCOMPARE(kept.ratedKilovolts, 6.6);
    QCOMPARE(kept.uuid, motor.uuid);
}

// Details saved with a tag the register knows make the test the item's; an
// item added later takes the tests that named it.
void TestEquipmentStore::detailsNamingATagBelongToItsItem()
{
    const Journal journal(3);
    EquipmentStore register_(journal.database());
    TestStore tests(journal.database());
    EquipmentItem pump = item(QStringLiteral("P-101"));
    QVERIFY(register_.save(pump));
    QVERIFY(tests.saveDetails(journal.tests().at(0), naming(QStringLiteral("p-101"))));
    QVERIFY(tests.saveDetails(journal.tests().at(1), naming(QStringLiteral("T-2"))));
    QCOMPARE(register_.testsOf(pump.id), QList<qint64>{journal.tests().at(0)});

    EquipmentItem transformer = item(QStringLiteral("T-2"));
    QVERIFY(register_.save(transformer));
    QCOMPARE(register_.testsOf(transformer.id), QList<qint64>{journal.tests().at(1)});

    QVERIFY(register_.remove(pump.id));
    QVERIFY(register_.testsOf(pump.id).isEmpty());
    QCOMPARE(tests.details(journal.tests().at(0)).equipment, QStringLiteral("p-101"));
}

void TestEquipmentStore::freeTextIsMatchedToItemsByTag_data()
{
    QTest::addColumn<QStringList>("named");
    QTest::addColumn<QStringList>("known");
    QTest::addColumn<QStringList>("itemsAfter");
    QTest::addColumn<int>("linked");

    QTest::newRow("a tag the register has") << QStringList{"P-101"} << QStringList{"P-101"} << QStringList{"P-101"} << 1;
    QTest::newRow("in other letters and with spaces") << QStringList{" p-101 "} << QStringList{"P-101"}
                                                      << QStringList{"P-101"} << 1;
    QTest::newRow("a tag it has not: a new item") << QStringList{"Feeder 3"} << QStringList{}
                                                  << QStringList{"Feeder 3"} << 1;
    QTest::newRow("two tests of one new item") << QStringList{"M-7", "M-7"} << QStringList{}
                                               << QStringList{"M-7"} << 2;
    QTest::newRow("no identification stays without item") << QStringList{""} << QStringList{} << QStringList{} << 0;
}

// Tests kept before the register existed named their equipment in free text.
void TestEquipmentStore::freeTextIsMatchedToItemsByTag()
{
    QFETCH(QStringList, named);
    QFETCH(QStringList, known);
    QFETCH(QStringList, itemsAfter);
    QFETCH(int, linked);
    const Journal journal(named.size());
    TestStore tests(journal.database());
    // Saved as an older version did, before any item existed.
    for (int i = 0; i < named.size(); ++i)
        QVERIFY(tests.saveDetails(journal.tests().at(i), naming(named.at(i))));
    EquipmentStore register_(journal.database());
    for (const QString &tag : known) {
        EquipmentItem known = item(tag);
        QVERIFY(QSqlQuery(journal.database()).exec(QStringLiteral("UPDATE test_details SET equipment_id = NULL")));
        QVERIFY(register_.save(known));
        QVERIFY(QSqlQuery(journal.database()).exec(QStringLiteral("UPDATE test_details SET equipment_id = NULL")));
    }

    QCOMPARE(register_.registerFreeText(), linked);
    QCOMPARE(register_.tags(), itemsAfter);
    QCOMPARE(register_.registerFreeText(), 0);
    if (!itemsAfter.isEmpty()) {
        const EquipmentItem matched = *register_.findByTag(itemsAfter.first());
        QCOMPARE(register_.testsOf(matched.id).size(), linked);
        if (known.isEmpty()) {
            QCOMPARE(matched.kind, TestDetails::EquipmentKind::Cable);
            QCOMPARE(matched.medium, TestDetails::InsulationMedium::Solid);
        }
    }
}

void TestEquipmentStore::testsOfAnItemInADateRange()
{
    const Journal journal(5);
    EquipmentStore register_(journal.database());
    TestStore tests(journal.database());
    EquipmentItem cable = item(QStringLiteral("C-12"));
    QVERIFY(register_.save(cable));
    for (const qint64 test : journal.tests())
        QVERIFY(tests.saveDetails(test, naming(QStringLiteral("C-12"))));
    const qint64 hour = 3600000;
    const qint64 first = 1765360000000LL;
    QCOMPARE(register_.testsOf(cable.id), journal.tests());
    QCOMPARE(register_.testsOf(cable.id, first + hour, first + 3 * hour), journal.tests().mid(1, 2));

    // A record of the meter's memory is dated by the day the technician
    // gives it, not by its download.
    TestDetails dated = naming(QStringLiteral("C-12"));
    dated.testedMs = first - 30 * 24 * hour;
    QVERIFY(tests.saveDetails(journal.tests().at(2), dated));
    QCOMPARE(register_.testsOf(cable.id, first + hour, first + 3 * hour), journal.tests().mid(1, 1));
    QCOMPARE(register_.testsOf(cable.id, dated.testedMs, dated.testedMs + hour), journal.tests().mid(2, 1));
    QCOMPARE(register_.testsOf(cable.id).constFirst(), journal.tests().at(2));
}

// What the windows show when the register or the journal refuses an edit.
void TestEquipmentStore::catalogueSaysWhyItRefuses()
{
    const Journal journal(1);
    TestCatalogue catalogue(journal.database());
    EquipmentItem pump = item(QStringLiteral("P-101"));
    QVERIFY(catalogue.saveItem(pump));
    EquipmentItem again = item(QStringLiteral("p-101"));
    QVERIFY(!catalogue.saveItem(again));
    QVERIFY2(catalogue.errorString().contains(QLatin1String("already")), qPrintable(catalogue.errorString()));

    QVERIFY(QSqlQuery(journal.database())
                .exec(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON test_details"
                                     " BEGIN SELECT RAISE(ABORT, 'the disk is full'); END")));
    QVERIFY(!catalogue.saveDetails(journal.tests().first(), naming(QStringLiteral("P-101"))));
    QVERIFY2(catalogue.errorString().contains(QLatin1String("the disk is full")),
             qPrintable(catalogue.errorString()));
}

QTEST_GUILESS_MAIN(TestEquipmentStore)
#include "tst_equipmentstore.moc"
