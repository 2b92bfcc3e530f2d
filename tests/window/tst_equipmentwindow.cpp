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
#include <QHeaderView>
#include <QRegularExpression>
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
    void memoryRecordSaysItsDateIsUnknown();
    void warningsAreListedOneLineEach();
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
    for (const int round : {1, 3})
        feed(fixture, framesOfMode(DemoCycle(round).liveFrames(), DMMData::dmPI));
    feed(fixture, framesOfMode(DemoCycle(1).liveFrames(), DMMData::dmVOLT).mid(0, 1));
    for (const InsulationTest &test : fixture.catalogue().tests()) {
        if (test.mode == DMMData::dmPI)
            QVERIFY(fixture.catalogue().saveDetails(test.id, details));
    }

    fixture.find<QAction>("actionEquipment")->trigger();
    auto *equipment = fixture.window().findChild<EquipmentWindow *>();
    QVERIFY(equipment);
    QCOMPARE(equipment->current()->tag, QStringLiteral("P-101"));
    // The two PI tests; the VOLT reading after them is no test of the motor.
    QCOMPARE(equipment->ui->twItems->topLevelItem(0)->text(6), QStringLiteral("2"));
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

// A record of the meter's memory carries no date: the list and the
// tooltip say so, with the day it came down.
void TestEquipmentWindow::memoryRecordSaysItsDateIsUnknown()
{
    WindowFixture fixture;
    EquipmentItem motor;
    motor.tag = QStringLiteral("P-102");
    motor.kind = TestDetails::EquipmentKind::RotatingMachine;
    QVERIFY(fixture.catalogue().saveItem(motor));
    TestDetails details;
    motor.applyTo(details);
    details.insulationCelsius = 30;
    feed(fixture, framesOfMode(DemoCycle(1).storedFrames(), DMMData::dmIR).mid(0, 1));
    const QList<InsulationTest> kept = fixture.catalogue().tests();
    QCOMPARE(kept.size(), 1);
    QVERIFY(fixture.catalogue().saveDetails(kept.first().id, details));

    fixture.find<QAction>("actionEquipment")->trigger();
    auto *equipment = fixture.window().findChild<EquipmentWindow *>();
    QVERIFY(equipment);
    QCOMPARE(equipment->trend().size(), 1);
    const QString downloaded = QStringLiteral("date unknown, downloaded %1")
                                   .arg(QLocale().toString(QDate::currentDate(), QLocale::ShortFormat));
    QCOMPARE(equipment->ui->twTests->topLevelItem(0)->text(0), downloaded);
    QVERIFY2(EquipmentWindow::pointText(equipment->trend().constFirst()).startsWith(downloaded),
             qPrintable(EquipmentWindow::pointText(equipment->trend().constFirst())));
}

// Many warnings take a line each, numbered as the chart numbers them, in a
// list that keeps to a few lines and scrolls; each names its test point.
void TestEquipmentWindow::warningsAreListedOneLineEach()
{
    WindowFixture fixture;
    fixture.find<QAction>("actionEquipment")->trigger();
    auto *equipment = fixture.window().findChild<EquipmentWindow *>();
    QVERIFY(equipment);
    QList<TrendAnalysis::Point> points;
    const QStringList phases{"U-E", "V-E", "W-E"};
    for (int round = 0; round < 4; ++round) {
        for (const QString &phase : phases) {
            TrendAnalysis::Point point;
            point.ms = QDateTime(QDate(2022 + round, 5, 1), QTime(9, 0)).toMSecsSinceEpoch();
            point.testPoint = phase;
            point.celsius = 30;
            point.megohms = round < 2 ? 2000.0 : 1500.0 / (round * (phases.indexOf(phase) + 1));
            point.outcome = Verdict::Outcome::Pass;
            points << point;
        }
    }
    TrendAnalysis::flagFalls(points);
    int warned = 0;
    for (const TrendAnalysis::Point &point : points)
        warned += point.warning.isEmpty() ? 0 : 1;
    QVERIFY(warned >= 5);
    equipment->showTrend(points);

    QTreeWidget &list = *equipment->ui->twWarnings;
    QVERIFY(!list.isHidden());
    QCOMPARE(list.topLevelItemCount(), warned);
    for (int row = 0; row < warned; ++row) {
        const QTreeWidgetItem *item = list.topLevelItem(row);
        QCOMPARE(item->text(0), QString::number(row + 1));
        QVERIFY2(item->text(2).contains(QRegularExpression(QStringLiteral("^[UVW]-E: "))), qPrintable(item->text(2)));
    }
    QVERIFY(list.height() < 7 * list.fontMetrics().height() + list.header()->height());
    QCOMPARE(equipment->ui->twTests->topLevelItemCount(), points.size());
    QCOMPARE(equipment->ui->twTests->topLevelItem(0)->text(1), QStringLiteral("W-E"));

    equipment->showTrend({});
    QVERIFY(list.isHidden());
}

QTEST_MAIN(TestEquipmentWindow)
#include "tst_equipmentwindow.moc"
