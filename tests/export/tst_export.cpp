// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "models/datamodel.h"
#include "support/csvtext.h"
#include "support/filesizelimit.h"
#include "support/modalscript.h"
#include "support/samplerecords.h"
#include "support/windowfixture.h"
#include "window/templatewindow.h"

#include <QAction>
#include <QDesktopServices>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QTabWidget>
#include <QTest>
#include <QUrl>

#include <qcustomplot.h>



namespace {
const QString csvQuestion = QStringLiteral("The data is exported successfully.\r\nDo you want to open this file?");
const QString csvFailure = QStringLiteral("The data is exported failed.");
const QString chartQuestion = QStringLiteral("The chart is exported successfully.\r\nDo you want to open this file?");
const QString chartFailure = QStringLiteral("The chart is exported failed.");

// Stands in for the desktop's file opener: remembers what it was asked to open.
class FileOpener : public QObject
{
    Q_OBJECT

public:
    FileOpener() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "open"); }
    ~FileOpener() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    QList<QUrl> opened;

public slots:
    void open(const QUrl &url) { opened << url; }
};

void feedChart(const WindowFixture &fixture, int readings = 5)
{
    for (int i = 0; i < readings; ++i)
        fixture.live(SampleRecords::irAt(i, 10 * (i + 1)));
}

} // namespace

class TestExport : public QObject
{
    Q_OBJECT

private slots:
    void csvHoldsTheTableShown_data();
    void csvHoldsTheTableShown();
    void csvOpenedOnlyWhenAsked_data();
    void csvOpenedOnlyWhenAsked();
    void cancelledCsvWritesNothing();
    void csvFailuresAreReported_data();
    void csvFailuresAreReported();
    void csvWritesTheTableChosen();
    void csvHeaderHoldsTheColumnTitles();
    void failedExportLeavesThePreviousFile_data();
    void failedExportLeavesThePreviousFile();

    void chartImageFormats_data();
    void chartImageFormats();
    void chartFailuresAreReported_data();
    void chartFailuresAreReported();
};

void TestExport::csvHoldsTheTableShown_data()
{
    QTest::addColumn<bool>("stored");

    QTest::newRow("live IR table") << false;
    QTest::newRow("stored PI table") << true;
}

// The locale's long date holds a comma, which must stay inside its cell.
void TestExport::csvHoldsTheTableShown()
{
    QFETCH(bool, stored);
    WindowFixture fixture;
    feedChart(fixture);
    for (int i = 0; i < 3; ++i)
        fixture.stored(SampleRecords::pi());
    if (!stored)
        fixture.tables()->setCurrentIndex(0);
    const DataModel &model = stored ? *fixture.storedModel() : *fixture.liveModel();

    ModalScript script;
    const auto &dialog = script.fileDialog(fixture.dir().filePath("table.csv"));
    const auto &question = script.messageBox(QMessageBox::No);
    fixture.find<QAction>("actionExport")->trigger();
    QVERIFY(script.finished());
    QCOMPARE(dialog.title, QStringLiteral("Save As"));
    QCOMPARE(dialog.nameFilter, QStringLiteral("CSV(*.csv)"));
    QVERIFY(question.title.isEmpty());
    QCOMPARE(question.text, csvQuestion);
    QCOMPARE(question.defaultButton, QMessageBox::NoButton);

    const QList<QStringList> expected = CsvText::cellsOf(model);
    QCOMPARE(CsvText::readFile("table.csv"), expected);
    QCOMPARE(expected.size(), stored ? 4 : 6);
    QVERIFY(CsvText::readAll("table.csv").endsWith('\n'));
    if (stored)
        QVERIFY(expected.at(1).contains(QStringLiteral("-")));
    else
        QVERIFY2(expected.at(1).at(1).contains(QLatin1Char(',')), "the long date format has no comma here");
}

void TestExport::csvOpenedOnlyWhenAsked_data()
{
    QTest::addColumn<bool>("yes");

    QTest::newRow("yes") << true;
    QTest::newRow("no") << false;
}

void TestExport::csvOpenedOnlyWhenAsked()
{
    QFETCH(bool, yes);
    const QMessageBox::StandardButton answer = yes ? QMessageBox::Yes : QMessageBox::No;
    WindowFixture fixture;
    feedChart(fixture);
    const FileOpener opener;
    const QString name = fixture.dir().filePath("open.csv");
    ModalScript script;
    script.fileDialog(name);
    script.messageBox(answer);
    fixture.find<QAction>("actionExport")->trigger();
    QVERIFY(script.finished());
    QVERIFY(QFile::exists(name));
    QCOMPARE(opener.opened, yes ? QList<QUrl>{QUrl::fromLocalFile(name)} : QList<QUrl>{});
}

void TestExport::cancelledCsvWritesNothing()
{
    WindowFixture fixture;
    feedChart(fixture);
    ModalScript script;
    script.fileDialog(QString());
    const auto &unexpected = script.messageBox(QMessageBox::Ok);
    fixture.find<QAction>("actionExport")->trigger();
    QCoreApplication::processEvents();
    QVERIFY(!unexpected.shown);
    QVERIFY(QDir(fixture.dir().path()).entryList({"*.csv"}).isEmpty());
    // The meter connection resumes: readings keep being recorded.
    fixture.live(SampleRecords::irAt(9, 1));
    QCOMPARE(fixture.liveModel()->rowCount(), 6);
}

void TestExport::csvFailuresAreReported_data()
{
    QTest::addColumn<QString>("fileName");

    QTest::newRow("full disk") << "/dev/full";
    QTest::newRow("missing directory") << "/nonexistent-tessra-dir/table.csv";
}

void TestExport::csvFailuresAreReported()
{
    QFETCH(QString, fileName);
    if (!QFile::exists("/dev/full") && fileName == "/dev/full")
        QSKIP("this system has no /dev/full");
    WindowFixture fixture;
    feedChart(fixture);
    ModalScript script;
    script.fileDialog(fileName);
    if (QFile::exists(fileName))
        script.messageBox(QMessageBox::Yes); // replace the existing file
    const auto &report = script.messageBox(QMessageBox::Ok);
    fixture.find<QAction>("actionExport")->trigger();
    QVERIFY(report.shown);
    QVERIFY(report.title.isEmpty());
    QCOMPARE(report.text, csvFailure);
    QCOMPARE(report.icon, QMessageBox::Information);
}

// A download arriving while the file dialog is open brings the stored table
// forward; the file still holds the live table the user chose to export.
void TestExport::csvWritesTheTableChosen()
{
    WindowFixture fixture;
    feedChart(fixture);
    const QList<QStringList> live = CsvText::cellsOf(*fixture.liveModel());
    ModalScript script;
    script.fileDialog(fixture.dir().filePath("chosen.csv"), [&fixture] { fixture.stored(SampleRecords::pi()); });
    script.messageBox(QMessageBox::No);
    fixture.find<QAction>("actionExport")->trigger();
    QVERIFY(script.finished());
    QCOMPARE(fixture.tables()->currentIndex(), 1);
    QCOMPARE(CsvText::readFile(fixture.dir().filePath("chosen.csv")), live);
}

// The header holds what the table's header shows, not the columns' names.
void TestExport::csvHeaderHoldsTheColumnTitles()
{
    WindowFixture fixture;
    fixture.live(SampleRecords::volt());
    ModalScript script;
    script.fileDialog(fixture.dir().filePath("volt.csv"));
    script.messageBox(QMessageBox::No);
    fixture.find<QAction>("actionExport")->trigger();
    QVERIFY(script.finished());
    const QByteArray header = CsvText::readAll(fixture.dir().filePath("volt.csv")).split('\n').first();
    QCOMPARE(header, QByteArray("No.,Date/Time,Mode,VOLT,ACDC"));
}

void TestExport::failedExportLeavesThePreviousFile_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("failure");

    QTest::newRow("table") << "actionExport"
                           << "table.csv" << csvFailure;
    QTest::newRow("chart image") << "actionSaveImage"
                                 << "chart.png" << chartFailure;
    QTest::newRow("chart PDF") << "actionSaveImage"
                               << "chart.pdf" << chartFailure;
}

// The disk fills up part-way through: the file that was there before is
// left as it was, nothing is left beside it, and the report says why.
void TestExport::failedExportLeavesThePreviousFile()
{
    QFETCH(QString, action);
    QFETCH(QString, fileName);
    QFETCH(QString, failure);
    WindowFixture fixture;
    QVERIFY(fixture.show());
    feedChart(fixture, 200);
    const QString path = fixture.dir().filePath(fileName);
    const QByteArray previous("an export of last week\n");
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(previous);
    }
    const QStringList filesBefore = QDir(fixture.dir().path()).entryList(QDir::Files | QDir::Hidden);

    ModalScript script;
    script.fileDialog(path);
    script.messageBox(QMessageBox::Yes); // replace the existing file
    const auto &report = script.messageBox(QMessageBox::Ok);
    {
        const FileSizeLimit limit(64);
        fixture.find<QAction>(action)->trigger();
    }
    QVERIFY(script.finished());
    QCOMPARE(report.text, failure);
    QVERIFY(!report.informativeText.isEmpty());
    QCOMPARE(CsvText::readAll(path), previous);
    QCOMPARE(QDir(fixture.dir().path()).entryList(QDir::Files | QDir::Hidden), filesBefore);
}

void TestExport::chartImageFormats_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("saved");
    QTest::addColumn<QByteArray>("format");

    QTest::newRow("png") << "chart.png" << "chart.png" << QByteArray("png");
    QTest::newRow("jpg") << "chart.jpg" << "chart.jpg" << QByteArray("jpeg");
    QTest::newRow("bmp") << "chart.bmp" << "chart.bmp" << QByteArray("bmp");
    QTest::newRow("upper-case PNG") << "chart.PNG" << "chart.PNG" << QByteArray("png");
    QTest::newRow("pdf") << "chart.pdf" << "chart.pdf" << QByteArray("pdf");
    // A name typed as a name gets the suffix of a picture.
    QTest::newRow("no suffix") << "chart" << "chart.png" << QByteArray("png");
    QTest::newRow("a suffix not offered") << "chart.xyz" << "chart.xyz.png" << QByteArray("png");
}

// Raster images have the chart's on-screen size and say 96 dots per inch.
void TestExport::chartImageFormats()
{
    QFETCH(QString, fileName);
    QFETCH(QString, saved);
    QFETCH(QByteArray, format);
    WindowFixture fixture;
    QVERIFY(fixture.show());
    feedChart(fixture);
    const FileOpener opener;
    const QString path = fixture.dir().filePath(saved);
    ModalScript script;
    const auto &dialog = script.fileDialog(fixture.dir().filePath(fileName));
    const auto &question = script.messageBox(QMessageBox::Yes);
    fixture.find<QAction>("actionSaveImage")->trigger();
    QVERIFY(script.finished());
    QCOMPARE(dialog.nameFilter, QStringLiteral("File(*.jpg *.png *.bmp *.pdf)"));
    QCOMPARE(question.text, chartQuestion);
    QCOMPARE(opener.opened, QList<QUrl>{QUrl::fromLocalFile(path)});

    if (format == "pdf") {
        QVERIFY(CsvText::readAll(path).startsWith("%PDF"));
        return;
    }
    QImageReader reader(path);
    QCOMPARE(reader.format(), format);
    const QImage image = reader.read();
    QCOMPARE(image.size(), fixture.plot()->size());
    QCOMPARE(qRound(image.dotsPerMeterX() * 0.0254), 96);
}

void TestExport::chartFailuresAreReported_data()
{
    QTest::addColumn<QString>("fileName");

    QTest::newRow("missing directory") << "/nonexistent-tessra-dir/chart.png";
}

void TestExport::chartFailuresAreReported()
{
    QFETCH(QString, fileName);
    WindowFixture fixture;
    feedChart(fixture);
    const FileOpener opener;
    ModalScript script;
    script.fileDialog(QDir::isAbsolutePath(fileName) ? fileName : fixture.dir().filePath(fileName));
    const auto &report = script.messageBox(QMessageBox::Ok);
    fixture.find<QAction>("actionSaveImage")->trigger();
    QVERIFY(report.shown);
    QVERIFY(report.title.isEmpty());
    QCOMPARE(report.text, chartFailure);
    QCOMPARE(report.icon, QMessageBox::Information);
    QVERIFY(opener.opened.isEmpty());
}

QTEST_MAIN(TestExport)
#include "tst_export.moc"
