// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "insulation/verdictrules.h"
#include "meter/mydmm.h"
#include "sim/democycle.h"
#include "support/meterinput.h"
#include "support/modalscript.h"
#include "support/plotitems.h"
#include "support/windowfixture.h"
#include "ui_dlgequipment.h"
#include "ui_equipmentwindow.h"
#include "ui_testswindow.h"
#include "window/dlgequipment.h"
#include "window/equipmentwindow.h"
#include "window/templatewindow.h"
#include "window/testswindow.h"
#include "journal/sessionrecorder.h"
#include "journal/testcatalogue.h"

#include <QAction>
#include <QPushButton>
#include <QTest>

#include <qcustomplot.h>

#include <cmath>

namespace {
void feed(const WindowFixture &fixture, const QList<QByteArray> &frames)
{
    for (const QByteArray &frame : frames)
        feedMeter(*fixture.meter(), frame);
}
} // namespace

class TestEquipmentWindow : public QObject
{
    Q_OBJECT

private slots:
    void detailsTakeWhatBelongsToTheItem();
    void unknownTagIsAddedWhenTheDetailsAreSaved();
    void trendShowsTheItemsTests();
    void itemDialogKeepsMediumAndMakersLimits();
};

// Typing a tag of the register fills the item's own fields and keeps them
// the item's; another tag frees them again.
void TestEquipmentWindow::detailsTakeWhatBelongsToTheItem()
{
    WindowFixture fixture;
    EquipmentItem motor;
    motor.tag = QStringLiteral("M-7");
    motor.kind = TestDetails::EquipmentKind::RotatingMachine;
    motor.ratedKilovolts = 6.6;
    motor.insulationClass = TestDetails::InsulationClass::F;
    motor.winding = TestDetails::WindingType::FormWoundAfter1970;
    QVERIFY(fixture.catalogue().saveItem(motor));
    fixture.find<QAction>("actionTests")->trigger();
    auto *tests = fixture.window().findChild<TestsWindow *>();
    Ui::TestsWindow &form = *tests->ui;

    QTest::keyClicks(form.leEquipment, QStringLiteral("m-7"));
    QCOMPARE(form.cbbKind->currentData().toInt(), int(TestDetails::EquipmentKind::RotatingMachine));
    QCOMPARE(form.spinRatedKilovolts->value(), 6.6);
    QCOMPARE(form.cbbClass->currentData().toInt(), int(TestDetails::InsulationClass::F));
    QCOMPARE(form.cbbWinding->currentData().toInt(), int(TestDetails::WindingType::FormWoundAfter1970));
    QVERIFY(!form.cbbKind->isEnabled());
    QVERIFY(!form.btnNewItem->isEnabled());
    QVERIFY(form.leEquipment->completer()->model()->rowCount() > 0);

    form.leEquipment->clear();
    QTest::keyClicks(form.leEquipment, QStringLiteral("M-8"));
    QVERIFY(form.cbbKind->isEnabled());
    QVERIFY(form.btnNewItem->isEnabled());
}

void TestEquipmentWindow::unknownTagIsAddedWhenTheDetailsAreSaved()
{
    WindowFixture fixture;
    fixture.find<QAction>("actionTests")->trigger();
    Ui::TestsWindow &form = *fixture.window().findChild<TestsWindow *>()->ui;
    QTest::keyClicks(form.leEquipment, QStringLiteral("T-2"));
    form.cbbKind->setCurrentIndex(form.cbbKind->findData(int(TestDetails::EquipmentKind::Transformer)));
    form.spinRatedKilovolts->setValue(11);

    ModalScript script;
    const auto &question = script.messageBox(QMessageBox::Yes);
    form.btnSaveDetails->click();
    QVERIFY(script.finished());
    QVERIFY(question.text.contains(QLatin1String("T-2")));
    const std::optional<EquipmentItem> added = fixture.catalogue().item(QStringLiteral("t-2"));
    QVERIFY(added);
    QCOMPARE(added->kind, TestDetails::EquipmentKind::Transformer);
    QCOMPARE(added->ratedKilovolts, 11.0);
    QCOMPARE(fixture.window().journal()->nextDetails().equipment, QStringLiteral("T-2"));
}

// The tests of the item, in the register's window: its list of tests and
// its trend, a point's tooltip telling the test.
void TestEquipmentWindow::trendShowsTheItemsTests()
{
    WindowFixture fixture;
    EquipmentItem motor;
    motor.tag = QStringLiteral("P-101");
    motor.kind = TestDetails::EquipmentKind::RotatingMachine;
    motor.insulationClass = TestDetails::InsulationClass::F;
    motor.winding = TestDetails::WindingType::FormWoundAfter1970;
    QVERIFY(fixture.catalogue().saveItem(motor));
    TestDetails details;
    motor.applyTo(details);
    details.insulationCelsius = 30;
    fixture.window().journal()->setNextDetails(details);
    for (const int round : {1, 3})
        feed(fixture, framesOfMode(DemoCycle(round).liveFrames(), DMMData::dmPI));
    feed(fixture, framesOfMode(DemoCycle(1).liveFrames(), DMMData::dmVOLT).mid(0, 1));

    fixture.find<QAction>("actionEquipment")->trigger();
    auto *equipment = fixture.window().findChild<EquipmentWindow *>();
    QVERIFY(equipment);
    QCOMPARE(equipment->current()->tag, QStringLiteral("P-101"));
    QCOMPARE(equipment->ui->twItems->topLevelItem(0)->text(6), QStringLiteral("3"));
    QCOMPARE(equipment->trend().size(), 2);
    QCOMPARE(equipment->ui->twTests->topLevelItemCount(), 2);
    QVERIFY(equipment->ui->plotTrend->graph(0)->dataCount() == 2);
    const QString tooltip = EquipmentWindow::pointText(equipment->trend().first());
    QVERIFY2(tooltip.contains(QStringLiteral("30 °C")) && tooltip.contains(QLatin1String("Pass")), qPrintable(tooltip));

    // The minimum lines are those the latest test was judged by.
    // The minimum is drawn at the base the trend shows its values at.
    TestCatalogue &catalogue = fixture.catalogue();
    const qint64 latestId = equipment->trend().constLast().testId;
    const std::optional<InsulationTest> latest = catalogue.loadTest(latestId);
    QVERIFY(latest);
    const Verdict verdict = VerdictRules::judge(*latest, CurveAnalysis::analyse(*latest), catalogue.details(latestId));
    QVERIFY(std::isfinite(verdict.shownMinimumMegohms));
    QCustomPlot &plot = *equipment->ui->plotTrend;
    QCOMPARE(PlotItems::horizontalLines(plot, plot.yAxis), QList<double>{verdict.shownMinimumMegohms});
    QCOMPARE(PlotItems::horizontalLines(plot, plot.yAxis2),
             std::isfinite(verdict.minimumPi) ? QList<double>{verdict.minimumPi} : QList<double>());
}

// The maker's limits are each given or left empty; the medium chosen.
void TestEquipmentWindow::itemDialogKeepsMediumAndMakersLimits()
{
    EquipmentItem item;
    item.tag = QStringLiteral("T-9");
    item.kind = TestDetails::EquipmentKind::Transformer;
    item.medium = TestDetails::InsulationMedium::OilImmersed;
    item.makerMinimumMegohms = 2000;
    item.makerMinimumCelsius = 20;
    EquipmentItem saved;
    DlgEquipment dialog(item, [&saved](EquipmentItem &edited, QString &) {
        saved = edited;
        return true;
    });
    Ui::DlgEquipment &form = *dialog.ui;
    QCOMPARE(form.cbbMedium->currentData().toInt(), int(TestDetails::InsulationMedium::OilImmersed));
    QCOMPARE(form.spinMakerMegohms->value(), 2000.0);
    QCOMPARE(form.spinMakerCelsius->value(), 20.0);
    QCOMPARE(form.spinMakerPi->text(), QStringLiteral("not given"));

    form.cbbMedium->setCurrentIndex(form.cbbMedium->findData(int(TestDetails::InsulationMedium::Solid)));
    form.spinMakerMegohms->setValue(form.spinMakerMegohms->minimum());
    form.spinMakerPi->setValue(2);
    form.buttonBox->button(QDialogButtonBox::Ok)->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(saved.medium, TestDetails::InsulationMedium::Solid);
    QVERIFY(std::isnan(saved.makerMinimumMegohms));
    QCOMPARE(saved.makerMinimumCelsius, 20.0);
    QCOMPARE(saved.makerMinimumPi, 2.0);
}

QTEST_MAIN(TestEquipmentWindow)
#include "tst_equipmentwindow.moc"
