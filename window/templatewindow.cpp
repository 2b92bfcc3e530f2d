// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "window/templatewindow.h"

#include "app/proglobal.h"
#include "insulation/runningprediction.h"
#include "journal/sessionrecorder.h"
#include "meter/mydmm.h"
#include "models/columnset.h"
#include "models/datamodel.h"
#include "models/modelfactory.h"
#include "ui_templatewindow.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSizePolicy>

#include <array>

TemplateWindow::TemplateWindow(QWidget *parent, Qt::WindowFlags flags)
    : QWidget(parent, flags)
    , ui(new Ui::TemplateWindow)
{
    ui->setupUi(this);
    initObject();
    initWidget();
    initConnection();
    loadSetting();
    startSampleTimer();
    initJournal();
    initTestsAction();
}

// The insulation tests the meter ran, and the register of what they were
// run on, each in a window of its own.
void TemplateWindow::initTestsAction()
{
    auto *tests = new QAction(QIcon(QStringLiteral(":/images/tests.png")), tr("Tests"), this);
    tests->setObjectName(QStringLiteral("actionTests"));
    ui->toolBarMain->insertAction(ui->toolBarMain->actions().at(ui->toolBarMain->actions().indexOf(ui->actionHistory) + 1),
                                  tests);
    connect(tests, &QAction::triggered, this, &TemplateWindow::showTests);
    auto *equipment = new QAction(QIcon(QStringLiteral(":/images/equipment.png")), tr("Equipment"), this);
    equipment->setObjectName(QStringLiteral("actionEquipment"));
    ui->toolBarMain->insertAction(ui->toolBarMain->actions().at(ui->toolBarMain->actions().indexOf(tests) + 1),
                                  equipment);
    connect(equipment, &QAction::triggered, this, &TemplateWindow::showEquipment);
}

// The meter connection and the journal outlive the form (they are children,
// destroyed later) and announce the close and the test it ends as they go;
// the form must not hear of it.
TemplateWindow::~TemplateWindow()
{
    disconnect(m_dmm, nullptr, this, nullptr);
    if (m_journal)
        disconnect(m_journal, nullptr, this, nullptr);
    delete ui;
}

void TemplateWindow::initObject()
{
    m_columnSet = std::make_unique<ColumnSet>();
    for (int mode = 0; mode < DMMData::modeCount; ++mode) {
        const QList<Column *> columns = m_columnSet->columns(mode);
        m_columnLists.append(columns);
        m_liveModels.append(keepModel(ModelFactory::createLiveModel(mode, columns)));
        m_storedModels.append(keepModel(ModelFactory::createStoredModel(mode, columns)));
    }
    m_dmm = new MyDMM(this);
}

DataModel *TemplateWindow::keepModel(std::unique_ptr<DataModel> model)
{
    m_ownedModels.push_back(std::move(model));
    return m_ownedModels.back().get();
}

void TemplateWindow::initWidget()
{
    setWindowTitle(QStringLiteral("%1 %2").arg(ProGlobal::instance()->appTitle(),
                                               ProGlobal::instance()->appVersion()));
    setWindowIcon(QIcon(QStringLiteral(":images/app.ico")));
    initToolBar();
    ui->toolBar->hide();
    ui->actionPause->setCheckable(true);
    ui->actionStart->setCheckable(false);
    ui->splitterMain->setSizes({100, 200});
    ui->tabWidgetChart->tabBar()->hide();
    ui->tabWidget->setTabPosition(QTabWidget::North);
    ui->tabWidget->tabBar()->hide();
    ui->tabWidget->setTabText(0, QString());
    ui->pnlControl->hide();
    initPlot();
    initTables();
    changeLiveDataMode(DMMData::dmIR, false);
    changeStoredDataMode(DMMData::dmIR, false);
    m_plots.append(ui->plot1);
    initStoredModeButtons();
    initLiveModeButtons();
}

// The spacer pushes Close to the right-hand end of the tool bar.
void TemplateWindow::initToolBar()
{
    // The sessions kept in the journal, beside the tables they fill.
    ui->toolBarMain->addAction(ui->actionHistory);
    auto *spacer = new QWidget(ui->toolBarMain);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    ui->toolBarMain->addWidget(spacer);
    ui->toolBarMain->addAction(ui->actionClose);
}

void TemplateWindow::initTables()
{
    QHeaderView *header = ui->tv1->horizontalHeader();
    header->setDefaultAlignment(Qt::AlignCenter);
    header->setSectionsClickable(false);
    ui->tv1->setSelectionBehavior(QAbstractItemView::SelectRows);
}

void TemplateWindow::initStoredModeButtons()
{
    const std::array<QPushButton *, DMMData::modeCount> buttons = {
        ui->btnStoredIR, ui->btnStoredTime, ui->btnStoredPI, ui->btnStoredDAR,
        ui->btnStoredCOMP, ui->btnStoredCAP, ui->btnStoredVOLT, ui->btnStoredRES};
    for (int mode = 0; mode < DMMData::modeCount; ++mode)
        buttons[mode]->setProperty(storedModeProperty, mode);
}

// The live table follows the meter's mode; these reach the rows of the
// other modes too, among them those a restore brought back.
void TemplateWindow::initLiveModeButtons()
{
    auto *grid = qobject_cast<QGridLayout *>(ui->tabLive->layout());
    if (!grid)
        return;
    const std::array<QPushButton *, DMMData::modeCount> stored = {
        ui->btnStoredIR, ui->btnStoredTime, ui->btnStoredPI, ui->btnStoredDAR,
        ui->btnStoredCOMP, ui->btnStoredCAP, ui->btnStoredVOLT, ui->btnStoredRES};
    auto *frame = new QFrame(ui->tabLive);
    frame->setObjectName(QStringLiteral("frameLiveModes"));
    frame->setFrameShape(ui->frame->frameShape());
    frame->setFrameShadow(ui->frame->frameShadow());
    auto *row = new QHBoxLayout(frame);
    row->setContentsMargins(1, 1, 1, 1);
    row->setSpacing(ui->frame->layout() ? ui->frame->layout()->spacing() : 6);
    for (int mode = 0; mode < DMMData::modeCount; ++mode) {
        auto *button = new QPushButton(stored[mode]->text(), frame);
        button->setObjectName(QStringLiteral("btnLive") + DMMData::modeName(mode));
        button->setMinimumSize(stored[mode]->minimumSize());
        button->setCheckable(true);
        button->setAutoExclusive(true);
        connect(button, &QPushButton::clicked, this, [this, mode] {
            changeLiveDataMode(static_cast<DMMData::DataMode>(mode), false);
            m_chartShowsLive = true;
        });
        row->addWidget(button);
        m_liveModeButtons.append(button);
    }
    grid->removeWidget(ui->tv1);
    grid->addWidget(frame, 0, 0);
    grid->addWidget(ui->tv1, 1, 0);
    checkLiveModeButton(m_liveMode);
}

void TemplateWindow::checkLiveModeButton(DMMData::DataMode mode)
{
    if (QPushButton *button = m_liveModeButtons.value(mode)) {
        const QSignalBlocker blocker(button);
        button->setChecked(true);
    }
}

void TemplateWindow::initConnection()
{
    connect(m_dmm, &MyDMM::updateLiveData, this, &TemplateWindow::updateLiveData);
    connect(m_dmm, &MyDMM::communicationTimeout, this, &TemplateWindow::communicationTimeout);
    connect(m_dmm, &MyDMM::opened, this, &TemplateWindow::dmmOpened);
    connect(m_dmm, &MyDMM::closed, this, &TemplateWindow::dmmClosed);
    connect(m_dmm, &MyDMM::updateStoreData, this, &TemplateWindow::updateStoreData);
    for (QPushButton *button : ui->frame->findChildren<QPushButton *>())
        connect(button, &QPushButton::clicked, this, &TemplateWindow::btnStoredModeClicked);
}

bool TemplateWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ContextMenu && watched->objectName() == QLatin1String("plot1")) {
        auto *menu = new QMenu(this);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->addAction(ui->actionSaveImage);
        menu->exec(static_cast<QContextMenuEvent *>(event)->globalPos());
    }
    return QWidget::eventFilter(watched, event);
}

void TemplateWindow::on_actionSave_triggered()
{
}

// actionHelp sits in no tool bar or menu.
void TemplateWindow::on_actionHelp_triggered()
{
}

// spConfig stays hidden.
void TemplateWindow::on_spConfig_editingFinished()
{
}
