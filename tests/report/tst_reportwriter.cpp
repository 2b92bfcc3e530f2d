// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "app/languageinstaller.h"
#include "insulation/reasontext.h"
#include "meter/dmmdata.h"
#include "report/reporttext.h"
#include "report/reportwriter.h"
#include "reportfixture.h"
#include "support/tempworkdir.h"
#include "testpaths.h"

#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <QTranslator>

using namespace ReportFixture;

Q_DECLARE_METATYPE(ReportContent)
Q_DECLARE_METATYPE(ReportOptions)

namespace {
QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The text as pdftotext lays it out, one string per page.
QStringList pagesOf(const QString &pdf)
{
    QStringList pages = run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")})
                            .split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.constLast().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

// Words as a reader sees them: a phrase wrapped in a table cell reads on.
QString readable(const QString &text)
{
    return text.simplified();
}

int pdfPages(const QString &pdf)
{
    const QRegularExpression pages(QStringLiteral("Pages:\\s+(\\d+)"));
    return pages.match(run(QStringLiteral("pdfinfo"), {pdf})).captured(1).toInt();
}

ReportContent::Test piTestOfMotor(qint64 startedMs = at(2025, 9, 12), double r60 = 3200.0, double pi = 2.8)
{
    return judged(piTest(startedMs, r60, pi), detailsFor(motor(), 30.0));
}

ReportContent interruptedTest()
{
    InsulationTest test = piTest(at(2025, 9, 12), 900.0, 2.0, 45.0);
    test.status = InsulationTest::Status::Interrupted;
    return oneTestReport(judged(test, detailsFor(motor())));
}

// No temperature given, readings without a value, and beyond the range
// from 40 s on, where the meter's limit is 2 TΩ; the meter's own final
// value lost its number.
ReportContent missingAndBeyondRange()
{
    InsulationTest test = piTest(at(2025, 9, 12), 1.5e6, 2.5, 120.0);
    test.curve[2].megohms = qQNaN();
    for (CurvePoint &point : test.curve) {
        if (point.seconds >= 40.0) {
            point.megohms = 2.0e6;
            point.overRange = true;
        }
    }
    test.finalMegohms = qQNaN();
    test.finalOverRange = true;
    test.meterPi = qQNaN();
    TestDetails details = detailsFor(motor());
    details.insulationCelsius = qQNaN();
    details.humidityPercent = qQNaN();
    return oneTestReport(judged(test, details));
}

ReportContent fromMemory()
{
    InsulationTest test;
    test.mode = DMMData::dmIR;
    test.origin = InsulationTest::Origin::Memory;
    test.status = InsulationTest::Status::Completed;
    test.startedMs = at(2025, 9, 12);
    test.finalMegohms = 480.0;
    return oneTestReport(judged(test, detailsFor(motor())));
}

ReportContent measurement()
{
    InsulationTest test;
    test.mode = DMMData::dmVOLT;
    test.status = InsulationTest::Status::Completed;
    test.startedMs = at(2025, 9, 12);
    test.measurementText = QStringLiteral("230 V");
    return oneTestReport(judged(test, detailsFor(motor())));
}

ReportContent withoutItem()
{
    TestDetails details;
    details.equipment = QStringLiteral("Feeder cable C-7");
    details.kind = TestDetails::EquipmentKind::Cable;
    details.ratedKilovolts = 0.6;
    details.insulationCelsius = 18.0;
    details.operatorName = QStringLiteral("A. Tester");
    ReportContent content = oneTestReport(judged(piTest(at(2025, 9, 12), 800.0, 1.8), details));
    content.item.reset();
    return content;
}

ReportContent trendWithWarning()
{
    QList<ReportContent::Test> tests;
    const double r60[] = {3200.0, 3000.0, 900.0};
    for (int year = 0; year < 3; ++year)
        tests << piTestOfMotor(at(2023 + year, 4, 2), r60[year], 2.5);
    ReportContent content = itemReport(tests);
    content.trend[2].warning = QStringLiteral("fell to less than half of the previous test at a similar temperature");
    return content;
}

// The motor's trend, its latest test judged by the meter against its own limit.
ReportContent trendEndingInMeterLimit()
{
    ReportContent content = trendWithWarning();
    InsulationTest comp;
    comp.mode = DMMData::dmCOMP;
    comp.status = InsulationTest::Status::Completed;
    comp.startedMs = at(2026, 4, 2);
    comp.endedMs = comp.startedMs + 60000;
    comp.setVolts = content.tests.constLast().test.setVolts;
    comp.finalMegohms = 900.0;
    comp.compLimitMegohms = 500.0;
    comp.compResult = 2;
    content.tests << judged(comp, content.tests.constLast().details);
    content.trend << pointOf(content.tests.constLast());
    return content;
}

// A motor's three phases tested on two days, a reading of the meter's
// memory without a date or a point among them, listed out of order.
ReportContent phasesOverTwoDays()
{
    QList<ReportContent::Test> tests;
    qint64 id = 0;
    for (const int year : {2025, 2024}) {
        for (const QString &phase : {QStringLiteral("W-E"), QStringLiteral("U-E"), QStringLiteral("V-E")}) {
            TestDetails details = detailsFor(motor(), 30.0);
            details.testPoint = phase;
            ReportContent::Test test = judged(piTest(at(year, 4, 2, 9 + int(id % 3)), 3000.0, 2.5), details);
            test.test.id = ++id;
            tests << test;
        }
    }
    InsulationTest memory;
    memory.mode = DMMData::dmIR;
    memory.origin = InsulationTest::Origin::Memory;
    memory.status = InsulationTest::Status::Completed;
    memory.startedMs = at(2025, 4, 2, 15);
    memory.finalMegohms = 2000.0;
    ReportContent::Test record = judged(memory, detailsFor(motor()));
    record.test.id = ++id;
    tests.insert(2, record);
    return itemReport(tests);
}

// One test of an item whose trend warns at two of its tests.
ReportContent oneTestOfAWarningTrend()
{
    QList<ReportContent::Test> tests;
    for (int year = 0; year < 3; ++year) {
        tests << piTestOfMotor(at(2023 + year, 4, 2), 3200.0, 2.5);
        tests.last().test.id = year + 1;
    }
    ReportContent content = itemReport(tests);
    content.trend[1].warning = QStringLiteral("the warning of the second test");
    content.trend[2].warning = QStringLiteral("the warning of the third test");
    content.scope = ReportContent::Scope::OneTest;
    content.tests = {tests.at(1)};
    return content;
}

QStringList reasonsOf(const ReportContent &content)
{
    QStringList reasons;
    for (const ReportContent::Test &test : content.tests)
        reasons += test.verdict.reasons;
    return reasons;
}

QStringList signatureLabels()
{
    return {QStringLiteral("Tested by:"), QStringLiteral("Accepted by:"), QStringLiteral("Date:"),
            QStringLiteral("Signature:")};
}

// The report's own language catalogue and the toolkit's, where the program
// finds them.
bool stageCatalogues(const TempWorkDir &dir)
{
    const QDir build(QStringLiteral(TESSRA_BUILD_DIR));
    QDir target(dir.path());
    target.mkpath(QStringLiteral("translations"));
    return QFile::copy(build.filePath(QStringLiteral("zh_CN.qm")), target.filePath(QStringLiteral("zh_CN.qm")))
           && QFile::copy(build.filePath(QStringLiteral("translations/qt_zh_CN.qm")),
                          target.filePath(QStringLiteral("translations/qt_zh_CN.qm")));
}

QString withoutSpaces(QString text)
{
    return text.remove(QLatin1Char(' '));
}
} // namespace

class TestReportWriter : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void contents_data();
    void contents();
    void testsGroupedByDayAndPoint();
    void hundredTestsNumberEveryPage();
    void signatureStaysWithWhatItSigns_data();
    void signatureStaysWithWhatItSigns();
    void rulesAreListedOnceAtTheEnd();
    void longNotesAndReasonsContinue();
    void paper_data();
    void paper();
    void paperOfLocale_data();
    void paperOfLocale();
    void chineseReportEmbedsItsFont();
    void logoIsTheOnlyImage_data();
    void logoIsTheOnlyImage();
    void failedWriteLeavesNoFile();
    void deviceIsWrittenNotReplaced();
};

void TestReportWriter::initTestCase()
{
    for (const char *tool : {"pdftotext", "pdfinfo", "pdffonts", "pdfimages"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            QFAIL(qPrintable(QStringLiteral("%1 (poppler-utils) is needed to read the reports back").arg(tool)));
    }
}

void TestReportWriter::contents_data()
{
    QTest::addColumn<ReportContent>("content");
    QTest::addColumn<ReportOptions>("options");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("absent");

    const ReportContent onePi = oneTestReport(piTestOfMotor());
    QTest::newRow("one PI test of an item")
        << onePi << options()
        << QStringList{"Insulation test report", "Volta Field Services Ltd", "Technician: J. Okafor",
                       "Report date: 20 Mar 2026", "M-101", "Cooling water pump motor", "North plant",
                       "Pump house, bay 3", "Rotating machine", "6.6 kV", "Form-wound, built after about 1970",
                       ReportText::dateTime(at(2025, 9, 12)), "5000 V", "Completed", "Live readings", "30 °C",
                       "R60 (1 min) 3.20 GΩ", "PI (R600/R60) 2.80", "Corrected to 40 °C", "Pass",
                       // The rules applied close the report, here on a page of their own.
                       "Page 2 of 2",
                       "Rules applied", "IEEE 43-2013, 12.3", "IEEE 43-2013, minimum PI by thermal class",
                       "IEEE 43-2013, DC test voltages"}
               + reasonsOf(onePi) + signatureLabels()
        << QStringList{"Trend of", "Interrupted"};

    const ReportContent noTests = itemReport({});
    QTest::newRow("an item without tests")
        << noTests << options()
        << QStringList{"Insulation tests of M-101", "There are no tests to report.", "Cooling water pump motor",
                       "Page 1 of 1"} + signatureLabels()
        << QStringList{"Test 1", "Trend of"};

    ReportContent noTestsInPeriod = itemReport({});
    noTestsInPeriod.from = QDate(2024, 1, 1);
    noTestsInPeriod.to = QDate(2024, 12, 31);
    QTest::newRow("an item without tests in a period")
        << noTestsInPeriod << options()
        << QStringList{"From 1 Jan 2024 to 31 Dec 2024", "The item has no tests in this period."} << QStringList();

    const ReportContent interrupted = interruptedTest();
    QTest::newRow("an interrupted test") << interrupted << options()
                                         << QStringList{"Interrupted"} + reasonsOf(interrupted) << QStringList();

    const ReportContent missing = missingAndBeyondRange();
    QTest::newRow("values missing and beyond the range")
        << missing << options()
        << QStringList{"R60 (1 min) >2.00 TΩ", "Final resistance beyond the range", "not corrected", "Relative humidity -"}
               + reasonsOf(missing)
        << QStringList{"nan", "inf"};

    QTest::newRow("a test from the meter's memory")
        << fromMemory() << options()
        << QStringList{"The meter's memory", "No curve: the meter's memory keeps a test's final values only.", "480 MΩ",
                       // Its cell wraps the words.
                       "date unknown,", "downloaded " + ReportText::date(QDate(2025, 9, 12))}
        << QStringList{"Readings of the curve", "Test time (s)"};

    QTest::newRow("a measurement is one line")
        << measurement() << options() << QStringList{"VOLT measurement: 230 V"}
        << QStringList{"Readings of the curve", "Verdict", "Test time (s)"};

    QTest::newRow("a test kept without an item")
        << withoutItem() << options()
        << QStringList{"Insulation test report", "Feeder cable C-7", "Cable", "600 V", "20 °C (the kind's default)"}
        << QStringList{"M-101"};

    ReportOptions unnamed = options();
    unnamed.technician.clear();
    unnamed.company.clear();
    QTest::newRow("the tests' operator signs where no technician is named")
        << oneTestReport(piTestOfMotor()) << unnamed << QStringList{"Technician: A. Tester", "Tested by: A. Tester"}
        << QStringList{"Volta"};

    const ReportContent trend = trendWithWarning();
    QTest::newRow("an item's trend with its warning")
        << trend << options()
        << QStringList{"Insulation tests of M-101", "Test 1 of 3: PI test", "Test 3 of 3: PI test", "Trend of M-101",
                       "Minimum IR 100 MΩ", "Minimum PI 2.00", trend.trend[2].warning, "Warning"}
        << QStringList();

    QTest::newRow("a single test's report carries its own warning only")
        << oneTestOfAWarningTrend() << options() << QStringList{"Trend of M-101", "the warning of the second test"}
        << QStringList{"the warning of the third test"};

    QTest::newRow("an item's lines are its rules', not a meter's limit")
        << trendEndingInMeterLimit() << options() << QStringList{"Trend of M-101", "Minimum IR 100 MΩ", "Minimum PI 2.00"}
        << QStringList{"Minimum IR 500"};
}

void TestReportWriter::contents()
{
    QFETCH(ReportContent, content);
    QFETCH(ReportOptions, options);
    QFETCH(QStringList, present);
    QFETCH(QStringList, absent);
    TempWorkDir dir;
    QVERIFY(dir.isValid());

    ReportWriter writer(content, options);
    QVERIFY2(writer.write(QStringLiteral("report.pdf")), qPrintable(writer.errorString()));
    QCOMPARE(pdfPages(QStringLiteral("report.pdf")), writer.pageCount());
    const QString text = readable(pagesOf(QStringLiteral("report.pdf")).join(QLatin1Char(' ')));
    for (const QString &expected : present)
        QVERIFY2(text.contains(readable(expected)), qPrintable(QStringLiteral("missing: ") + expected));
    for (const QString &unexpected : absent)
        QVERIFY2(!text.contains(unexpected), qPrintable(QStringLiteral("unexpected: ") + unexpected));
}

// The tests of a day together, phase by phase, each group under its heading;
// a memory record without a date goes by its download's day, last in it.
void TestReportWriter::testsGroupedByDayAndPoint()
{
    TempWorkDir dir;
    ReportWriter writer(phasesOverTwoDays(), options());
    QVERIFY2(writer.write(QStringLiteral("report.pdf")), qPrintable(writer.errorString()));
    const QString text = readable(pagesOf(QStringLiteral("report.pdf")).join(QLatin1Char(' ')));
    const QString day2024 = ReportText::date(QDate(2024, 4, 2));
    const QString day2025 = ReportText::date(QDate(2025, 4, 2));
    const QStringList headings{day2024 + " · U-E", day2024 + " · V-E", day2024 + " · W-E",
                               day2025 + " · U-E", day2025 + " · V-E", day2025 + " · W-E",
                               "date unknown, downloaded " + day2025 + " · no test point"};
    int from = 0;
    for (const QString &heading : headings) {
        const int at = text.indexOf(heading, from);
        QVERIFY2(at >= 0, qPrintable(QStringLiteral("missing or out of order: ") + heading));
        from = at + heading.size();
    }
    QVERIFY(text.contains(QLatin1String("Test point U-E")));
}

// Each verdict names its rules; the report lists them once, after the tests.
void TestReportWriter::rulesAreListedOnceAtTheEnd()
{
    TempWorkDir dir;
    QList<ReportContent::Test> tests;
    for (int year = 0; year < 3; ++year)
        tests << piTestOfMotor(at(2023 + year, 4, 2), 3200.0 - year * 100.0, 2.5);
    ReportWriter writer(itemReport(tests), options());
    QVERIFY2(writer.write(QStringLiteral("report.pdf")), qPrintable(writer.errorString()));
    const QString text = readable(pagesOf(QStringLiteral("report.pdf")).join(QLatin1Char(' ')));

    QCOMPARE(text.count(QStringLiteral("Rules applied")), 1);
    const int list = text.indexOf(QStringLiteral("Rules applied"));
    QVERIFY(list > text.lastIndexOf(QStringLiteral("Test 3 of 3")));
    // Once in each test's verdict, once in the list.
    const QString rule = QStringLiteral("IEEE 43-2013, 12.3");
    QVERIFY(tests.constFirst().verdict.rules.contains(rule));
    QCOMPARE(text.count(rule), 4);
    QVERIFY(text.indexOf(rule, list) > list);
}

// Every page numbered, every test whole where it starts: a row cut at a
// page's foot would show its text on both pages.
void TestReportWriter::hundredTestsNumberEveryPage()
{
    TempWorkDir dir;
    QList<ReportContent::Test> tests;
    for (int week = 0; week < 100; ++week)
        tests << piTestOfMotor(at(2024, 1, 1) + week * 7 * 86400000LL + week * 60000LL,
                               3000.0 - week * 10.0, 2.0 + (week % 10) / 10.0);
    ReportWriter writer(itemReport(tests), options());
    QVERIFY2(writer.write(QStringLiteral("report.pdf")), qPrintable(writer.errorString()));

    const QStringList pages = pagesOf(QStringLiteral("report.pdf"));
    QVERIFY(pages.size() > 1);
    QCOMPARE(writer.pageCount(), pages.size());
    QCOMPARE(pdfPages(QStringLiteral("report.pdf")), pages.size());
    for (int page = 0; page < pages.size(); ++page) {
        QVERIFY2(pages.at(page).contains(QStringLiteral("Page %1 of %2").arg(page + 1).arg(pages.size())),
                 qPrintable(QStringLiteral("page %1 has no number").arg(page + 1)));
        QVERIFY(pages.at(page).contains(QStringLiteral("Volta Field Services Ltd")));
    }
    const QString text = pages.join(QLatin1Char(' '));
    for (const ReportContent::Test &test : tests) {
        const QString started = ReportText::dateTime(test.test.startedMs);
        QVERIFY2(text.count(started) == 1, qPrintable(started));
    }
    QVERIFY(pages.constLast().contains(QStringLiteral("Signature:")));
}

void TestReportWriter::signatureStaysWithWhatItSigns_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("signature");
    QTest::addColumn<QString>("rules");

    QTest::newRow("English") << QString() << QStringLiteral("Signature") << QStringLiteral("Rules applied");
    QTest::newRow("Chinese") << QStringLiteral("zh_CN") << QStringLiteral("签名") << QStringLiteral("所用规则");
}

// Whatever the length of the report, the signature block never stands alone
// on its last page: the list of the rules it signs for comes with it.
void TestReportWriter::signatureStaysWithWhatItSigns()
{
    QFETCH(QString, language);
    QFETCH(QString, signature);
    QFETCH(QString, rules);

    TempWorkDir dir;
    const QLocale before;
    QTranslator own;
    QTranslator toolkit;
    if (!language.isEmpty()) {
        QVERIFY(stageCatalogues(dir));
        QVERIFY(installLanguage(*qApp, language, own, toolkit));
    }
    // Notes of one line more at a time move the end of the report down the
    // page until the signature no longer fits below it.
    QStringList alone;
    QStringList notes;
    for (int lines = 0; lines <= 40; lines += 2) {
        ReportContent content = trendWithWarning();
        content.tests.last().details.notes = notes.join(QLatin1Char('\n'));
        ReportWriter writer(content, options());
        if (!writer.write(QStringLiteral("report.pdf")))
            alone << writer.errorString();
        const QString last = readable(pagesOf(QStringLiteral("report.pdf")).constLast());
        if (!last.contains(signature) || !last.contains(rules))
            alone << QString::number(lines);
        notes << QStringLiteral("Remark %1 on the winding.").arg(lines) << QStringLiteral("Cleaned and dried.");
    }
    QCoreApplication::removeTranslator(&own);
    QCoreApplication::removeTranslator(&toolkit);
    QLocale::setDefault(before);
    QVERIFY2(alone.isEmpty(), qPrintable(QStringLiteral("alone after notes of %1 lines").arg(alone.join(QStringLiteral(", ")))));
}

// Text too long for a page continues on the next, the table's header above
// it, and no line is drawn twice.
void TestReportWriter::longNotesAndReasonsContinue()
{
    TempWorkDir dir;
    ReportContent::Test test = piTestOfMotor();
    QStringList notes;
    for (int line = 1; line <= 120; ++line)
        notes << QStringLiteral("Remark %1 on the winding's condition.").arg(line);
    test.details.notes = notes.join(QLatin1Char('\n'));
    QString longReason = QStringLiteral("A reason that goes on");
    for (int word = 1; word <= 400; ++word)
        longReason += QStringLiteral(" word%1").arg(word);
    test.verdict.reasons << longReason;
    ReportWriter writer(oneTestReport(test), options());
    QVERIFY2(writer.write(QStringLiteral("report.pdf")), qPrintable(writer.errorString()));

    const QStringList pages = pagesOf(QStringLiteral("report.pdf"));
    QVERIFY(pages.size() >= 3);
    const QString text = pages.join(QLatin1Char(' '));
    for (const QString &remark : qAsConst(notes))
        QVERIFY2(text.count(remark) == 1, qPrintable(remark));
    for (int word = 1; word <= 400; ++word)
        QCOMPARE(text.count(QRegularExpression(QStringLiteral("\\bword%1\\b").arg(word))), 1);
    QVERIFY(pages.at(1).contains(QStringLiteral("PI test")));
}

void TestReportWriter::paper_data()
{
    QTest::addColumn<QPageSize::PageSizeId>("paper");
    QTest::addColumn<QString>("size");

    QTest::newRow("A4") << QPageSize::A4 << "595 x 842 pts (A4)";
    QTest::newRow("Letter") << QPageSize::Letter << "612 x 792 pts (letter)";
}

void TestReportWriter::paper()
{
    QFETCH(QPageSize::PageSizeId, paper);
    QFETCH(QString, size);
    TempWorkDir dir;
    ReportOptions chosen = options();
    chosen.paper = paper;

    ReportWriter writer(trendWithWarning(), chosen);
    QVERIFY2(writer.write(QStringLiteral("report.pdf")), qPrintable(writer.errorString()));
    const QString info = run(QStringLiteral("pdfinfo"), {QStringLiteral("-l"), QStringLiteral("-1"), QStringLiteral("report.pdf")});
    QCOMPARE(info.count(QRegularExpression(QStringLiteral("Page\\s+\\d+ size:\\s+") + QRegularExpression::escape(size))),
             writer.pageCount());
}

void TestReportWriter::paperOfLocale_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QPageSize::PageSizeId>("paper");

    QTest::newRow("United States") << QLocale(QLocale::English, QLocale::UnitedStates) << QPageSize::Letter;
    QTest::newRow("Canada, in French") << QLocale(QLocale::French, QLocale::Canada) << QPageSize::Letter;
    QTest::newRow("Mexico") << QLocale(QLocale::Spanish, QLocale::Mexico) << QPageSize::Letter;
    QTest::newRow("Chile") << QLocale(QLocale::Spanish, QLocale::Chile) << QPageSize::Letter;
    QTest::newRow("Philippines") << QLocale(QLocale::Filipino, QLocale::Philippines) << QPageSize::Letter;
    QTest::newRow("Spain") << QLocale(QLocale::Spanish, QLocale::Spain) << QPageSize::A4;
    QTest::newRow("United Kingdom") << QLocale(QLocale::English, QLocale::UnitedKingdom) << QPageSize::A4;
    QTest::newRow("China") << QLocale(QLocale::Chinese, QLocale::China) << QPageSize::A4;
    QTest::newRow("no country") << QLocale::c() << QPageSize::A4;
}

void TestReportWriter::paperOfLocale()
{
    QFETCH(QLocale, locale);
    QFETCH(QPageSize::PageSizeId, paper);

    QCOMPARE(ReportOptions::paperOf(locale), paper);
}

// With the program's Chinese catalogues installed the report is in Chinese,
// in a font that has the characters, embedded in the file.
void TestReportWriter::chineseReportEmbedsItsFont()
{
    TempWorkDir dir;
    QVERIFY(stageCatalogues(dir));
    const QLocale before;
    QTranslator own;
    QTranslator toolkit;
    QVERIFY(installLanguage(*qApp, QStringLiteral("zh_CN"), own, toolkit));
    QVERIFY(!own.isEmpty());

    ReportWriter writer(trendWithWarning(), options());
    const bool written = writer.write(QStringLiteral("report.pdf"));
    QCoreApplication::removeTranslator(&own);
    QCoreApplication::removeTranslator(&toolkit);
    QLocale::setDefault(before);
    QVERIFY2(written, qPrintable(writer.errorString()));

    const QString text = readable(pagesOf(QStringLiteral("report.pdf")).join(QLatin1Char(' ')));
    for (const QString &chinese : {QStringLiteral("M-101 的绝缘测试"), QStringLiteral("合格"), QStringLiteral("测试人"),
                                   QStringLiteral("第 1 页，共 %1 页").arg(writer.pageCount())})
        QVERIFY2(text.contains(chinese), qPrintable(chinese));

    const QStringList cjkFamilies = QFontDatabase().families(QFontDatabase::SimplifiedChinese);
    QVERIFY(!cjkFamilies.isEmpty());
    bool embedded = false;
    for (const QString &line : run(QStringLiteral("pdffonts"), {QStringLiteral("report.pdf")}).split(QLatin1Char('\n'))) {
        const QStringList columns = line.simplified().split(QLatin1Char(' '));
        const QString name = columns.value(0).section(QLatin1Char('+'), -1);
        const bool isEmbedded = columns.size() > 4 && columns.at(columns.size() - 5) == QLatin1String("yes");
        for (const QString &family : cjkFamilies)
            embedded = embedded || (isEmbedded && name.startsWith(withoutSpaces(family)));
    }
    QVERIFY2(embedded, "no font of a Chinese family embedded");
}

void TestReportWriter::logoIsTheOnlyImage_data()
{
    QTest::addColumn<QString>("logo");
    QTest::addColumn<bool>("shown");

    QTest::newRow("no logo") << QString() << false;
    QTest::newRow("a logo") << "logo.png" << true;
    QTest::newRow("a file that is no image") << "notes.png" << false;
    QTest::newRow("a file that is missing") << "missing.png" << false;
    QTest::newRow("a pipe nobody writes to") << "pipe.png" << false;
}

// The charts are vectors: the logo is the only picture, once on every page.
void TestReportWriter::logoIsTheOnlyImage()
{
    QFETCH(QString, logo);
    QFETCH(bool, shown);
    TempWorkDir dir;
    QImage image(120, 40, QImage::Format_RGB32);
    image.fill(Qt::darkBlue);
    QVERIFY(image.save(QStringLiteral("logo.png")));
    QFile notes(QStringLiteral("notes.png"));
    QVERIFY(notes.open(QIODevice::WriteOnly));
    notes.write("not an image");
    notes.close();
    QCOMPARE(::mkfifo("pipe.png", 0600), 0);
    ReportOptions withLogo = options();
    withLogo.logoFile = logo;

    ReportWriter writer(trendWithWarning(), withLogo);
    QVERIFY2(writer.write(QStringLiteral("report.pdf")), qPrintable(writer.errorString()));
    const QStringList listed = run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), QStringLiteral("report.pdf")})
                                   .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(listed.size() - 2, shown ? writer.pageCount() : 0); // two lines of column titles
}

void TestReportWriter::failedWriteLeavesNoFile()
{
    TempWorkDir dir;
    const QString fileName = dir.filePath(QStringLiteral("missing/report.pdf"));

    ReportWriter writer(trendWithWarning(), options());
    QVERIFY(!writer.write(fileName));
    QVERIFY(writer.errorString().contains(QDir::toNativeSeparators(fileName)));
    QCOMPARE(writer.pageCount(), 0);
    QVERIFY(!QFile::exists(fileName));
    QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
}

// A device node stays what it is: the report goes through it. Made with
// mknod where the tests may (as root), otherwise reached through a link.
void TestReportWriter::deviceIsWrittenNotReplaced()
{
    TempWorkDir dir;
    const QByteArray device = "nulldev";
    if (::mknod(device.constData(), S_IFCHR | 0600, makedev(1, 3)) != 0)
        QVERIFY(QFile::link(QStringLiteral("/dev/null"), QString::fromLatin1(device)));

    ReportWriter writer(trendWithWarning(), options());
    QVERIFY2(writer.write(QString::fromLatin1(device)), qPrintable(writer.errorString()));
    struct stat status = {};
    QCOMPARE(::stat(device.constData(), &status), 0);
    QVERIFY(S_ISCHR(status.st_mode));
    QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System),
             QStringList{QString::fromLatin1(device)});
}

QTEST_MAIN(TestReportWriter)
#include "tst_reportwriter.moc"
