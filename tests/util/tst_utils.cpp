// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "support/csvtext.h"
#include "support/tempworkdir.h"
#include "util/utils.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QAbstractTableModel>
#include <QTest>
#include <QTimer>

namespace {
// A fixed table of texts.
class StringTableModel : public QAbstractTableModel
{
public:
    StringTableModel(QStringList headers, QList<QStringList> rows, QObject *parent)
        : QAbstractTableModel(parent)
        , m_headers(std::move(headers))
        , m_rows(std::move(rows))
    {
    }

    int rowCount(const QModelIndex & = QModelIndex()) const override { return m_rows.size(); }
    int columnCount(const QModelIndex & = QModelIndex()) const override { return m_headers.size(); }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || role != Qt::DisplayRole)
            return {};
        return m_rows[index.row()].value(index.column());
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return {};
        return m_headers.value(section);
    }

private:
    QStringList m_headers;
    QList<QStringList> m_rows;
};

StringTableModel *makeModel(const QStringList &headers, const QList<QStringList> &rows, QObject *parent)
{
    return new StringTableModel(headers, rows, parent);
}

} // namespace

class TestUtils : public QObject
{
    Q_OBJECT

private slots:
    void checkSum_data();
    void checkSum();
    void csvWritesHeaderAndRows_data();
    void csvWritesHeaderAndRows();
    void csvCellsReadBackUnchanged();
    void csvOverwritesLongerFile();
    void csvReportsFailures();
    void csvLeavesAReadOnlyFileAlone();
    void delayKeepsHandlingEvents();
    void childObjectsInPreOrder();
};

void TestUtils::checkSum_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("len");
    QTest::addColumn<int>("expected");

    QTest::newRow("worked example") << QByteArray::fromHex("0200010200") << 4 << 5;
    QTest::newRow("bytes are unsigned") << QByteArray::fromHex("ffff80") << 3 << 0x27e;
    QTest::newRow("empty") << QByteArray() << 0 << 0;
    QTest::newRow("negative length") << QByteArray::fromHex("01") << -1 << 0;
}

void TestUtils::checkSum()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, len);
    QFETCH(int, expected);
    QCOMPARE(Utils::getCheckSum(bytes.constData(), len), expected);
}

void TestUtils::csvWritesHeaderAndRows_data()
{
    QTest::addColumn<QStringList>("headers");
    QTest::addColumn<QList<QStringList>>("rows");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("empty table: header only")
        << QStringList{"No.", "Date/Time", "Mode"} << QList<QStringList>{} << QByteArray("No.,Date/Time,Mode\n");
    QTest::newRow("three columns, two rows")
        << QStringList{"a", "b", "c"} << QList<QStringList>{{"1", "2", "3"}, {"4", "5", "6"}}
        << QByteArray("a,b,c\n1,2,3\n4,5,6\n");
    QTest::newRow("units in UTF-8, no byte-order mark")
        << QStringList{"RES", "CAP"} << QList<QStringList>{{"12.3 GΩ", "1.50 μF"}}
        << QByteArray("RES,CAP\n12.3 G\xce\xa9,1.50 \xce\xbc" "F\n");
    QTest::newRow("comma, quote and line breaks are quoted")
        << QStringList{"Date/Time", "Note"}
        << QList<QStringList>{{"Tuesday, 9 December 2026", "say \"hi\""}, {"a\nb", "c\rd"}}
        << QByteArray("Date/Time,Note\n\"Tuesday, 9 December 2026\",\"say \"\"hi\"\"\"\n\"a\nb\",\"c\rd\"\n");
    QTest::newRow("empty cells stay empty") << QStringList{"x", "y"} << QList<QStringList>{{"", ""}}
                                            << QByteArray("x,y\n,\n");
    QTest::newRow("formulas never run in a spreadsheet")
        << QStringList{"Tag", "Notes"}
        << QList<QStringList>{{"=HYPERLINK(\"http://x\",\"y\")", "+1+2"}, {"@SUM(A1)", "-2+3"},
                              {"\t=1", "\r=1"}, {"- M\u03a9", "a=b"}}
        << QByteArray("Tag,Notes\n\"'=HYPERLINK(\"\"http://x\"\",\"\"y\"\")\",'+1+2\n'@SUM(A1),'-2+3\n"
                      "'\t=1,\"'\r=1\"\n'- M\xce\xa9,a=b\n");
    QTest::newRow("numbers stay numbers")
        << QStringList{"V", "R"} << QList<QStringList>{{"-250", "+12.5"}, {"-1e3", "-"}}
        << QByteArray("V,R\n-250,+12.5\n-1e3,-\n");
}

void TestUtils::csvWritesHeaderAndRows()
{
    QFETCH(QStringList, headers);
    QFETCH(QList<QStringList>, rows);
    QFETCH(QByteArray, expected);

    TempWorkDir dir;
    StringTableModel *model = makeModel(headers, rows, this);
    QVERIFY(Utils::exportToCSV(model, QStringLiteral("out.csv")));
    QCOMPARE(CsvText::readAll(QStringLiteral("out.csv")), expected);
}

void TestUtils::csvCellsReadBackUnchanged()
{
    TempWorkDir dir;
    const QStringList headers{"No.", "Date/Time", "RES"};
    const QList<QStringList> rows{{"1", "Wednesday, 9 December 2026 23:59:59 UTC", ">12.3 GΩ"},
                                  {"2", "-", "\"quoted\", twice"}};
    StringTableModel *model = makeModel(headers, rows, this);
    QVERIFY(Utils::exportToCSV(model, QStringLiteral("round.csv")));

    const QList<QStringList> records = CsvText::readFile(QStringLiteral("round.csv"));
    QCOMPARE(records.size(), 3);
    QCOMPARE(records[0], headers);
    QCOMPARE(records[1], rows[0]);
    QCOMPARE(records[2], rows[1]);
}

void TestUtils::csvOverwritesLongerFile()
{
    TempWorkDir dir;
    {
        QFile old(QStringLiteral("old.csv"));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(4096, 'x'));
    }
    StringTableModel *model = makeModel({"a"}, {{"1"}}, this);
    QVERIFY(Utils::exportToCSV(model, QStringLiteral("old.csv")));
    QCOMPARE(CsvText::readAll(QStringLiteral("old.csv")), QByteArray("a\n1\n"));
}

void TestUtils::csvReportsFailures()
{
    TempWorkDir dir;
    StringTableModel *model = makeModel({"a"}, {{"1"}}, this);

    QVERIFY(!Utils::exportToCSV(nullptr, QStringLiteral("none.csv")));
    QVERIFY(!QFile::exists(QStringLiteral("none.csv")));
    QVERIFY(!Utils::exportToCSV(model, dir.filePath(QStringLiteral("missing/dir/out.csv"))));
    if (QFile::exists(QStringLiteral("/dev/full")))
        QVERIFY2(!Utils::exportToCSV(model, QStringLiteral("/dev/full")), "a full disk must not report success");
}

// A file the user may not change is a failure, and keeps what it held.
void TestUtils::csvLeavesAReadOnlyFileAlone()
{
    TempWorkDir dir;
    StringTableModel *model = makeModel({"a"}, {{"1"}}, this);
    const QByteArray before("kept\n");
    QFile file(QStringLiteral("locked.csv"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(before);
    file.close();
    QVERIFY(file.setPermissions(QFileDevice::ReadOwner));
    if (file.open(QIODevice::WriteOnly | QIODevice::Append))
        QSKIP("permissions do not stop this user from writing (root)");

    QVERIFY(!Utils::exportToCSV(model, file.fileName()));
    QCOMPARE(CsvText::readAll(file.fileName()), before);
}

void TestUtils::delayKeepsHandlingEvents()
{
    bool handled = false;
    QTimer::singleShot(0, this, [&handled] { handled = true; });
    QElapsedTimer clock;
    clock.start();
    Utils::delayMs(50, 10);
    QVERIFY(handled);
    QVERIFY(clock.elapsed() >= 50); // never returns early, whatever woke it
}

void TestUtils::childObjectsInPreOrder()
{
    QWidget root;
    root.setObjectName("root");
    auto *frame = new QWidget(&root);
    frame->setObjectName("frame");
    auto *first = new QPushButton(frame);
    first->setObjectName("first");
    auto *label = new QLabel(frame);
    label->setObjectName("label");
    auto *second = new QPushButton(&root);
    second->setObjectName("second");
    auto *nested = new QPushButton(first);
    nested->setObjectName("nested");

    auto names = [](const QList<QObject *> &objects) {
        QStringList result;
        for (const QObject *object : objects)
            result << object->objectName();
        return result;
    };

    QCOMPARE(names(Utils::getChildObject(&root, {"QPushButton"}, true)),
             (QStringList{"first", "nested", "second"}));
    QCOMPARE(names(Utils::getChildObject(&root, {"QPushButton"}, false)), QStringList{"second"});
    QCOMPARE(names(Utils::getChildObject(&root, {}, true)),
             (QStringList{"frame", "first", "nested", "label", "second"}));
    QCOMPARE(names(Utils::getChildObject(&root, {"QPushButton", "QLabel"}, true)),
             (QStringList{"first", "nested", "label", "second"}));
    QVERIFY(Utils::getChildObject(&root, {"qpushbutton"}, true).isEmpty());
    QVERIFY(Utils::getChildObject(&root, {"QAbstractButton"}, true).isEmpty());
}

QTEST_MAIN(TestUtils)
#include "tst_utils.moc"
