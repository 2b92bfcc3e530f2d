// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
//
// A PI test on the demonstration meter, in a real X server: the details are
// typed in before it runs, and its verdict turns up in the Tests view.
#include "sim/demoscenario.h"
#include "sim/simulatedhid.h"
#include "support/modalscript.h"
#include "support/windowfixture.h"
#include "ui_testswindow.h"
#include "window/templatewindow.h"
#include "window/testswindow.h"
#include "journal/sessionrecorder.h"
#include "journal/testcatalogue.h"

#include <QAction>
#include <QGuiApplication>
#include <QTest>
#include <QToolBar>

namespace {
const int patience = 120000;
const QString meterPath = QStringLiteral("demo:tests-view");

void clickToolButton(const WindowFixture &fixture, const char *actionName)
{
    auto *toolBar = fixture.find<QToolBar>("toolBarMain");
    QWidget *button = toolBar->widgetForAction(fixture.find<QAction>(actionName));
    QVERIFY(button && button->isVisible());
    QTest::mouseClick(button, Qt::LeftButton);
}

// The row of the first kept PI test, or null.
QTreeWidgetItem *keptPiTest(const TestsWindow &tests)
{
    QTreeWidget *list = tests.ui->twTests;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QTreeWidgetItem *row = list->topLevelItem(i);
        if (row->text(1) == QLatin1String("PI") && row->text(6) != QLatin1String("running"))
            return row;
    }
    return nullptr;
}
} // namespace

class TestTestsView : public QObject
{
    Q_OBJECT

private slots:
    void piTestIsJudgedInTheTestsView();
};

void TestTestsView::piTestIsJudgedInTheTestsView()
{
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    SimulatedHid::reset();
    DemoScenario::installMeter(meterPath, DemoScenario::Pace::Fast);
    WindowFixture fixture;
    QVERIFY(fixture.show());
    clickToolButton(fixture, "actionTests");
    auto *tests = fixture.window().findChild<TestsWindow *>();
    QVERIFY(tests);
    QVERIFY(QTest::qWaitForWindowExposed(tests));

    // The motor under test, typed in as a technician would.
    Ui::TestsWindow &form = *tests->ui;
    QTest::keyClicks(form.leEquipment, QStringLiteral("Pump motor P-101"));
    form.cbbKind->setCurrentIndex(form.cbbKind->findData(int(TestDetails::EquipmentKind::RotatingMachine)));
    form.cbbClass->setCurrentIndex(form.cbbClass->findData(int(TestDetails::InsulationClass::F)));
    form.cbbWinding->setCurrentIndex(form.cbbWinding->findData(int(TestDetails::WindingType::FormWoundAfter1970)));
    form.spinInsulationCelsius->setValue(35);
    {
        // Not in the register yet: it joins it, as the form describes it.
        ModalScript script;
        script.messageBox(QMessageBox::Yes);
        QTest::mouseClick(form.btnSaveDetails, Qt::LeftButton);
        QVERIFY(script.finished());
    }
    const std::optional<EquipmentItem> motor = fixture.catalogue().item(QStringLiteral("pump motor p-101"));
    QVERIFY(motor);
    QCOMPARE(motor->insulationClass, TestDetails::InsulationClass::F);

    clickToolButton(fixture, "actionStart");
    QTreeWidgetItem *row = nullptr;
    QTRY_VERIFY_WITH_TIMEOUT((row = keptPiTest(*tests)) != nullptr, patience);
    clickToolButton(fixture, "actionStart");

    QCOMPARE(row->text(7), QStringLiteral("Pump motor P-101"));
    QVERIFY2(row->text(6).startsWith(QLatin1String("Pass")) || row->text(6).startsWith(QLatin1String("Fail")),
             qPrintable(row->text(6)));
    const QRect rect = form.twTests->visualItemRect(row);
    // Within the first column: a verdict that says what it assessed can
    // make the row wider than the list shows.
    QTest::mouseClick(form.twTests->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(rect.left() + 8, rect.center().y()));
    QTRY_COMPARE_WITH_TIMEOUT(form.twTests->currentItem(), row, patience);
    QVERIFY(tests->current());
    QCOMPARE(tests->current()->test.mode, int(DMMData::dmPI));
    QVERIFY(form.plotCurve->graph(0)->dataCount() > 2);
    QCOMPARE(form.lblVerdict->text().contains(row->text(6).section(QLatin1Char(','), 0, 0)), true);
    QVERIFY(form.lblReasons->text().contains(QLatin1String("PI")));
}

QTEST_MAIN(TestTestsView)
#include "tst_testsview.moc"
