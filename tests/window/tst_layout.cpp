// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "meter/mydmm.h"
#include "models/datamodel.h"
#include "support/windowfixture.h"
#include "window/templatewindow.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <qcustomplot.h>

namespace {
struct GridPlace
{
    QString layout;
    int row = -1;
    int column = -1;
    int rowSpan = 0;
    int columnSpan = 0;
};

// The grid (and cell) that holds a widget or a nested layout.
GridPlace placeOf(const QWidget &root, const QObject *child)
{
    for (QGridLayout *grid : root.findChildren<QGridLayout *>()) {
        for (int i = 0; i < grid->count(); ++i) {
            QLayoutItem *item = grid->itemAt(i);
            if (item->widget() != child && item->layout() != child)
                continue;
            GridPlace place;
            place.layout = grid->objectName();
            grid->getItemPosition(i, &place.row, &place.column, &place.rowSpan, &place.columnSpan);
            return place;
        }
    }
    return {};
}

QStringList headerTexts(const QTableView *view)
{
    QStringList texts;
    const QAbstractItemModel *model = view->model();
    for (int section = 0; section < model->columnCount(); ++section)
        texts << model->headerData(section, Qt::Horizontal, Qt::DisplayRole).toString();
    return texts;
}

// Menus the window itself parents (the tool bar's own extension menu is not one).
QList<QMenu *> windowMenus(const WindowFixture &fixture)
{
    return fixture.window().findChildren<QMenu *>(QString(), Qt::FindDirectChildrenOnly);
}

// Runs `check` on the popup menu once it is open, then closes it.
void inspectPopupThenClose(const std::function<void(QMenu *)> &check)
{
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, check] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return;
        check(menu);
        menu->close();
        poll->deleteLater();
    });
    poll->start(10);
}
} // namespace

class TestLayout : public QObject
{
    Q_OBJECT

private slots:
    void widgetsSitInTheirGridCells_data();
    void widgetsSitInTheirGridCells();
    void layoutsHaveTheirPlacesMarginsAndSpacing_data();
    void layoutsHaveTheirPlacesMarginsAndSpacing();
    void splittersAndTabsHoldTheirPages_data();
    void splittersAndTabsHoldTheirPages();
    void sizesAndFramesFollowTheForm();
    void panelLabelsAreCentredExceptTheGivenOnes();
    void panelStartsWithTheFormTexts();
    void panelFontsAreBoldWhereGiven();
    void onlyTheTableTabsShowATabBar();
    void actionsCarryTextsAndIcons_data();
    void actionsCarryTextsAndIcons();
    void toolBarEndsWithSpacerAndClose();
    void storedModeButtonsCarryTheirModes_data();
    void storedModeButtonsCarryTheirModes();
    void setUpLeavesTheWindowReady();
    void tablesShowIrColumnsBeforeAnyData();
    void chartContextMenuOffersSave();
    void otherWidgetsGetNoMenuFromTheFilter();
};

void TestLayout::widgetsSitInTheirGridCells_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("layout");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("columnSpan");

    const auto add = [](const char *name, const char *className, const char *layout, int row, int column) {
        QTest::newRow(name) << className << layout << row << column << 1;
    };
    add("widget", "QWidget", "gridLayout_5", 0, 0);
    add("toolBarMain", "QToolBar", "gridLayout_16", 0, 0);
    add("tabWidget", "QTabWidget", "gridLayout_16", 1, 0);
    add("widgetCH1", "QWidget", "gridLayout_7", 0, 0);
    add("toolBar", "QWidget", "gridLayout_11", 0, 0);
    add("splitterMain", "QSplitter", "gridLayout_11", 1, 0);
    add("lcd", "QFrame", "gridLayout_6", 1, 0);
    add("pnlControl", "QFrame", "gridLayout_6", 2, 0);
    add("tabWgTV", "QTabWidget", "gridLayout_6", 3, 0);
    add("spConfig", "QDoubleSpinBox", "gridLayout_10", 0, 0);
    // The live table's mode buttons sit above it, as the stored table's do.
    add("frameLiveModes", "QFrame", "gridLayout_20", 0, 0);
    add("tv1", "QTableView", "gridLayout_20", 1, 0);
    add("frame", "QFrame", "gridLayout_21", 0, 0);
    add("tvStored", "QTableView", "gridLayout_21", 1, 0);
    add("btnStoredIR", "QPushButton", "gridLayout_24", 0, 0);
    add("btnStoredTime", "QPushButton", "gridLayout_24", 0, 1);
    add("btnStoredPI", "QPushButton", "gridLayout_24", 0, 2);
    add("btnStoredDAR", "QPushButton", "gridLayout_24", 0, 3);
    add("btnStoredCOMP", "QPushButton", "gridLayout_24", 0, 4);
    add("btnStoredCAP", "QPushButton", "gridLayout_24", 0, 5);
    add("btnStoredVOLT", "QPushButton", "gridLayout_24", 0, 6);
    add("btnStoredRES", "QPushButton", "gridLayout_24", 0, 7);
    add("tabWidgetChart", "QTabWidget", "gridLayout_3", 0, 0);
    add("plot1", "QCustomPlot", "gridLayout_17", 0, 0);
    add("lcdTop1", "QLabel", "gridLayout_2", 0, 0);
    add("lcdTop2", "QLabel", "gridLayout_2", 0, 1);
    add("lcdTesting", "QFrame", "gridLayout_2", 0, 2);
    add("lcdLeft1", "QLabel", "gridLayout_14", 1, 0);
    add("lcdVSet", "QLabel", "gridLayout_14", 1, 1);
    add("lcdLeft2", "QLabel", "gridLayout_14", 2, 0);
    add("lcdVOut", "QLabel", "gridLayout_14", 2, 1);
    add("lcdLeft3", "QLabel", "gridLayout_14", 3, 0);
    add("lcdLC", "QLabel", "gridLayout_14", 3, 1);
    add("lcdGreaterSign_2", "QLabel", "gridLayout_12", 0, 0);
    add("lcdMainTop", "QLabel", "gridLayout_12", 0, 1);
    add("lcdGreaterSign_4", "QLabel", "gridLayout_12", 0, 2);
    add("lcdGreaterSign", "QLabel", "gridLayout_9", 0, 0);
    add("lcdMain", "QLabel", "gridLayout_9", 0, 1);
    add("lcdGreaterSign_6", "QLabel", "gridLayout_9", 0, 2);
    add("lcdGreaterSign_3", "QLabel", "gridLayout_15", 0, 0);
    add("lcdMainBottom", "QLabel", "gridLayout_15", 0, 1);
    add("lcdGreaterSign_5", "QLabel", "gridLayout_15", 0, 2);
    add("lcdRight1", "QLabel", "gridLayout_36", 0, 0);
    add("lcdRight11", "QLabel", "gridLayout_36", 0, 1);
    add("lcdRight2", "QLabel", "gridLayout_36", 1, 0);
    add("lcdRight21", "QLabel", "gridLayout_36", 1, 1);
    add("lcdRight3", "QLabel", "gridLayout_36", 2, 0);
    add("lcdRight31", "QLabel", "gridLayout_36", 2, 1);
    add("lcdTimeSet1", "QLabel", "gridLayout_22", 0, 0);
    add("lcdTimeSet11", "QLabel", "gridLayout_22", 0, 1);
    add("lcdTimeSet2", "QLabel", "gridLayout_25", 0, 0);
    add("lcdTimeSet21", "QLabel", "gridLayout_25", 0, 1);
    add("lcdHeader1_3", "QLabel", "gridLayout_13", 0, 0);
    add("lcdHeader2_3", "QLabel", "gridLayout_13", 0, 1);
    add("lcdHeader3_3", "QLabel", "gridLayout_13", 0, 2);
}

void TestLayout::widgetsSitInTheirGridCells()
{
    QFETCH(QString, className);
    QFETCH(QString, layout);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(int, columnSpan);

    WindowFixture fixture;
    const auto *widget = fixture.find<QWidget>(QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY(widget);
    QCOMPARE(QString::fromLatin1(widget->metaObject()->className()), className);
    const GridPlace place = placeOf(fixture.window(), widget);
    QCOMPARE(place.layout, layout);
    QCOMPARE(place.row, row);
    QCOMPARE(place.column, column);
    QCOMPARE(place.rowSpan, 1);
    QCOMPARE(place.columnSpan, columnSpan);
}

void TestLayout::layoutsHaveTheirPlacesMarginsAndSpacing_data()
{
    QTest::addColumn<QString>("owner");  // widget that holds the layout, or empty when nested
    QTest::addColumn<QString>("parent"); // grid that holds the nested layout
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("columnSpan");
    QTest::addColumn<int>("margin");
    QTest::addColumn<int>("horizontalSpacing");
    QTest::addColumn<int>("verticalSpacing");

    const auto top = [](const char *name, const char *owner, int margin, int spacing) {
        QTest::newRow(name) << owner << QString() << -1 << -1 << 0 << margin << spacing << spacing;
    };
    const auto nested = [](const char *name, const char *parent, int row, int column, int margin) {
        QTest::newRow(name) << QString() << parent << row << column << 1 << margin << 6 << 6;
    };
    top("gridLayout_5", "TemplateWindow", 11, 6);
    top("gridLayout_16", "widget", 1, 6);
    top("gridLayout_7", "tab1", 0, 0);
    top("gridLayout_11", "widgetCH1", 11, 6);
    top("gridLayout_6", "layoutWidget", 0, 6);
    top("gridLayout_19", "lcd", 3, 6);
    nested("gridLayout_2", "gridLayout_19", 0, 0, 3);
    nested("gridLayout_4", "gridLayout_19", 1, 0, 3);
    nested("gridLayout_14", "gridLayout_4", 0, 0, 3);
    nested("gridLayout_8", "gridLayout_4", 0, 1, 0);
    nested("gridLayout_12", "gridLayout_8", 1, 0, 0);
    nested("gridLayout_9", "gridLayout_8", 3, 0, 0);
    nested("gridLayout_15", "gridLayout_8", 5, 0, 0);
    nested("gridLayout_36", "gridLayout_4", 0, 2, 3);
    QTest::newRow("gridLayout_18") << QString() << "gridLayout_4" << 1 << 0 << 3 << 0 << 6 << 6;
    nested("gridLayout_22", "gridLayout_18", 0, 0, 0);
    nested("gridLayout_25", "gridLayout_18", 0, 1, 0);
    nested("gridLayout_13", "gridLayout_19", 2, 0, 3);
    QTest::newRow("gridLayout_10") << "pnlControl" << QString() << -1 << -1 << 0 << 11 << 6 << 16;
    top("gridLayout_20", "tabLive", 11, 6);
    top("gridLayout_21", "tabStored", 11, 6);
    top("gridLayout_24", "frame", 1, 1);
    top("gridLayout", "layoutWidget1", 0, 6);
    nested("gridLayout_3", "gridLayout", 0, 0, 0);
    top("gridLayout_17", "tabCH1", 0, 0);
}

void TestLayout::layoutsHaveTheirPlacesMarginsAndSpacing()
{
    QFETCH(QString, owner);
    QFETCH(QString, parent);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(int, columnSpan);
    QFETCH(int, margin);
    QFETCH(int, horizontalSpacing);
    QFETCH(int, verticalSpacing);

    WindowFixture fixture;
    const auto *grid = fixture.find<QGridLayout>(QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY(grid);
    if (owner.isEmpty()) {
        const GridPlace place = placeOf(fixture.window(), grid);
        QCOMPARE(place.layout, parent);
        QCOMPARE(place.row, row);
        QCOMPARE(place.column, column);
        QCOMPARE(place.columnSpan, columnSpan);
    } else {
        QVERIFY(grid->parentWidget());
        QCOMPARE(grid->parentWidget()->objectName(), owner);
        QCOMPARE(grid->parentWidget()->layout(), grid);
    }
    QCOMPARE(grid->contentsMargins(), QMargins(margin, margin, margin, margin));
    QCOMPARE(grid->horizontalSpacing(), horizontalSpacing);
    QCOMPARE(grid->verticalSpacing(), verticalSpacing);
}

void TestLayout::splittersAndTabsHoldTheirPages_data()
{
    QTest::addColumn<QString>("container");
    QTest::addColumn<QString>("className");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("tabText");

    QTest::newRow("layoutWidget") << "splitterMain" << "QWidget" << 0 << QString();
    QTest::newRow("splitter") << "splitterMain" << "QSplitter" << 1 << QString();
    QTest::newRow("layoutWidget1") << "splitter" << "QWidget" << 0 << QString();
    QTest::newRow("tab1") << "tabWidget" << "QWidget" << 0 << QString();
    QTest::newRow("tabLive") << "tabWgTV" << "QWidget" << 0 << "Live";
    QTest::newRow("tabStored") << "tabWgTV" << "QWidget" << 1 << "Stored";
    QTest::newRow("tabCH1") << "tabWidgetChart" << "QWidget" << 0 << "Tab 1";
}

void TestLayout::splittersAndTabsHoldTheirPages()
{
    QFETCH(QString, container);
    QFETCH(QString, className);
    QFETCH(int, index);
    QFETCH(QString, tabText);

    WindowFixture fixture;
    auto *page = fixture.find<QWidget>(QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY(page);
    QCOMPARE(QString::fromLatin1(page->metaObject()->className()), className);
    if (auto *splitter = fixture.find<QSplitter>(container)) {
        QCOMPARE(splitter->indexOf(page), index);
        QCOMPARE(splitter->orientation(), Qt::Horizontal);
    } else {
        auto *tabs = fixture.find<QTabWidget>(container);
        QVERIFY(tabs);
        QCOMPARE(tabs->indexOf(page), index);
        QCOMPARE(tabs->tabText(index), tabText);
    }
}

void TestLayout::sizesAndFramesFollowTheForm()
{
    WindowFixture fixture;
    QCOMPARE(fixture.window().size(), QSize(1026, 701));
    QCOMPARE(fixture.find<QWidget>("widgetCH1")->minimumSize(), QSize(1000, 600));

    const auto *toolBar = fixture.find<QWidget>("toolBar");
    QCOMPARE(toolBar->sizePolicy().horizontalPolicy(), QSizePolicy::Preferred);
    QCOMPARE(toolBar->sizePolicy().verticalPolicy(), QSizePolicy::Maximum);
    QCOMPARE(toolBar->minimumHeight(), 24);
    QVERIFY(toolBar->isHidden());
    QVERIFY(fixture.find<QWidget>("pnlControl")->isHidden());

    const auto *splitter = fixture.find<QSplitter>("splitter");
    QCOMPARE(splitter->sizePolicy().horizontalPolicy(), QSizePolicy::Expanding);
    QCOMPARE(splitter->sizePolicy().verticalPolicy(), QSizePolicy::Preferred);
    QCOMPARE(splitter->sizePolicy().horizontalStretch(), 1);
    QCOMPARE(fixture.liveTable()->minimumWidth(), 400);
    QCOMPARE(fixture.label("lcdMain")->minimumWidth(), 120);
    for (const char *sign : {"lcdGreaterSign", "lcdGreaterSign_2", "lcdGreaterSign_3", "lcdGreaterSign_4",
                             "lcdGreaterSign_5", "lcdGreaterSign_6"}) {
        QCOMPARE(fixture.label(sign)->minimumWidth(), 30);
        QCOMPARE(fixture.label(sign)->maximumWidth(), 30);
    }

    const auto *lamp = fixture.find<QFrame>("lcdTesting");
    QCOMPARE(lamp->minimumSize(), QSize(15, 15));
    QCOMPARE(lamp->maximumSize(), QSize(15, 15));
    QCOMPARE(lamp->frameShape(), QFrame::StyledPanel);
    QCOMPARE(lamp->frameShadow(), QFrame::Raised);
    const auto *lcd = fixture.find<QFrame>("lcd");
    QCOMPARE(lcd->frameShape(), QFrame::StyledPanel);
    QCOMPARE(lcd->frameShadow(), QFrame::Sunken);
    QVERIFY(lcd->styleSheet().isEmpty());
    QCOMPARE(fixture.find<QFrame>("pnlControl")->frameShadow(), QFrame::Sunken);
    QCOMPARE(fixture.find<QFrame>("frame")->frameShadow(), QFrame::Raised);

    const auto *toolBarMain = fixture.find<QToolBar>("toolBarMain");
    QCOMPARE(toolBarMain->iconSize(), QSize(16, 16));
    QCOMPARE(toolBarMain->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    QVERIFY(!toolBarMain->isFloatable());
}

void TestLayout::panelLabelsAreCentredExceptTheGivenOnes()
{
    WindowFixture fixture;
    const QHash<QString, Qt::Alignment> exceptions = {
        {QStringLiteral("lcdGreaterSign"), Qt::AlignRight | Qt::AlignVCenter},
        {QStringLiteral("lcdTimeSet11"), Qt::AlignLeft | Qt::AlignVCenter},
        {QStringLiteral("lcdTimeSet21"), Qt::AlignLeft | Qt::AlignVCenter},
    };
    const QList<QLabel *> labels = fixture.find<QFrame>("lcd")->findChildren<QLabel *>();
    QCOMPARE(labels.size(), 30);
    for (const QLabel *label : labels) {
        const Qt::Alignment expected = exceptions.value(label->objectName(), Qt::AlignCenter);
        QVERIFY2(label->alignment() == expected, qPrintable(label->objectName()));
    }
}

void TestLayout::panelStartsWithTheFormTexts()
{
    WindowFixture fixture;
    const QHash<QString, QString> texts = {
        {QStringLiteral("lcdLeft1"), QStringLiteral("Vset:")}, {QStringLiteral("lcdVSet"), QStringLiteral("0 V")},
        {QStringLiteral("lcdLeft2"), QStringLiteral("Vout:")}, {QStringLiteral("lcdVOut"), QStringLiteral("0 V")},
        {QStringLiteral("lcdLeft3"), QStringLiteral("LC:")},   {QStringLiteral("lcdLC"), QStringLiteral("0 uA")},
        {QStringLiteral("lcdMain"), QStringLiteral("0")},      {QStringLiteral("lcdRight1"), QStringLiteral("RES1:")},
        {QStringLiteral("lcdRight2"), QStringLiteral("RES2:")}, {QStringLiteral("lcdRight3"), QStringLiteral("Time:")},
    };
    for (const QLabel *label : fixture.find<QFrame>("lcd")->findChildren<QLabel *>())
        QCOMPARE(label->text(), texts.value(label->objectName()));
    QVERIFY(fixture.find<QFrame>("lcdTesting")->styleSheet().isEmpty());
}

void TestLayout::panelFontsAreBoldWhereGiven()
{
    WindowFixture fixture;
    QCOMPARE(fixture.label("lcdTop1")->font().weight(), 75);
    for (const char *name : {"lcdMainTop", "lcdMain", "lcdMainBottom"}) {
        QCOMPARE(fixture.label(name)->font().pointSize(), 12);
        QCOMPARE(fixture.label(name)->font().weight(), 75);
    }
    QVERIFY(!fixture.label("lcdTop2")->font().bold());
}

void TestLayout::onlyTheTableTabsShowATabBar()
{
    WindowFixture fixture;
    QVERIFY(fixture.show());
    const auto *frameTabs = fixture.find<QTabWidget>("tabWidget");
    QVERIFY(!frameTabs->tabBar()->isVisible());
    QCOMPARE(frameTabs->tabPosition(), QTabWidget::North);
    QVERIFY(frameTabs->tabText(0).isEmpty());
    QVERIFY(!fixture.find<QTabWidget>("tabWidgetChart")->tabBar()->isVisible());
    QVERIFY(fixture.tables()->tabBar()->isVisible());
    QCOMPARE(fixture.tables()->count(), 2);
}

void TestLayout::actionsCarryTextsAndIcons_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("onToolBar");

    QTest::newRow("actionStart") << "Start" << true;
    QTest::newRow("actionPause") << "Pause" << true;
    QTest::newRow("actionExport") << "Export" << true;
    QTest::newRow("actionClear") << "Clear" << true;
    QTest::newRow("actionChartVSave") << "Save" << false;
    QTest::newRow("actionChartCSave") << "Save" << false;
    QTest::newRow("actionHistory") << "History" << true;
    QTest::newRow("actionSave") << "Save" << false;
    QTest::newRow("actionOptions") << "Options" << true;
    QTest::newRow("actionSaveImage") << "Save" << false;
    QTest::newRow("actionHelp") << "Help" << false;
    QTest::newRow("actionClose") << "Close" << true;
}

void TestLayout::actionsCarryTextsAndIcons()
{
    QFETCH(QString, text);
    QFETCH(bool, onToolBar);

    WindowFixture fixture;
    const auto *action = fixture.find<QAction>(QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY(action);
    QCOMPARE(action->parent(), &fixture.window());
    QCOMPARE(action->text(), text);
    QVERIFY(!action->icon().isNull());
    QCOMPARE(fixture.find<QToolBar>("toolBarMain")->actions().contains(const_cast<QAction *>(action)), onToolBar);
    if (!onToolBar)
        QVERIFY(action->associatedWidgets().isEmpty());
}

void TestLayout::toolBarEndsWithSpacerAndClose()
{
    WindowFixture fixture;
    auto *toolBar = fixture.find<QToolBar>("toolBarMain");
    const QList<QAction *> actions = toolBar->actions();
    QCOMPARE(actions.size(), 12);
    const QStringList names = {"actionStart",   "actionPause", "",                "actionOptions",
                               "",              "actionClear", "actionExport",    "actionHistory",
                               "actionTests",   "actionEquipment", "",            "actionClose"};
    for (int i = 0; i < names.size(); ++i) {
        if (!names[i].isEmpty())
            QCOMPARE(actions[i]->objectName(), names[i]);
    }
    QVERIFY(actions[2]->isSeparator());
    QVERIFY(actions[4]->isSeparator());
    QWidget *spacer = toolBar->widgetForAction(actions[10]);
    QVERIFY(spacer);
    QCOMPARE(spacer->sizePolicy().horizontalPolicy(), QSizePolicy::Expanding);
    QCOMPARE(spacer->sizePolicy().verticalPolicy(), QSizePolicy::Preferred);

    // The spacer takes the free width, so Close ends up at the right-hand end.
    QVERIFY(fixture.show());
    const QWidget *close = toolBar->widgetForAction(actions[11]);
    QVERIFY(close->geometry().left() > toolBar->width() / 2);
}

void TestLayout::storedModeButtonsCarryTheirModes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("mode");

    QTest::newRow("btnStoredIR") << "IR" << int(DMMData::dmIR);
    QTest::newRow("btnStoredTime") << "TIME" << int(DMMData::dmTime);
    QTest::newRow("btnStoredPI") << "PI" << int(DMMData::dmPI);
    QTest::newRow("btnStoredDAR") << "DAR" << int(DMMData::dmDAR);
    QTest::newRow("btnStoredCOMP") << "COMP" << int(DMMData::dmCOMP);
    QTest::newRow("btnStoredCAP") << "CAP" << int(DMMData::dmCAP);
    QTest::newRow("btnStoredVOLT") << "VOLT" << int(DMMData::dmVOLT);
    QTest::newRow("btnStoredRES") << "RES" << int(DMMData::dmRES);
}

void TestLayout::storedModeButtonsCarryTheirModes()
{
    QFETCH(QString, text);
    QFETCH(int, mode);

    WindowFixture fixture;
    const auto *button = fixture.find<QPushButton>(QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY(button);
    QCOMPARE(button->text(), text);
    QCOMPARE(button->property("StoredMode").type(), QVariant::Int);
    QCOMPARE(button->property("StoredMode").toInt(), mode);
    QVERIFY(button->isCheckable());
    QVERIFY(button->autoExclusive());
    QVERIFY(!button->autoRepeat());
    QCOMPARE(button->minimumWidth(), 20);
    QCOMPARE(button->isChecked(), mode == DMMData::dmIR);
}

void TestLayout::setUpLeavesTheWindowReady()
{
    WindowFixture fixture;
    const TemplateWindow &window = fixture.window();
    QCOMPARE(window.windowTitle(), QStringLiteral("Tessra 1.00"));
    QVERIFY(!window.windowIcon().isNull());
    QCOMPARE(window.objectName(), QStringLiteral("TemplateWindow"));

    const auto *start = fixture.find<QAction>("actionStart");
    QVERIFY(!start->isCheckable());
    const auto *pause = fixture.find<QAction>("actionPause");
    QVERIFY(pause->isCheckable());
    QVERIFY(!pause->isChecked());
    QCOMPARE(fixture.tables()->currentIndex(), 0);

    const auto *dmm = window.findChild<MyDMM *>();
    QVERIFY(dmm);
    QCOMPARE(dmm->parent(), &window);

    QCOMPARE(fixture.graph()->name(), QStringLiteral("IR"));
    QCOMPARE(fixture.plot()->yAxis->label(), QStringLiteral("RES"));
    QCOMPARE(fixture.plot()->xAxis->label(), QStringLiteral("Date/Time"));
    QCOMPARE(fixture.plot()->graphCount(), 1);
}

void TestLayout::tablesShowIrColumnsBeforeAnyData()
{
    WindowFixture fixture;
    const QStringList irColumns = {"No.", "Date/Time", "Mode", "RES", "LC", "V-Set", "V-Out", "DAR", "PI", "Time"};
    QCOMPARE(QString::fromLatin1(fixture.liveModel()->metaObject()->className()), QStringLiteral("DataModelIR"));
    QCOMPARE(QString::fromLatin1(fixture.storedModel()->metaObject()->className()), QStringLiteral("DataModelStoredIR"));
    for (const QTableView *view : {fixture.liveTable(), fixture.storedTable()}) {
        QCOMPARE(headerTexts(view), irColumns);
        QCOMPARE(view->columnWidth(0), 50);
        QCOMPARE(view->columnWidth(1), 160);
        QCOMPARE(view->columnWidth(2), 50);
    }
    const QTableView *live = fixture.liveTable();
    QCOMPARE(live->horizontalHeader()->defaultAlignment(), Qt::AlignCenter);
    QVERIFY(!live->horizontalHeader()->sectionsClickable());
    QCOMPARE(live->selectionBehavior(), QAbstractItemView::SelectRows);
}

void TestLayout::chartContextMenuOffersSave()
{
    WindowFixture fixture;
    QVERIFY(fixture.show());
    QStringList entries;
    QWidget *menuParent = nullptr;
    inspectPopupThenClose([&](QMenu *menu) {
        for (const QAction *action : menu->actions())
            entries << action->objectName() + QLatin1Char('=') + action->text();
        menuParent = menu->parentWidget();
    });
    QCustomPlot *plot = fixture.plot();
    QContextMenuEvent event(QContextMenuEvent::Mouse, plot->rect().center(), plot->mapToGlobal(plot->rect().center()));
    QApplication::sendEvent(plot, &event);

    QCOMPARE(entries, QStringList{QStringLiteral("actionSaveImage=Save")});
    QCOMPARE(menuParent, &fixture.window());
    // The menu goes away by itself once closed.
    QTRY_VERIFY_WITH_TIMEOUT(windowMenus(fixture).isEmpty(), 10000);
}

void TestLayout::otherWidgetsGetNoMenuFromTheFilter()
{
    WindowFixture fixture;
    for (QWidget *widget : {static_cast<QWidget *>(fixture.liveTable()), fixture.find<QWidget>("lcd"),
                            static_cast<QWidget *>(&fixture.window())}) {
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5));
        fixture.window().eventFilter(widget, &event);
        QVERIFY(windowMenus(fixture).isEmpty());
    }
    // Other events on the chart pass through without a menu.
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), Qt::RightButton, Qt::RightButton, Qt::NoModifier);
    QVERIFY(!fixture.window().eventFilter(fixture.plot(), &press));
    QVERIFY(windowMenus(fixture).isEmpty());
}

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"
