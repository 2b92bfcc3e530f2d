// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
//
// A PI test on the demonstration meter, in a real X server: the details are
// typed in before it runs, its PI is predicted while it runs, and its verdict
// and what the prediction said of it turn up in the Tests view.
#include "sim/demoscenario.h"
#include "sim/simulatedhid.h"
#include "support/modalscript.h"
#include "support/windowfixture.h"
#include "ui_testswindow.h"
#include "window/curveplot.h"
#include "window/templatewindow.h"
#include "window/testswindow.h"
#include "journal/sessionrecorder.h"
#include "journal/testcatalogue.h"

#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QTest>
#include <QToolBar>

#include <qcustomplot.h>

#include <algorithm>

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

bool anyContains(const QStringList &texts, const QString &part)
{
    return std::any_of(texts.cbegin(), texts.cend(), [&part](const QString &text) { return text.contains(part); });
}

// What the Tests view and the main window's panel showed at each reading
// of a running PI test, the running test selected as a technician would.
struct WhileRunning
{
    QStringList plotTexts;
    QStringList panelTexts;

    void take(const Ui::TestsWindow &form, const QLabel &panel)
    {
        QTreeWidgetItem *running = form.twTests->topLevelItem(0);
        if (running && form.twTests->currentItem() != running)
            form.twTests->setCurrentItem(running);
        if (const QCPItemText *text = CurvePlot::predictionText(*form.plotCurve))
            plotTexts << text->text();
        panelTexts << panel.text();
    }
};
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

    Ui::TestsWindow &form = *tests->ui;
    // Readings come faster than a poll could see them: each is looked at as
    // the window takes it.
    WhileRunning shown;
    const QLabel &panel = *fixture.find<QLabel>("lcdTop2");
    const QMetaObject::Connection watch = connect(
        fixture.window().journal(), &SessionRecorder::testRunning, tests, [&](const InsulationTest &test) {
            if (test.mode == DMMData::dmPI)
                shown.take(form, panel);
        });
    clickToolButton(fixture, "actionStart");
    QTreeWidgetItem *row = nullptr;
    QTRY_VERIFY_WITH_TIMEOUT((row = keptPiTest(*tests)) != nullptr, patience);
    clickToolButton(fixture, "actionStart");
    disconnect(watch);

    // Not predictable in the first seconds, then where the test will end.
    QVERIFY(anyContains(shown.plotTexts, QStringLiteral("PI at 10 min: not yet predictable (too early")));
    QVERIFY2(anyContains(shown.plotTexts, QStringLiteral(" expected (")), qPrintable(shown.plotTexts.join('\n')));
    QVERIFY2(anyContains(shown.panelTexts, QStringLiteral(" expected (")), qPrintable(shown.panelTexts.join('\n')));

    // The motor tested, typed in as a technician would once the test ended:
    // until then it is filed under no item.
    QCOMPARE(row->text(7), QStringLiteral("no item"));
    const QRect rect = form.twTests->visualItemRect(row);
    // Within the first column: a verdict that says what it assessed can
    // make the row wider than the list shows.
    QTest::mouseClick(form.twTests->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(rect.left() + 8, rect.center().y()));
    QTRY_COMPARE_WITH_TIMEOUT(form.twTests->currentItem(), row, patience);
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

    QCOMPARE(row->text(7), QStringLiteral("Pump motor P-101"));
    QVERIFY2(row->text(6).startsWith(QLatin1String("Pass")) || row->text(6).startsWith(QLatin1String("Fail")),
             qPrintable(row->text(6)));
    QVERIFY(tests->current());
    QCOMPARE(tests->current()->test.mode, int(DMMData::dmPI));
    QVERIFY(form.plotCurve->graph(0)->dataCount() > 2);
    QCOMPARE(form.lblVerdict->text().contains(row->text(6).section(QLatin1Char(','), 0, 0)), true);
    QVERIFY(form.lblReasons->text().contains(QLatin1String("PI")));

    // Once it ended: no estimate on the curve or in the verdict, and what
    // was predicted along the way stands beside what was measured.
    QVERIFY(!CurvePlot::predictionText(*form.plotCurve));
    QVERIFY(!form.lblReasons->text().contains(QLatin1String("expected")));
    QVERIFY(form.lblPrediction->isVisible());
    for (const char *after : {"after 1 min", "after 2 min", "after 3 min", "after 5 min"})
        QVERIFY2(form.lblPrediction->text().contains(QLatin1String(after)), qPrintable(form.lblPrediction->text()));
    QVERIFY(form.lblPrediction->text().contains(QLatin1String("within the band")));
    // The panel's line goes with the test that ends when the meter stops.
    QTRY_VERIFY_WITH_TIMEOUT(panel.text().isEmpty(), patience);
}

QTEST_MAIN(TestTestsView)
#include "tst_testsview.moc"
