// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "sync/downloadbatches.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

namespace {
// The server's rows and the journal, each a database in memory of its own.
class Databases
{
public:
    explicit Databases(int rows)
    {
        for (const QString &name : {m_rowsName, m_journalName}) {
            QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            database.setDatabaseName(QStringLiteral(":memory:"));
            database.open();
        }
        QSqlQuery source(QSqlDatabase::database(m_rowsName));
        source.exec(QStringLiteral("CREATE TABLE incoming (n INTEGER PRIMARY KEY)"));
        for (int n = 1; n <= rows; ++n)
            source.exec(QStringLiteral("INSERT INTO incoming VALUES (%1)").arg(n));
        QSqlQuery(journal()).exec(QStringLiteral("CREATE TABLE received (n INTEGER PRIMARY KEY)"));
    }
    ~Databases()
    {
        for (const QString &name : {m_rowsName, m_journalName}) {
            QSqlDatabase::database(name, false).close();
            QSqlDatabase::removeDatabase(name);
        }
    }
    Databases(const Databases &) = delete;
    Databases &operator=(const Databases &) = delete;

    QSqlQuery rows() const
    {
        QSqlQuery query(QSqlDatabase::database(m_rowsName));
        query.setForwardOnly(true);
        query.exec(QStringLiteral("SELECT n FROM incoming ORDER BY n"));
        return query;
    }
    QSqlDatabase journal() const { return QSqlDatabase::database(m_journalName); }
    int received() const
    {
        QSqlQuery query(journal());
        return query.exec(QStringLiteral("SELECT count(*) FROM received")) && query.next() ? query.value(0).toInt()
                                                                                           : -1;
    }

private:
    const QString m_rowsName = QStringLiteral("rows");
    const QString m_journalName = QStringLiteral("journal");
};
} // namespace

class TestDownloadBatches : public QObject
{
    Q_OBJECT

private slots:
    void batchesOfRowsWritten_data();
    void batchesOfRowsWritten();
};

void TestDownloadBatches::batchesOfRowsWritten_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("skipEvery");   // every n-th row is there already; 0: none
    QTest::addColumn<int>("failAt");      // the row whose write fails; 0: none
    QTest::addColumn<int>("stopAfter");   // the batch after which the sync is stopped; 0: never
    QTest::addColumn<bool>("done");
    QTest::addColumn<int>("received");
    QTest::addColumn<int>("steps");

    QTest::newRow("nothing came") << 0 << 0 << 0 << 0 << true << 0 << 0;
    QTest::newRow("less than a batch") << 3 << 0 << 0 << 0 << true << 3 << 0;
    QTest::newRow("whole batches") << 12 << 0 << 0 << 0 << true << 12 << 3;
    QTest::newRow("and a part") << 14 << 0 << 0 << 0 << true << 14 << 3;
    // Rows left alone do not fill a batch.
    QTest::newRow("every third there already") << 12 << 3 << 0 << 0 << true << 8 << 2;
    QTest::newRow("stopped after the second batch") << 14 << 0 << 0 << 2 << false << 8 << 2;
    // What earlier batches brought stays; the batch the failure met goes.
    QTest::newRow("failure in the third batch") << 14 << 0 << 10 << 0 << false << 8 << 2;
    QTest::newRow("failure in the last part") << 14 << 0 << 14 << 0 << false << 12 << 3;
}

void TestDownloadBatches::batchesOfRowsWritten()
{
    QFETCH(int, rows);
    QFETCH(int, skipEvery);
    QFETCH(int, failAt);
    QFETCH(int, stopAfter);
    QFETCH(bool, done);
    QFETCH(int, received);
    QFETCH(int, steps);

    const Databases databases(rows);
    int stepped = 0;
    {
        DownloadBatches batches(databases.journal(), 4, [&](SyncStep step) {
            if (step != SyncStep::Received)
                return false;
            ++stepped;
            return stepped != stopAfter;
        });
        QSqlQuery incoming = databases.rows();
        QSqlQuery insert(databases.journal());
        insert.prepare(QStringLiteral("INSERT INTO received (n) VALUES (?)"));
        const bool finished = batches.receiveAll(incoming, [&](const QSqlQuery &row) {
            const int n = row.value(0).toInt();
            if (skipEvery > 0 && n % skipEvery == 0)
                return true;
            if (!batches.beginWrite() || n == failAt)
                return false;
            insert.addBindValue(n);
            return insert.exec();
        });
        QCOMPARE(finished, done);
        QVERIFY(batches.errorString().isEmpty());
    }
    QCOMPARE(databases.received(), received);
    QCOMPARE(stepped, steps);
}

QTEST_GUILESS_MAIN(TestDownloadBatches)
#include "tst_downloadbatches.moc"
