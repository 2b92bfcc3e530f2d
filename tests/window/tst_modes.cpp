// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "meter/mydmm.h"
#include "models/datamodel.h"
#include "support/modalscript.h"
#include "support/samplerecords.h"
#include "support/windowfixture.h"
#include "window/templatewindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <qcustomplot.h>

#include <functional>

namespace {
QString className(const QObject *object)
{
    return QString::fromLatin1(object->metaObject()->className());
}

using RecordMaker = std::function<QSharedPointer<DMMData>()>;
} // namespace

Q_DECLARE_METATYPE(RecordMaker)

class TestModes : public QObject
{
    Q_OBJECT

private slots:
    void liveRecordSwitchesTheLiveTableToItsMode_data();
    void liveRecordSwitchesTheLiveTableToItsMode();
    void eachModeKeepsItsRowsAcrossSwitches();
    void storedRecordBringsItsTabAndButtonQuietly();
    void storedRecordReplacesLiveDataOnTheChart();
    void tabSwitchReplotsFromTheTableInFront();
    void storedModeButtonsSwitchTheStoredTable();
    void pauseStopsRecordingButNotThePanel();
    void storedRecordsIgnoreThePause();
    void liveRecordsAreRecordedBehindTheStoredTab();
    void tabSwitchTellsTheChartWhichTableItShows();
    void clearActsOnTheTableInFrontWhenChosen();
    void clearEmptiesOnlyTheTableShown_data();
    void clearEmptiesOnlyTheTableShown();
    void recordsOfNoKnownModeAreDropped_data();
    void recordsOfNoKnownModeAreDropped();
    void startActionFollowsTheMeterState();
    void communicationTimeoutIsReported();
    void closeActionClosesTheWindow();
};

void TestModes::liveRecordSwitchesTheLiveTableToItsMode_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("model");

    const char *models[] = {"DataModelIR",   "DataModelTime", "DataModelPI",   "DataModelDAR",
                            "DataModelCOMP", "DataModelCAP",  "DataModelVOLT", "DataModelRES"};
    for (int mode = 0; mode < DMMData::modeCount; ++mode)
        QTest::newRow(qPrintable(DMMData::modeName(mode))) << mode << models[mode];
}

void TestModes::liveRecordSwitchesTheLiveTableToItsMode()
{
    QFETCH(int, mode);
    QFETCH(QString, model);

    WindowFixture fixture;
    fixture.live(SampleRecords::ofMode(static_cast<DMMData::DataMode>(mode)));
    QCOMPARE(className(fixture.liveModel()), model);
    QCOMPARE(fixture.liveModel()->rowCount(QModelIndex()), 1);
    QCOMPARE(fixture.liveTable()->columnWidth(1), 160);
    QCOMPARE(fixture.keys().size(), 1);
    QCOMPARE(className(fixture.storedModel()), QStringLiteral("DataModelStoredIR"));
    QCOMPARE(fixture.tables()->currentIndex(), 0);
}

void TestModes::eachModeKeepsItsRowsAcrossSwitches()
{
    WindowFixture fixture;
    fixture.live(SampleRecords::irAt(0, 10));
    fixture.live(SampleRecords::irAt(1, 20));
    fixture.live(SampleRecords::pi());
    QCOMPARE(fixture.liveModel()->rowCount(QModelIndex()), 1);
    fixture.live(SampleRecords::irAt(2, 30));
    QCOMPARE(fixture.liveModel()->rowCount(QModelIndex()), 3);
    QCOMPARE(fixture.values(), (QVector<double>{10, 20, 30}));
    fixture.live(SampleRecords::pi());
    QCOMPARE(fixture.liveModel()->rowCount(QModelIndex()), 2);
}

void TestModes::storedRecordBringsItsTabAndButtonQuietly()
{
    WindowFixture fixture;
    fixture.live(SampleRecords::irAt(0, 10));
    auto *piButton = fixture.find<QPushButton>("btnStoredPI");
    QSignalSpy tabChanges(fixture.tables(), &QTabWidget::currentChanged);
    QSignalSpy buttonClicks(piButton, &QPushButton::clicked);
    QSignalSpy buttonToggles(piButton, &QPushButton::toggled);

    fixture.stored(SampleRecords::pi());

    QCOMPARE(fixture.tables()->currentIndex(), 1);
    QVERIFY(piButton->isChecked());
    QVERIFY(!fixture.find<QPushButton>("btnStoredIR")->isChecked());
    QCOMPARE(tabChanges.count(), 0);
    QCOMPARE(buttonClicks.count(), 0);
    QCOMPARE(buttonToggles.count(), 0);
    QCOMPARE(className(fixture.storedModel()), QStringLiteral("DataModelStoredPI"));
    QCOMPARE(fixture.storedModel()->rowCount(QModelIndex()), 1);
    QCOMPARE(fixture.graph()->name(), QStringLiteral("PI"));
    QCOMPARE(fixture.values(), QVector<double>{2.19});
    // The live side is left as it was.
    QCOMPARE(className(fixture.liveModel()), QStringLiteral("DataModelIR"));
    QCOMPARE(fixture.liveModel()->rowCount(QModelIndex()), 1);
}

// The stored table already shows IR, yet the chart must drop the live points.
void TestModes::storedRecordReplacesLiveDataOnTheChart()
{
    WindowFixture fixture;
    for (int i = 0; i < 3; ++i)
        fixture.live(SampleRecords::irAt(i, 10.0 * (i + 1)));
    fixture.stored(SampleRecords::irAt(5, 2, "GΩ"));
    QCOMPARE(fixture.values(), QVector<double>{2000});
    fixture.stored(SampleRecords::irAt(6, 3, "GΩ"));
    QCOMPARE(fixture.values(), (QVector<double>{2000, 3000}));
}

void TestModes::tabSwitchReplotsFromTheTableInFront()
{
    WindowFixture fixture;
    for (int i = 0; i < 3; ++i)
        fixture.live(SampleRecords::irAt(i, 10.0 * (i + 1)));
    fixture.stored(SampleRecords::dar());

    fixture.tables()->setCurrentIndex(0);
    QCOMPARE(fixture.graph()->name(), QStringLiteral("IR"));
    QCOMPARE(fixture.plot()->yAxis->label(), QStringLiteral("RES"));
    QCOMPARE(fixture.values(), (QVector<double>{10, 20, 30}));

    fixture.tables()->setCurrentIndex(1);
    QCOMPARE(fixture.graph()->name(), QStringLiteral("DAR"));
    QCOMPARE(fixture.values(), QVector<double>{1.37});

    // Back on the live tab, new readings are recorded and join the live points.
    fixture.tables()->setCurrentIndex(0);
    fixture.live(SampleRecords::irAt(3, 40));
    QCOMPARE(fixture.values(), (QVector<double>{10, 20, 30, 40}));
}

void TestModes::storedModeButtonsSwitchTheStoredTable()
{
    WindowFixture fixture;
    fixture.stored(SampleRecords::cap());
    fixture.stored(SampleRecords::irAt(0, 10));
    QCOMPARE(className(fixture.storedModel()), QStringLiteral("DataModelStoredIR"));

    fixture.find<QPushButton>("btnStoredCAP")->click();
    QCOMPARE(className(fixture.storedModel()), QStringLiteral("DataModelStoredCAP"));
    QCOMPARE(fixture.graph()->name(), QStringLiteral("CAP"));
    QCOMPARE(fixture.values(), QVector<double>{0.47});
    QCOMPARE(fixture.tables()->currentIndex(), 1);

    // The button of the mode shown changes nothing, not even the chart.
    fixture.graph()->addData(fixture.keys().first() + 1, 9.0);
    fixture.find<QPushButton>("btnStoredCAP")->click();
    QCOMPARE(fixture.values(), (QVector<double>{0.47, 9.0}));
}

void TestModes::pauseStopsRecordingButNotThePanel()
{
    WindowFixture fixture;
    auto *pause = fixture.find<QAction>("actionPause");
    pause->trigger();
    QVERIFY(pause->isChecked());

    fixture.live(SampleRecords::irAt(0, 77));
    QCOMPARE(fixture.label("lcdMain")->text(), QStringLiteral("77 MΩ"));
    QCOMPARE(fixture.liveModel()->rowCount(QModelIndex()), 0);
    QVERIFY(fixture.keys().isEmpty());
    // Not even the mode of the table follows while paused.
    fixture.live(SampleRecords::volt());
    QCOMPARE(fixture.label("lcdTop1")->text(), QStringLiteral("VOLT"));
    QCOMPARE(className(fixture.liveModel()), QStringLiteral("DataModelIR"));

    pause->trigger();
    fixture.live(SampleRecords::irAt(1, 78));
    QCOMPARE(fixture.liveModel()->rowCount(QModelIndex()), 1);
    QCOMPARE(fixture.values(), QVector<double>{78});
}

void TestModes::storedRecordsIgnoreThePause()
{
    WindowFixture fixture;
    fixture.find<QAction>("actionPause")->trigger();
    fixture.stored(SampleRecords::res());
    QCOMPARE(fixture.storedModel()->rowCount(QModelIndex()), 1);
    QCOMPARE(fixture.values(), QVector<double>{47.5});
}

// A download brings the stored table forward by itself; the readings that
// follow are recorded all the same, and drawn once the live table is back.
void TestModes::liveRecordsAreRecordedBehindTheStoredTab()
{
    WindowFixture fixture;
    fixture.live(SampleRecords::irAt(0, 10));
    fixture.stored(SampleRecords::dar());
    fixture.live(SampleRecords::irAt(1, 55));
    fixture.live(SampleRecords::pi());
    QCOMPARE(fixture.label("lcdMain")->text(), QStringLiteral("2.19 "));

    QCOMPARE(fixture.tables()->currentIndex(), 1);
    QCOMPARE(fixture.graph()->name(), QStringLiteral("DAR"));
    QCOMPARE(fixture.values(), QVector<double>{1.37});
    QCOMPARE(fixture.liveModel()->rowCount(QModelIndex()), 1);
    QCOMPARE(fixture.liveTable()->model(), fixture.liveModel());

    fixture.tables()->setCurrentIndex(0);
    QCOMPARE(fixture.graph()->name(), QStringLiteral("PI"));
    QCOMPARE(fixture.values(), QVector<double>{2.19});
    fixture.live(SampleRecords::irAt(2, 60));
    QCOMPARE(fixture.values(), (QVector<double>{10, 55, 60}));
}

// After the user brings the live table forward, the next stored record of
// the same mode replots the stored table instead of joining the live points.
void TestModes::tabSwitchTellsTheChartWhichTableItShows()
{
    WindowFixture fixture;
    fixture.live(SampleRecords::irAt(0, 10));
    fixture.stored(SampleRecords::irAt(1, 2, "GΩ"));
    fixture.tables()->setCurrentIndex(0);
    QCOMPARE(fixture.values(), QVector<double>{10});

    fixture.stored(SampleRecords::irAt(2, 3, "GΩ"));
    QCOMPARE(fixture.tables()->currentIndex(), 1);
    QCOMPARE(fixture.values(), (QVector<double>{2000, 3000}));
}

void TestModes::clearEmptiesOnlyTheTableShown_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("liveIrRows");
    QTest::addColumn<int>("livePiRows");
    QTest::addColumn<int>("storedIrRows");

    QTest::newRow("live tab, yes") << 0 << int(QMessageBox::Yes) << 2 << 0 << 1;
    QTest::newRow("stored tab, yes") << 1 << int(QMessageBox::Yes) << 2 << 1 << 0;
    QTest::newRow("live tab, no") << 0 << int(QMessageBox::No) << 2 << 1 << 1;
}

void TestModes::clearEmptiesOnlyTheTableShown()
{
    QFETCH(int, tab);
    QFETCH(int, answer);
    QFETCH(int, liveIrRows);
    QFETCH(int, livePiRows);
    QFETCH(int, storedIrRows);

    WindowFixture fixture;
    fixture.live(SampleRecords::irAt(0, 10));
    fixture.live(SampleRecords::irAt(1, 20));
    fixture.live(SampleRecords::pi());
    fixture.stored(SampleRecords::irAt(2, 30));
    fixture.tables()->setCurrentIndex(tab);
    DataModel *livePi = fixture.liveModel();
    DataModel *storedIr = fixture.storedModel();
    const int pointsBefore = fixture.keys().size();

    ModalScript script;
    const auto &seen = script.messageBox(static_cast<QMessageBox::StandardButton>(answer));
    fixture.find<QAction>("actionClear")->trigger();
    QCOMPARE(seen.defaultButton, QMessageBox::No);

    QCOMPARE(seen.title, QStringLiteral("Clear Data"));
    // Only the table goes; the question says so.
    QCOMPARE(seen.text, QStringLiteral("Clear the table shown?\nThe journal keeps its readings: History opens them "
                                       "again."));
    QCOMPARE(seen.icon, QMessageBox::Question);
    QCOMPARE(livePi->rowCount(QModelIndex()), livePiRows);
    QCOMPARE(storedIr->rowCount(QModelIndex()), storedIrRows);
    QCOMPARE(fixture.keys().size(), answer == QMessageBox::Yes ? 0 : pointsBefore);

    fixture.tables()->setCurrentIndex(0);
    fixture.live(SampleRecords::irAt(3, 40));
    QCOMPARE(fixture.liveModel()->rowCount(QModelIndex()), liveIrRows + 1);
}

// A download that arrives while the question is open brings the stored
// table forward; Clear still empties the live table the user chose.
void TestModes::clearActsOnTheTableInFrontWhenChosen()
{
    WindowFixture fixture;
    fixture.live(SampleRecords::irAt(0, 10));
    fixture.live(SampleRecords::irAt(1, 20));
    DataModel *liveIr = fixture.liveModel();

    ModalScript script;
    script.messageBox(QMessageBox::Yes, [&fixture] { fixture.stored(SampleRecords::irAt(2, 2, "GΩ")); });
    fixture.find<QAction>("actionClear")->trigger();
    QVERIFY(script.finished());

    QCOMPARE(liveIr->rowCount(QModelIndex()), 0);
    QCOMPARE(fixture.tables()->currentIndex(), 1);
    QCOMPARE(fixture.storedModel()->rowCount(QModelIndex()), 1);
    QCOMPARE(fixture.values(), QVector<double>{2000});
}

void TestModes::recordsOfNoKnownModeAreDropped_data()
{
    QTest::addColumn<RecordMaker>("make");

    QTest::newRow("mode 8") << RecordMaker([] {
        QSharedPointer<DMMData> record = SampleRecords::ir();
        record->mode = static_cast<DMMData::DataMode>(8);
        return record;
    });
    QTest::newRow("mode 200") << RecordMaker([] {
        QSharedPointer<DMMData> record = SampleRecords::volt();
        record->mode = static_cast<DMMData::DataMode>(200);
        return record;
    });
    QTest::newRow("negative mode") << RecordMaker([] {
        QSharedPointer<DMMData> record = SampleRecords::ir();
        record->mode = static_cast<DMMData::DataMode>(-3);
        return record;
    });
    QTest::newRow("CAP record claiming PI") << RecordMaker([] {
        QSharedPointer<DMMData> record = SampleRecords::cap();
        record->mode = DMMData::dmPI;
        return record;
    });
    QTest::newRow("null record") << RecordMaker([] { return QSharedPointer<DMMData>(); });
}

// Such records never come from the decoders; they must not reach a table
// that reads them as another class, nor index past the eight modes.
void TestModes::recordsOfNoKnownModeAreDropped()
{
    QFETCH(RecordMaker, make);

    WindowFixture fixture;
    fixture.live(SampleRecords::irAt(0, 10));
    fixture.live(make());
    fixture.stored(make());
    QCOMPARE(className(fixture.liveModel()), QStringLiteral("DataModelIR"));
    QCOMPARE(fixture.liveModel()->rowCount(QModelIndex()), 1);
    QCOMPARE(fixture.storedModel()->rowCount(QModelIndex()), 0);
    QCOMPARE(fixture.tables()->currentIndex(), 0);
    QCOMPARE(fixture.values(), QVector<double>{10});
}

void TestModes::startActionFollowsTheMeterState()
{
    WindowFixture fixture;
    auto *start = fixture.find<QAction>("actionStart");
    auto *pause = fixture.find<QAction>("actionPause");
    pause->trigger();
    emit fixture.meter()->opened();
    QVERIFY(start->isCheckable());
    QVERIFY(start->isChecked());
    emit fixture.meter()->closed();
    QVERIFY(!start->isChecked());
    QVERIFY(!start->isCheckable());
    QVERIFY(pause->isChecked());
}

void TestModes::communicationTimeoutIsReported()
{
    WindowFixture fixture;
    ModalScript script;
    const auto &seen = script.messageBox(QMessageBox::Ok);
    emit fixture.meter()->communicationTimeout();
    QVERIFY(seen.title.isEmpty());
    QCOMPARE(seen.text, QStringLiteral("Data communication error.The equipment may have been disconnected."));
    QCOMPARE(seen.icon, QMessageBox::Critical);
}

void TestModes::closeActionClosesTheWindow()
{
    WindowFixture fixture;
    QVERIFY(fixture.show());
    fixture.find<QAction>("actionClose")->trigger();
    QVERIFY(!fixture.window().isVisible());
}

QTEST_MAIN(TestModes)
#include "tst_modes.moc"
