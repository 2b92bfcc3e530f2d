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
#include "window/detailschoices.h"
#include "window/templatewindow.h"
#include "window/testswindow.h"
#include "journal/sessionrecorder.h"
#include "journal/testcatalogue.h"

#include <QAction>
#include <QDateTimeEdit>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTest>

#include <qcustomplot.h>

#include <cmath>
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
    void typingSurvivesTestsEnding();
    void offeredDetailsGoOnlyWhereAccepted_data();
    void offeredDetailsGoOnlyWhereAccepted();
    void unsavedDetailsAreJudgedAndAskedAbout();
    void acceptedDetailsTheJournalRefusesAreSaid();
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

// Details saved while no test runs go with the next insulation test, and
// stay offered for the one after; the verdict then judges by them.
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
    // The VOLT reading that ended it is no part of the fan motor.
    QCOMPARE(kept.first().mode, int(DMMData::dmVOLT));
    QVERIFY(fixture.catalogue().details(kept.first().id).isEmpty());
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

namespace {
// An IR test from its first reading to the meter's stop.
void runIrTest(const WindowFixture &fixture, double gigohms)
{
    for (const int seconds : {5, 15, 30, 60})
        feed(fixture, irFrame(seconds, gigohms, true));
    feed(fixture, irFrame(60, gigohms, false));
}

// A VOLT reading: a measurement, kept the moment it is read.
void readVolts(const WindowFixture &fixture, int times)
{
    const QByteArray volt = FrameBuilder::liveFrame(*SampleRecords::volt());
    for (int i = 0; i < times; ++i)
        feed(fixture, volt);
}
} // namespace

// Measurements end every second while the meter runs: what the technician
// typed for a test further down the list, the test selected and the rows
// in sight all stay.
void TestTestsWindow::typingSurvivesTestsEnding()
{
    WindowFixture fixture;
    TestsWindow *tests = openTests(fixture);
    QVERIFY(tests);
    Ui::TestsWindow &form = *tests->ui;
    tests->resize(900, 420);
    tests->show();
    QVERIFY(QTest::qWaitForWindowExposed(tests));
    runIrTest(fixture, 1.5);
    readVolts(fixture, 40);
    QVERIFY(selectMode(form, QStringLiteral("IR")));
    const qint64 irId = tests->current()->test.id;
    form.twTests->scrollToItem(form.twTests->currentItem(), QAbstractItemView::PositionAtCenter);
    const int scrolled = form.twTests->verticalScrollBar()->value();
    QVERIFY(scrolled > 0);
    const QTreeWidgetItem *inSight = form.twTests->itemAt(0, 0);
    QVERIFY(inSight);
    const QString inSightTime = inSight->text(0);

    QTest::keyClicks(form.leEquipment, QStringLiteral("P-1"));
    readVolts(fixture, 2);
    QTest::keyClicks(form.leEquipment, QStringLiteral("01"));
    form.cbbKind->setCurrentIndex(form.cbbKind->findData(int(TestDetails::EquipmentKind::Cable)));
    readVolts(fixture, 3);

    QCOMPARE(form.twTests->topLevelItemCount(), 46);
    QCOMPARE(form.leEquipment->text(), QStringLiteral("P-101"));
    QCOMPARE(DetailsChoices::chosen(*form.cbbKind), int(TestDetails::EquipmentKind::Cable));
    QVERIFY(form.lblUnsaved->isVisible());
    QCOMPARE(tests->current()->test.id, irId);
    QCOMPARE(form.twTests->itemAt(0, 0), inSight);
    QCOMPARE(form.twTests->itemAt(0, 0)->text(0), inSightTime);
    // Nothing typed was saved behind the user's back.
    QVERIFY(fixture.catalogue().details(irId).isEmpty());
}

// Details saved for an IR test are offered for the next IR test and go
// with it only once accepted; no other kind of record takes them.
void TestTestsWindow::offeredDetailsGoOnlyWhereAccepted_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("stored");
    QTest::addColumn<bool>("accept");
    QTest::addColumn<bool>("filed");
    QTest::newRow("IR, offer accepted") << int(DMMData::dmIR) << false << true << true;
    QTest::newRow("IR, offer left") << int(DMMData::dmIR) << false << false << false;
    QTest::newRow("PI, another mode") << int(DMMData::dmPI) << false << true << false;
    QTest::newRow("VOLT measurement") << int(DMMData::dmVOLT) << false << true << false;
    QTest::newRow("CAP measurement") << int(DMMData::dmCAP) << false << true << false;
    QTest::newRow("RES measurement") << int(DMMData::dmRES) << false << true << false;
    QTest::newRow("COMP result") << int(DMMData::dmCOMP) << false << true << false;
    QTest::newRow("IR memory record") << int(DMMData::dmIR) << true << true << false;
}

void TestTestsWindow::offeredDetailsGoOnlyWhereAccepted()
{
    QFETCH(int, mode);
    QFETCH(bool, stored);
    QFETCH(bool, accept);
    QFETCH(bool, filed);
    WindowFixture fixture;
    EquipmentItem motor;
    motor.tag = QStringLiteral("P-101");
    motor.kind = TestDetails::EquipmentKind::RotatingMachine;
    QVERIFY(fixture.catalogue().saveItem(motor));
    TestsWindow *tests = openTests(fixture);
    QVERIFY(tests);
    tests->show();
    Ui::TestsWindow &form = *tests->ui;
    runIrTest(fixture, 1.5);
    QVERIFY(selectMode(form, QStringLiteral("IR")));
    form.leEquipment->setText(QStringLiteral("P-101"));
    form.spinInsulationCelsius->setValue(25);
    form.btnSaveDetails->click();
    QVERIFY(form.cbUseNext->isVisible());
    QVERIFY(!form.cbUseNext->isChecked());
    QCOMPARE(form.cbUseNext->text(), QStringLiteral("Use these details for the next IR test: P-101, 25 °C"));
    if (accept)
        QTest::mouseClick(form.cbUseNext, Qt::LeftButton, {}, QPoint(8, form.cbUseNext->height() / 2));
    QCOMPARE(form.cbUseNext->isChecked(), accept);
    const int before = fixture.catalogue().tests().size();

    if (stored) {
        feed(fixture, framesOfMode(DemoCycle(1).storedFrames(), DMMData::DataMode(mode)).first());
    } else if (mode == DMMData::dmIR) {
        runIrTest(fixture, 2.0);
    } else {
        for (const QByteArray &frame : framesOfMode(DemoCycle(1).liveFrames(), DMMData::DataMode(mode)))
            feed(fixture, frame);
        readVolts(fixture, 1);
    }

    const QList<InsulationTest> kept = fixture.catalogue().tests();
    QVERIFY(kept.size() > before);
    std::optional<InsulationTest> newest;
    for (const InsulationTest &test : kept) {
        const bool fromMemory = test.origin == InsulationTest::Origin::Memory;
        if (test.mode == mode && fromMemory == stored && (!newest || test.id > newest->id))
            newest = test;
        if (test.isMeasurement())
            QVERIFY(fixture.catalogue().details(test.id).isEmpty());
    }
    QVERIFY(newest);
    QCOMPARE(fixture.catalogue().details(newest->id).equipment, filed ? QStringLiteral("P-101") : QString());
    // The list says which tests are filed under no item.
    const QTreeWidgetItem *row = nullptr;
    for (int i = 0; i < form.twTests->topLevelItemCount() && !row; ++i) {
        if (form.twTests->topLevelItem(i)->data(0, Qt::UserRole + 1).toLongLong() == newest->id)
            row = form.twTests->topLevelItem(i);
    }
    QVERIFY(row);
    QCOMPARE(row->text(7), filed ? QStringLiteral("P-101") : QStringLiteral("no item"));
    // An offer goes with one test; the next is asked about again.
    QCOMPARE(form.cbUseNext->isChecked(), accept && !filed);
}

// Changed details are judged as they are typed, marked as not saved; a
// move to another test asks what becomes of them.
void TestTestsWindow::unsavedDetailsAreJudgedAndAskedAbout()
{
    WindowFixture fixture;
    TestsWindow *tests = openTests(fixture);
    QVERIFY(tests);
    tests->show();
    Ui::TestsWindow &form = *tests->ui;
    runIrTest(fixture, 0.002);
    readVolts(fixture, 1);
    QVERIFY(selectMode(form, QStringLiteral("IR")));
    const qint64 irId = tests->current()->test.id;
    QVERIFY(!form.lblUnsaved->isVisible());
    QVERIFY(!form.btnDiscard->isEnabled());
    const QString verdictBefore = form.lblVerdict->text();

    form.cbbKind->setCurrentIndex(form.cbbKind->findData(int(TestDetails::EquipmentKind::RotatingMachine)));
    form.spinRatedKilovolts->setValue(6.6);
    form.spinInsulationCelsius->setValue(40);
    QVERIFY(form.lblUnsaved->isVisible());
    QVERIFY(form.btnDiscard->isEnabled());
    QVERIFY2(form.lblVerdict->text().contains(QLatin1String("not saved yet")), qPrintable(form.lblVerdict->text()));
    QVERIFY(form.lblVerdict->text() != verdictBefore);
    const QString preview = form.lblVerdict->text();

    {
        ModalScript script;
        const ModalScript::Seen &question = script.messageBox(QMessageBox::Cancel);
        QVERIFY(selectMode(form, QStringLiteral("VOLT")));
        QVERIFY(script.finished());
        QVERIFY(question.text.contains(QLatin1String("not saved yet")));
    }
    QCOMPARE(tests->current()->test.id, irId);
    QCOMPARE(form.twTests->currentItem()->text(1), QStringLiteral("IR"));
    QCOMPARE(DetailsChoices::value(*form.spinInsulationCelsius), 40.0);
    QCOMPARE(form.lblVerdict->text(), preview);

    form.btnDiscard->click();
    QVERIFY(!form.lblUnsaved->isVisible());
    QCOMPARE(form.lblVerdict->text(), verdictBefore);
    QVERIFY(std::isnan(DetailsChoices::value(*form.spinInsulationCelsius)));

    form.spinInsulationCelsius->setValue(40);
    {
        ModalScript script;
        script.messageBox(QMessageBox::Save);
        QVERIFY(selectMode(form, QStringLiteral("VOLT")));
        QVERIFY(script.finished());
    }
    QCOMPARE(fixture.catalogue().details(irId).insulationCelsius, 40.0);
    QCOMPARE(form.twTests->currentItem()->text(1), QStringLiteral("VOLT"));
    QVERIFY(!form.lblUnsaved->isVisible());
}

// Details accepted for the next test that the journal then refuses are
// said, not taken as kept.
void TestTestsWindow::acceptedDetailsTheJournalRefusesAreSaid()
{
    WindowFixture fixture;
    TestsWindow *tests = openTests(fixture);
    QVERIFY(tests);
    TestDetails details;
    details.equipment = QStringLiteral("P-101");
    fixture.window().journal()->offerDetails(details, DMMData::dmIR, true);
    QSqlQuery refuse(fixture.catalogue().journal());
    QVERIFY(refuse.exec(QStringLiteral("CREATE TRIGGER refuse_details BEFORE INSERT ON test_details"
                                       " BEGIN SELECT RAISE(ABORT, 'the disk is full'); END")));
    QSignalSpy failed(fixture.window().journal(), &SessionRecorder::failed);

    runIrTest(fixture, 1.5);

    QCOMPARE(failed.count(), 1);
    QVERIFY(failed.first().first().toString().contains(QLatin1String("the disk is full")));
    const QList<InsulationTest> kept = fixture.catalogue().tests();
    QCOMPARE(kept.size(), 1);
    QVERIFY(fixture.catalogue().details(kept.first().id).isEmpty());
    QCOMPARE(tests->ui->twTests->topLevelItem(0)->text(7), QStringLiteral("no item"));
}

QTEST_MAIN(TestTestsWindow)
#include "tst_testswindow.moc"
