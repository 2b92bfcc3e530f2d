// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "util/savefilename.h"

#include <QTest>

class TestSaveFileName : public QObject
{
    Q_OBJECT

private slots:
    void typedNameGetsTheChosenTypesSuffix_data();
    void typedNameGetsTheChosenTypesSuffix();
};

void TestSaveFileName::typedNameGetsTheChosenTypesSuffix_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QString>("saved");

    const QString images = QStringLiteral("File(*.jpg *.png *.bmp *.pdf)");
    const QString csv = QStringLiteral("CSV(*.csv)");
    QTest::newRow("image without a suffix") << "/tmp/chart" << images << "png" << "/tmp/chart.png";
    QTest::newRow("table without a suffix") << "/tmp/data" << csv << "csv" << "/tmp/data.csv";
    QTest::newRow("an offered suffix") << "/tmp/chart.pdf" << images << "png" << "/tmp/chart.pdf";
    QTest::newRow("upper case kept") << "/tmp/CHART.JPG" << images << "png" << "/tmp/CHART.JPG";
    QTest::newRow("a suffix not offered") << "/tmp/data.txt" << csv << "csv" << "/tmp/data.txt.csv";
    QTest::newRow("a dot in the name is no suffix") << "/tmp/motor 2.5kV" << images << "png" << "/tmp/motor 2.5kV.png";
    QTest::newRow("a dot in the folder") << "/tmp/site.b/chart" << images << "png" << "/tmp/site.b/chart.png";
    QTest::newRow("ending in a dot") << "/tmp/chart." << images << "png" << "/tmp/chart.png";
    QTest::newRow("nothing typed") << "" << csv << "csv" << "";
    QTest::newRow("a file that is there") << "/dev/null" << csv << "csv" << "/dev/null";
}

// The image is written by its suffix: without one the writer refused the
// file as of an unsupported format.
void TestSaveFileName::typedNameGetsTheChosenTypesSuffix()
{
    QFETCH(QString, typed);
    QFETCH(QString, filter);
    QFETCH(QString, suffix);
    QTEST(SaveFileName::withSuffix(typed, filter, suffix), "saved");
}

QTEST_GUILESS_MAIN(TestSaveFileName)
#include "tst_savefilename.moc"
