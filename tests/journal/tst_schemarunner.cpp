// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "journal/schemarunner.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

#include <vector>

Q_DECLARE_METATYPE(SchemaRunner::Outcome)

namespace {
using Revisions = std::vector<SchemaRunner::Revision>;

// Three revisions of a small schema; the third changes what exists, so a
// program that knows only the first two may not use a database at it.
const Revisions &threeRevisions()
{
    static const Revisions all = {
        {1, 1,
         {QStringLiteral("CREATE TABLE info (name TEXT PRIMARY KEY, value INTEGER NOT NULL) WITHOUT ROWID"),
          QStringLiteral("CREATE TABLE items (id INTEGER PRIMARY KEY, name TEXT NOT NULL)")}},
        {2, 1, {QStringLiteral("ALTER TABLE items ADD COLUMN colour TEXT NOT NULL DEFAULT ''")}},
        {3, 3,
         {QStringLiteral("CREATE TABLE parts (item_id INTEGER NOT NULL REFERENCES items (id), name TEXT NOT NULL)"),
          QStringLiteral("UPDATE items SET name = upper(name)")}},
    };
    return all;
}

// The third revision fails halfway: what it did before must not stay.
const Revisions &failingThird()
{
    static const Revisions all = {
        threeRevisions().at(0),
        threeRevisions().at(1),
        {3, 1,
         {QStringLiteral("CREATE TABLE parts (item_id INTEGER NOT NULL, name TEXT NOT NULL)"),
          QStringLiteral("UPDATE items SET name = upper(name)"),
          QStringLiteral("ALTER TABLE missing ADD COLUMN size INTEGER")}},
    };
    return all;
}

// A database of its own for each case, gone with it.
class MemoryDatabase
{
public:
    explicit MemoryDatabase(const QString &name)
        : m_name(name)
    {
        QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        database.setDatabaseName(QStringLiteral(":memory:"));
        database.open();
    }
    ~MemoryDatabase()
    {
        QSqlDatabase::database(m_name, false).close();
        QSqlDatabase::removeDatabase(m_name);
    }
    MemoryDatabase(const MemoryDatabase &) = delete;
    MemoryDatabase &operator=(const MemoryDatabase &) = delete;

    QSqlDatabase connection() const { return QSqlDatabase::database(m_name, false); }

    bool run(const QStringList &statements) const
    {
        QSqlQuery query(connection());
        for (const QString &statement : statements) {
            if (!query.exec(statement))
                return false;
        }
        return true;
    }

    // Every table's definition and every row, to see that nothing changed.
    QStringList contents() const
    {
        QStringList lines;
        QSqlQuery query(connection());
        query.exec(QStringLiteral("SELECT name, sql FROM sqlite_master ORDER BY name"));
        QStringList tables;
        while (query.next()) {
            lines << query.value(1).toString();
            tables << query.value(0).toString();
        }
        for (const QString &table : qAsConst(tables)) {
            QSqlQuery rows(connection());
            rows.exec(QStringLiteral("SELECT * FROM %1 ORDER BY 1").arg(table));
            while (rows.next()) {
                QStringList values;
                for (int i = 0; i < rows.record().count(); ++i)
                    values << rows.value(i).toString();
                lines << table + QLatin1Char(':') + values.join(QLatin1Char(','));
            }
        }
        return lines;
    }

    SchemaRunner runner(const Revisions &revisions) const
    {
        const QSqlDatabase database = connection();
        return SchemaRunner(database, QStringLiteral("info"), revisions, [database] {
            QSqlQuery query(database);
            return query.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) && query.next()
                   && query.value(0).toInt() == 0;
        });
    }

private:
    QString m_name;
};

// A database as the first `revisions` of the schema left it, with an item.
bool makeAt(const MemoryDatabase &database, int revisions)
{
    if (revisions == 0)
        return true;
    const Revisions first(threeRevisions().begin(), threeRevisions().begin() + revisions);
    return database.runner(first).upgrade().outcome == SchemaRunner::Outcome::Upgraded
           && database.run({QStringLiteral("INSERT INTO items (id, name) VALUES (7, 'pump')")});
}
} // namespace

class TestSchemaRunner : public QObject
{
    Q_OBJECT

private slots:
    void outcomes_data();
    void outcomes();
    void failedRevisionLeavesTheLastGoodOne();
    void newerDatabaseStoredBeforeItsOldestReaderIsRefused();
};

void TestSchemaRunner::outcomes_data()
{
    QTest::addColumn<int>("at");
    QTest::addColumn<QStringList>("setUp");
    QTest::addColumn<SchemaRunner::Outcome>("outcome");
    QTest::addColumn<int>("storedVersion");
    QTest::addColumn<bool>("usable");

    QTest::newRow("empty database") << 0 << QStringList() << SchemaRunner::Outcome::Upgraded << 0 << true;
    QTest::newRow("first revision") << 1 << QStringList() << SchemaRunner::Outcome::Upgraded << 1 << true;
    QTest::newRow("second revision") << 2 << QStringList() << SchemaRunner::Outcome::Upgraded << 2 << true;
    QTest::newRow("newest revision") << 3 << QStringList() << SchemaRunner::Outcome::UpToDate << 3 << true;
    // Revisions after this program's that add only what it can ignore.
    QTest::newRow("newer, readable")
        << 3 << QStringList{QStringLiteral("UPDATE info SET value = 5 WHERE name = 'version'")}
        << SchemaRunner::Outcome::NewerButReadable << 5 << true;
    QTest::newRow("newer, not for this program")
        << 3
        << QStringList{QStringLiteral("UPDATE info SET value = 5 WHERE name = 'version'"),
                       QStringLiteral("UPDATE info SET value = 4 WHERE name = 'oldest_reader'")}
        << SchemaRunner::Outcome::NewerRefused << 5 << false;
    QTest::newRow("another program's tables")
        << 0 << QStringList{QStringLiteral("CREATE TABLE invoices (id INTEGER PRIMARY KEY, total REAL)")}
        << SchemaRunner::Outcome::NotOurs << 0 << false;
    QTest::newRow("info table without a version")
        << 3 << QStringList{QStringLiteral("DELETE FROM info")} << SchemaRunner::Outcome::NotOurs << 0 << false;
}

// Only an older database changes; one that is current, newer or foreign is
// left exactly as it was.
void TestSchemaRunner::outcomes()
{
    QFETCH(int, at);
    QFETCH(QStringList, setUp);
    QFETCH(SchemaRunner::Outcome, outcome);
    QFETCH(int, storedVersion);
    QFETCH(bool, usable);

    const MemoryDatabase database(QStringLiteral("outcomes"));
    QVERIFY(makeAt(database, at));
    QVERIFY(database.run(setUp));
    const QStringList before = database.contents();

    const SchemaRunner::Result result = database.runner(threeRevisions()).upgrade();
    QCOMPARE(result.outcome, outcome);
    QCOMPARE(result.storedVersion, storedVersion);
    QCOMPARE(result.currentVersion, 3);
    QCOMPARE(result.isUsable(), usable);
    QVERIFY(result.databaseError.isEmpty());
    if (outcome != SchemaRunner::Outcome::Upgraded) {
        QCOMPARE(database.contents(), before);
        return;
    }
    SchemaRunner after = database.runner(threeRevisions());
    QCOMPARE(after.storedVersion(), 3);
    QCOMPARE(after.storedValue(QStringLiteral("oldest_reader")), QStringLiteral("3"));
    QCOMPARE(after.upgrade().outcome, SchemaRunner::Outcome::UpToDate);
    // Each revision ran once: the third one's change is not made twice.
    if (at > 0) {
        QSqlQuery query(database.connection());
        QVERIFY(query.exec(QStringLiteral("SELECT name, colour FROM items WHERE id = 7")) && query.next());
        QCOMPARE(query.value(0).toString(), QStringLiteral("PUMP"));
        QCOMPARE(query.value(1).toString(), QString(""));
    }
}

// The revision that failed is undone whole; the ones before it stay.
void TestSchemaRunner::failedRevisionLeavesTheLastGoodOne()
{
    const MemoryDatabase database(QStringLiteral("failing"));
    QVERIFY(makeAt(database, 1));

    const SchemaRunner::Result result = database.runner(failingThird()).upgrade();
    QCOMPARE(result.outcome, SchemaRunner::Outcome::Failed);
    QVERIFY(!result.isUsable());
    QVERIFY(result.databaseError.contains(QStringLiteral("missing")));
    QCOMPARE(database.runner(failingThird()).storedVersion(), 2);
    QSqlQuery query(database.connection());
    QVERIFY(query.exec(QStringLiteral("SELECT name, colour FROM items")) && query.next());
    QCOMPARE(query.value(0).toString(), QStringLiteral("pump"));
    QVERIFY(!query.exec(QStringLiteral("SELECT count(*) FROM parts")));
}

// A database a newer program left at its version 4, which a program of
// revision 3 may still use, is refused by one of revision 2.
void TestSchemaRunner::newerDatabaseStoredBeforeItsOldestReaderIsRefused()
{
    const MemoryDatabase database(QStringLiteral("older program"));
    QVERIFY(makeAt(database, 3));
    QVERIFY(database.run({QStringLiteral("UPDATE info SET value = 4 WHERE name = 'version'")}));
    const Revisions firstTwo(threeRevisions().begin(), threeRevisions().begin() + 2);
    QCOMPARE(database.runner(firstTwo).upgrade().outcome, SchemaRunner::Outcome::NewerRefused);
    QCOMPARE(database.runner(threeRevisions()).upgrade().outcome, SchemaRunner::Outcome::NewerButReadable);
}

QTEST_GUILESS_MAIN(TestSchemaRunner)
#include "tst_schemarunner.moc"
