// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "meter/mydmm.h"
#include "sim/democycle.h"
#include "sim/framebuilder.h"
#include "support/samplerecords.h"
#include "support/meterinput.h"
#include "support/modalscript.h"
#include "support/windowfixture.h"
#include "ui_testswindow.h"
#include "window/templatewindow.h"
#include "window/testswindow.h"
#include "journal/sessionrecorder.h"
#include "journal/testcatalogue.h"

#include <QAction>
#include <QTest>

#include <qcustomplot.h>

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

QTEST_MAIN(TestTestsWindow)
#include "tst_testswindow.moc"
