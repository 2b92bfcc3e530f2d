// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "meter/mydmm.h"
#include "models/datamodel.h"
#include "sim/demoscenario.h"
#include "sim/simulatedhid.h"
#include "support/csvtext.h"
#include "support/modalscript.h"
#include "support/windowfixture.h"
#include "window/templatewindow.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QSettings>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>

#include <qcustomplot.h>

namespace {
const QString meterPath = QStringLiteral("demo:walkthrough");
const int patience = 20000;

// The panel's caption for a reading of `mode`; IR readings have none.
QString panelCaption(int mode)
{
    return mode == DMMData::dmIR ? QString() : DMMData::modeName(mode);
}

// The panel's main reading: the ratio in PI and DAR, the value elsewhere.
QString panelMainText(const QSharedPointer<DMMData> &record)
{
    if (auto pi = record.dynamicCast<DMMDataPI>())
        return pi->piRatio.toString();
    if (auto dar = record.dynamicCast<DMMDataDAR>())
        return dar->darRatio.toString();
    if (auto ir = record.dynamicCast<DMMDataIR>())
        return ir->resistance.toString();
    if (auto res = record.dynamicCast<DMMDataRES>())
        return res->resistance.toString();
    if (auto cap = record.dynamicCast<DMMDataCAP>())
        return DataModel::getCAPViewStr(cap);
    return DataModel::getVOLTViewStr(record.dynamicCast<DMMDataVOLT>());
}

// Types the name into the file dialog's name field and presses Enter.
void typeFileName(ModalScript &script, const QString &fileName)
{
    script.dialog("QFileDialog", [fileName](QWidget *dialog) {
        auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        name->selectAll();
        QTest::keyClicks(name, fileName);
        QTest::keyClick(name, Qt::Key_Return);
    });
}

// Answers "No" to the offer to open the file, with the mouse.
void declineToOpen(ModalScript &script)
{
    script.dialog("QMessageBox", [](QWidget *widget) {
        QTest::mouseClick(static_cast<QMessageBox *>(widget)->button(QMessageBox::No), Qt::LeftButton);
    });
}
} // namespace

// A user's walk through the program in a real window: start a meter with the
// mouse, watch live readings of several modes, receive a download from the
// meter's memory, stop, export both tables and the chart through the file
// dialog, and close.
class TestWalkthrough : public QObject
{
    Q_OBJECT

private slots:
    void recordExportAndClose();

private:
    void clickToolButton(const WindowFixture &fixture, const char *actionName);
    QString exportTable(const WindowFixture &fixture, const QString &name);
};

void TestWalkthrough::clickToolButton(const WindowFixture &fixture, const char *actionName)
{
    auto *toolBar = fixture.find<QToolBar>("toolBarMain");
    QWidget *button = toolBar->widgetForAction(fixture.find<QAction>(actionName));
    QVERIFY(button && button->isVisible());
    QTest::mouseClick(button, Qt::LeftButton);
}

QString TestWalkthrough::exportTable(const WindowFixture &fixture, const QString &name)
{
    ModalScript script;
    typeFileName(script, name);
    declineToOpen(script);
    clickToolButton(fixture, "actionExport");
    return script.finished() ? fixture.dir().filePath(name) : QString();
}

void TestWalkthrough::recordExportAndClose()
{
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    SimulatedHid::reset();
    DemoScenario::installMeter(meterPath, DemoScenario::Pace::Fast);
    WindowFixture fixture;
    QVERIFY(fixture.show());

    // Which live tables got rows, and the newest live reading.
    QSet<const DataModel *> liveTablesWithRows;
    QSharedPointer<DMMData> newest;
    connect(fixture.meter(), &MyDMM::updateLiveData, this, [&](QSharedPointer<DMMData> record) {
        newest = record;
        if (fixture.liveModel()->rowCount() > 0)
            liveTablesWithRows.insert(fixture.liveModel());
    });

    clickToolButton(fixture, "actionStart");
    auto *start = fixture.find<QAction>("actionStart");
    QTRY_VERIFY_WITH_TIMEOUT(start->isChecked(), patience);
    QTRY_VERIFY_WITH_TIMEOUT(liveTablesWithRows.size() >= 3, patience);
    QTRY_COMPARE_WITH_TIMEOUT(fixture.tables()->currentIndex(), 1, patience);
    QTRY_VERIFY_WITH_TIMEOUT(fixture.storedModel()->rowCount() > 0, patience);

    clickToolButton(fixture, "actionStart");
    QTRY_VERIFY_WITH_TIMEOUT(!start->isCheckable(), patience);
    QCoreApplication::processEvents();

    // The panel shows the newest live reading.
    QVERIFY(newest);
    QCOMPARE(fixture.label("lcdTop1")->text(), panelCaption(newest->mode));
    QCOMPARE(fixture.label("lcdMain")->text(), panelMainText(newest));
    QVERIFY(fixture.graph()->dataCount() > 0);

    const QString stored = exportTable(fixture, "stored.csv");
    QVERIFY(!stored.isEmpty());
    QCOMPARE(CsvText::withoutFormulaGuard(CsvText::readFile(stored)), CsvText::cellsOf(*fixture.storedModel()));

    QTabBar *tabs = fixture.tables()->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, Qt::NoModifier, tabs->tabRect(0).center());
    QCOMPARE(fixture.tables()->currentIndex(), 0);
    QVERIFY(fixture.liveModel()->rowCount() > 0);
    const QString live = exportTable(fixture, "live.csv");
    QVERIFY(!live.isEmpty());
    QCOMPARE(CsvText::withoutFormulaGuard(CsvText::readFile(live)), CsvText::cellsOf(*fixture.liveModel()));

    ModalScript chartScript;
    const auto &menu = chartScript.popupMenu(QStringLiteral("Save"));
    typeFileName(chartScript, "chart.png");
    declineToOpen(chartScript);
    QCustomPlot *plot = fixture.plot();
    const QPoint inside = plot->rect().center();
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, inside, plot->mapToGlobal(inside));
    QCoreApplication::sendEvent(plot, &rightClick);
    QTRY_VERIFY_WITH_TIMEOUT(chartScript.finished(), patience);
    QCOMPARE(menu.items, QStringList{"Save"});
    const QImage chart(fixture.dir().filePath("chart.png"));
    QCOMPARE(chart.size(), plot->size());

    clickToolButton(fixture, "actionClose");
    QVERIFY(!fixture.window().isVisible());
    const QSettings options(fixture.dir().filePath("options.ini"), QSettings::IniFormat);
    QVERIFY(!options.value("geometry").toByteArray().isEmpty());
    QCOMPARE(options.value("Language").toString(), QStringLiteral("0"));
    QCOMPARE(options.value("SamplePoints").toInt(), -1);
    QCOMPARE(options.value("SampleInterval").toInt(), 0);
    QCOMPARE(options.value("RecordAtTesttime").toString(), QStringLiteral("false"));
}

QTEST_MAIN(TestWalkthrough)
#include "tst_walkthrough.moc"
