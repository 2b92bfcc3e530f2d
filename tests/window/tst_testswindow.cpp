// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "insulation/pipredictor.h"
#include "meter/mydmm.h"
#include "sim/democycle.h"
#include "sim/framebuilder.h"
#include "support/samplerecords.h"
#include "support/meterinput.h"
#include "support/modalscript.h"
#include "support/windowfixture.h"
#include "ui_testswindow.h"
#include "window/curveplot.h"
#include "window/templatewindow.h"
#include "window/testswindow.h"
#include "journal/sessionrecorder.h"
#include "journal/testcatalogue.h"

#include <QAction>
#include <QDateTimeEdit>
#include <QLabel>
#include <QSqlQuery>
#include <QTest>

#include <qcustomplot.h>

#include <iterator>

namespace {
void feed(const WindowFixture &fixture, const QByteArray &frame)
{
    feedMeter(*fixture.meter(), frame);
}

// An IR reading at `seconds` of the meter's test time.
QByteArray irFrame(int seconds, double gigohms, bool testing)
{
    auto record = SampleRecords::ir();
    record->testing = testing;
    record->testTime = quint16(((seconds / 60) << 8) | (seconds % 60));
    record->resistance = ValueBox{QString::number(gigohms), gigohms, QStringLiteral("GΩ")};
    return FrameBuilder::liveFrame(*record);
}

TestsWindow *openTests(const WindowFixture &fixture)
{
    fixture.find<QAction>("actionTests")->trigger();
    return fixture.window().findChild<TestsWindow *>();
}
} // namespace

class TestTestsWindow : public QObject
{
    Q_OBJECT

private slots:
    void runningTestGrowsAtTheTopAndIsKept();
    void detailsGivenBeforeATestAreKeptWithIt();
    void detailsBeingTypedSurviveTheRunningTest();
    void piTestIsPredictedWhileItRunsAndReviewedOnceKept();
    void detailsGiveTestPointDateAndCorrection();
    void detailsTheJournalRefusesAreNotShownAsSaved();
};

// The test running now is the list's first row and its curve grows with
// every reading; when the meter stops, the test is kept with its verdict.
void TestTestsWindow::runningTestGrowsAtTheTopAndIsKept()
{
    WindowFixture fixture;
    TestsWindow *tests = openTests(fixture);
    QVERIFY(tests);
    QCOMPARE(tests->ui->twTests->topLevelItemCount(), 0);

    const int marks[] = {5, 15, 30, 60};
    for (int i = 0; i < 4; ++i) {
        feed(fixture, irFrame(marks[i], 1.0 + i * 0.4, true));
        QTreeWidgetItem *top = tests->ui->twTests->topLevelItem(0);
        QVERIFY(top);
        QCOMPARE(top->text(1), QStringLiteral("IR"));
        QCOMPARE(top->text(6), QStringLiteral("running"));
        QCOMPARE(tests->ui->plotCurve->graph(0)->dataCount(), i + 1);
    }
    feed(fixture, irFrame(60, 2.2, false));

    QCOMPARE(tests->ui->twTests->topLevelItemCount(), 1);
    QTreeWidgetItem *kept = tests->ui->twTests->topLevelItem(0);
    QVERIFY(kept->text(6) != QStringLiteral("running"));
    QCOMPARE(kept->text(3), QStringLiteral("2.20 GΩ"));
    QCOMPARE(tests->current()->test.curve.size(), 5);
    QCOMPARE(tests->current()->test.status, InsulationTest::Status::Completed);
    QVERIFY(!tests->ui->lblReasons->text().isEmpty());
    const QList<InsulationTest> journaled = fixture.catalogue().tests();
    QCOMPARE(journaled.size(), 1);
    QCOMPARE(journaled.first().mode, int(DMMData::dmIR));
}

// Details saved while no test runs go with the next test, and stay offered
// for the one after; the verdict then judges by them.
void TestTestsWindow::detailsGivenBeforeATestAreKeptWithIt()
{
    WindowFixture fixture;
    TestsWindow *tests = openTests(fixture);
    QVERIFY(tests);
    Ui::TestsWindow &form = *tests->ui;
    form.leEquipment->setText(QStringLiteral("Fan motor M-12"));
    form.cbbKind->setCurrentIndex(form.cbbKind->findData(int(TestDetails::EquipmentKind::RotatingMachine)));
    form.cbbClass->setCurrentIndex(form.cbbClass->findData(int(TestDetails::InsulationClass::F)));
    form.cbbWinding->setCurrentIndex(form.cbbWinding->findData(int(TestDetails::WindingType::FormWoundAfter1970)));
    form.spinInsulationCelsius->setValue(30);
    {
        // Free text that names no item of the register stays free text.
        ModalScript script;
        const ModalScript::Seen &offer = script.messageBox(QMessageBox::No);
        form.btnSaveDetails->click();
        QVERIFY(script.finished());
        QVERIFY(offer.text.contains(QLatin1String("Fan motor M-12")));
    }
    QVERIFY(!fixture.catalogue().item(QStringLiteral("Fan motor M-12")));

    const QList<QByteArray> pi = framesOfMode(DemoCycle(1).liveFrames(), DMMData::dmPI);
    QVERIFY(!pi.isEmpty());
    for (const QByteArray &frame : pi)
        feed(fixture, frame);
    feed(fixture, framesOfMode(DemoCycle(1).liveFrames(), DMMData::dmVOLT).first());

    const QList<InsulationTest> kept = fixture.catalogue().tests();
    QVERIFY(!kept.isEmpty());
    const InsulationTest &piTest = kept.last();
    QCOMPARE(piTest.mode, int(DMMData::dmPI));
    const TestDetails details = fixture.catalogue().details(piTest.id);
    QCOMPARE(details.equipment, QStringLiteral("Fan motor M-12"));
    QCOMPARE(details.insulationCelsius, 30.0);
    QCOMPARE(fixture.catalogue().details(kept.first().id).equipment, QStringLiteral("Fan motor M-12"));
    QCOMPARE(form.leEquipment->text(), QStringLiteral("Fan motor M-12"));

    bool judged = false;
    for (int i = 0; i < form.twTests->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *row = form.twTests->topLevelItem(i);
        if (row->text(1) != QLatin1String("PI"))
            continue;
        QCOMPARE(row->text(7), QStringLiteral("Fan motor M-12"));
        judged = row->text(6).startsWith(QLatin1String("Pass")) || row->text(6).startsWith(QLatin1String("Fail"));
        // The verdict names the rules it rests on.
        form.twTests->setCurrentItem(const_cast<QTreeWidgetItem *>(row));
        QVERIFY2(form.lblReasons->text().contains(QLatin1String("Rules: IEEE 43-2013, 12.3")),
                 qPrintable(form.lblReasons->text()));
    }
    QVERIFY(judged);
}

// Readings of the running test arrive while the technician types its details.
void TestTestsWindow::detailsBeingTypedSurviveTheRunningTest()
{
    WindowFixture fixture;
    TestsWindow *tests = openTests(fixture);
    QVERIFY(tests);
    feed(fixture, irFrame(5, 1.0, true));
    QTest::keyClicks(tests->ui->leEquipment, QStringLiteral("Trans"));
    feed(fixture, irFrame(15, 1.2, true));
    QTest::keyClicks(tests->ui->leEquipment, QStringLiteral("former T2"));
    feed(fixture, irFrame(30, 1.4, true));
    QCOMPARE(tests->ui->leEquipment->text(), QStringLiteral("Transformer T2"));
}

// Beside the curve, never in the verdict or the list: the estimate grows with
// every reading and gives way to the measurement at ten minutes.
void TestTestsWindow::piTestIsPredictedWhileItRunsAndReviewedOnceKept()
{
    WindowFixture fixture;
    TestsWindow *tests = openTests(fixture);
    QVERIFY(tests);
    const Ui::TestsWindow &form = *tests->ui;
    const QLabel *panel = fixture.label(QStringLiteral("lcdTop2"));
    QVERIFY(panel);

    int refused = 0;
    int predicted = 0;
    for (const QByteArray &frame : framesOfMode(DemoCycle(0).liveFrames(), DMMData::dmPI)) {
        feed(fixture, frame);
        const std::optional<TestsWindow::Shown> shown = tests->current();
        QVERIFY(shown);
        if (shown->test.isFinished() || shown->test.curve.constLast().seconds >= PiPredictor::tenMinutes)
            continue;
        const QCPItemText *text = CurvePlot::predictionText(*form.plotCurve);
        QVERIFY(text);
        QVERIFY(form.plotCurve->xAxis->range().contains(PiPredictor::tenMinutes));
        QVERIFY(form.lblPrediction->isHidden());
        const double seconds = shown->test.curve.constLast().seconds;
        if (seconds < PiPredictor::earliestSeconds) {
            QCOMPARE(text->text(), QStringLiteral("PI at 10 min: not yet predictable (too early in the test)"));
            QCOMPARE(panel->text(), QStringLiteral("PI at 10 min: not yet predictable"));
            QCOMPARE(form.plotCurve->graph(2)->dataCount(), 0);
            ++refused;
        } else if (seconds >= 180.0) {
            QVERIFY2(text->text().contains(QLatin1String(" expected (")), qPrintable(text->text()));
            QCOMPARE(panel->text(), text->text());
            // The dashed line starts at the latest reading and ends at ten minutes.
            QVERIFY(form.plotCurve->graph(2)->dataCount() > 2);
            QCOMPARE(form.plotCurve->graph(2)->data()->constBegin()->key, seconds);
            QCOMPARE(std::prev(form.plotCurve->graph(2)->data()->constEnd())->key, PiPredictor::tenMinutes);
            ++predicted;
        }
    }
    feed(fixture, framesOfMode(DemoCycle(0).liveFrames(), DMMData::dmVOLT).first());
    QVERIFY(refused > 0);
    QVERIFY(predicted > 0);

    const std::optional<TestsWindow::Shown> kept = tests->current();
    QVERIFY(kept && kept->test.isFinished());
    QCOMPARE(kept->test.mode, int(DMMData::dmPI));
    QVERIFY(!CurvePlot::predictionText(*form.plotCurve));
    QCOMPARE(form.plotCurve->graph(2)->dataCount(), 0);
    QVERIFY(panel->text().isEmpty());
    const QString review = form.lblPrediction->text();
    QVERIFY(!form.lblPrediction->isHidden());
    for (const char *after : {"after 1 min", "after 2 min", "after 3 min", "after 5 min"})
        QVERIFY2(review.contains(QLatin1String(after)), qPrintable(review));
    QVERIFY2(review.contains(QLatin1String("within the band")), qPrintable(review));
    QVERIFY(!form.lblReasons->text().contains(QLatin1String("expected")));
    QVERIFY(!form.lblValues->text().contains(QLatin1String("expected")));
}

namespace {
// Selects the list's first row whose mode column reads `mode`.
bool selectMode(Ui::TestsWindow &form, const QString &mode)
{
    for (int i = 0; i < form.twTests->topLevelItemCount(); ++i) {
        if (form.twTests->topLevelItem(i)->text(1) == mode) {
            form.twTests->setCurrentItem(form.twTests->topLevelItem(i));
            return true;
        }
    }
    return false;
}
} // namespace

// A test from the meter's memory is given its date, any test its test point
// and its correction; the halving interval counts only with the formula,
// and what the form does not show of a register item comes from the item.
void TestTestsWindow::detailsGiveTestPointDateAndCorrection()
{
    WindowFixture fixture;
    EquipmentItem transformer;
    transformer.tag = QStringLiteral("T-9");
    transformer.kind = TestDetails::EquipmentKind::Transformer;
    transformer.medium = TestDetails::InsulationMedium::OilImmersed;
    transformer.makerMinimumPi = 1.3;
    QVERIFY(fixture.catalogue().saveItem(transformer));
    TestsWindow *tests = openTests(fixture);
    QVERIFY(tests);
    Ui::TestsWindow &form = *tests->ui;
    for (const int seconds : {5, 15, 30, 60})
        feed(fixture, irFrame(seconds, 1.5, true));
    feed(fixture, irFrame(60, 1.5, false));
    for (const QByteArray &frame : framesOfMode(DemoCycle(1).storedFrames(), DMMData::dmIR))
        feed(fixture, frame);
    QVERIFY(form.cbbTestPoint->findText(QStringLiteral("L1-E")) >= 0);

    QVERIFY(selectMode(form, QStringLiteral("IR")));
    QVERIFY(!form.dteTested->isEnabled());
    QVERIFY(selectMode(form, QStringLiteral("IR (memory)")));
    const qint64 memoryId = tests->current()->test.id;
    QVERIFY(form.dteTested->isEnabled());
    QCOMPARE(form.dteTested->text(), QStringLiteral("unknown"));
    QVERIFY(!form.spinHalvingCelsius->isEnabled());

    form.leEquipment->setText(QStringLiteral("t-9"));
    form.cbbTestPoint->setEditText(QStringLiteral(" HV-E "));
    const QDateTime tested(QDate(2026, 11, 2), QTime(8, 30));
    form.dteTested->setDateTime(tested);
    form.cbbCorrection->setCurrentIndex(form.cbbCorrection->findData(int(TestDetails::Correction::Halving)));
    QVERIFY(form.spinHalvingCelsius->isEnabled());
    form.spinHalvingCelsius->setValue(12);
    form.btnSaveDetails->click();

    const TestDetails saved = fixture.catalogue().details(memoryId);
    QCOMPARE(saved.testPoint, QStringLiteral("HV-E"));
    QCOMPARE(saved.testedMs, tested.toMSecsSinceEpoch());
    QCOMPARE(saved.correction, TestDetails::Correction::Halving);
    QCOMPARE(saved.halvingCelsius, 12.0);
    QCOMPARE(saved.medium, TestDetails::InsulationMedium::OilImmersed);
    QCOMPARE(saved.makerMinimumPi, 1.3);
    // The next test makes its own date.
    QCOMPARE(fixture.window().journal()->nextDetails().testedMs, 0);
    QCOMPARE(fixture.window().journal()->nextDetails().testPoint, QStringLiteral("HV-E"));

    // Shown again, as saved; back to "unknown", the date is taken away.
    QVERIFY(selectMode(form, QStringLiteral("IR")));
    QVERIFY(selectMode(form, QStringLiteral("IR (memory)")));
    QCOMPARE(form.dteTested->dateTime(), tested);
    QCOMPARE(form.cbbTestPoint->currentText(), QStringLiteral("HV-E"));
    form.dteTested->setDateTime(form.dteTested->minimumDateTime());
    form.btnSaveDetails->click();
    QCOMPARE(fixture.catalogue().details(memoryId).testedMs, 0);
}

// A save the journal refuses is said, and the test keeps the verdict of
// the details it has.
void TestTestsWindow::detailsTheJournalRefusesAreNotShownAsSaved()
{
    WindowFixture fixture;
    TestsWindow *tests = openTests(fixture);
    QVERIFY(tests);
    Ui::TestsWindow &form = *tests->ui;
    for (const int seconds : {5, 15, 30, 60})
        feed(fixture, irFrame(seconds, 1.5, true));
    feed(fixture, irFrame(60, 1.5, false));
    QVERIFY(selectMode(form, QStringLiteral("IR")));
    const qint64 id = tests->current()->test.id;
    const QString verdictBefore = form.twTests->currentItem()->text(6);
    QSqlQuery refuse(fixture.catalogue().journal());
    for (const char *when : {"INSERT", "UPDATE"})
        QVERIFY(refuse.exec(QStringLiteral("CREATE TRIGGER refuse_%1 BEFORE %1 ON test_details"
                                           " BEGIN SELECT RAISE(ABORT, 'the disk is full'); END")
                                .arg(QLatin1String(when))));

    form.cbbKind->setCurrentIndex(form.cbbKind->findData(int(TestDetails::EquipmentKind::RotatingMachine)));
    form.cbbWinding->setCurrentIndex(form.cbbWinding->findData(int(TestDetails::WindingType::FormWoundAfter1970)));
    form.spinRatedKilovolts->setValue(6.6);
    form.spinInsulationCelsius->setValue(40);
    ModalScript script;
    const ModalScript::Seen &warning = script.messageBox(QMessageBox::Ok);
    form.btnSaveDetails->click();
    QVERIFY(script.finished());
    QVERIFY2(warning.text.contains(QLatin1String("the disk is full")), qPrintable(warning.text));
    QCOMPARE(fixture.catalogue().details(id).kind, TestDetails::EquipmentKind::Other);
    QVERIFY(selectMode(form, QStringLiteral("IR")));
    QCOMPARE(form.twTests->currentItem()->text(6), verdictBefore);
}

QTEST_MAIN(TestTestsWindow)
#include "tst_testswindow.moc"
