// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "window/templatewindow.h"

#include "app/proglobal.h"
#include "meter/mydmm.h"
#include "models/columnset.h"
#include "models/datamodel.h"
#include "models/datamodelcap.h"
#include "models/datamodelcomp.h"
#include "models/datamodeldar.h"
#include "models/datamodelir.h"
#include "models/datamodelpi.h"
#include "models/datamodelres.h"
#include "models/datamodelstoredcap.h"
#include "models/datamodelstoredcomp.h"
#include "models/datamodelstoreddar.h"
#include "models/datamodelstoredir.h"
#include "models/datamodelstoredpi.h"
#include "models/datamodelstoredres.h"
#include "models/datamodelstoredtime.h"
#include "models/datamodelstoredvolt.h"
#include "models/datamodeltime.h"
#include "models/datamodelvolt.h"
#include "ui_templatewindow.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QIcon>
#include <QMenu>
#include <QPushButton>
#include <QSizePolicy>

#include <array>

namespace {
using ModelFactory = DataModel *(*)(const QList<Column *> &);

template <class Model>
DataModel *createModel(const QList<Column *> &columns)
{
    return new Model(columns, nullptr);
}

struct ModeModels
{
    ModelFactory live;
    ModelFactory stored;
};

// Indexed by DMMData::DataMode.
const std::array<ModeModels, DMMData::modeCount> modeModels = {{
    {&createModel<DataModelIR>, &createModel<DataModelStoredIR>},
    {&createModel<DataModelTime>, &createModel<DataModelStoredTime>},
    {&createModel<DataModelPI>, &createModel<DataModelStoredPI>},
    {&createModel<DataModelDAR>, &createModel<DataModelStoredDAR>},
    {&createModel<DataModelCOMP>, &createModel<DataModelStoredCOMP>},
    {&createModel<DataModelCAP>, &createModel<DataModelStoredCAP>},
    {&createModel<DataModelVOLT>, &createModel<DataModelStoredVOLT>},
    {&createModel<DataModelRES>, &createModel<DataModelStoredRES>},
}};

const char storedModeProperty[] = "StoredMode";
} // namespace

TemplateWindow::TemplateWindow(QWidget *parent, Qt::WindowFlags flags)
    : QWidget(parent, flags)
    , ui(new Ui::TemplateWindow)
{
    ui->setupUi(this);
    initObject();
    initWidget();
    initConnection();
    startSampleTimer();
}

TemplateWindow::~TemplateWindow()
{
    delete ui;
    // The views are still alive here; they drop a model when it is destroyed.
    qDeleteAll(m_liveModels);
    qDeleteAll(m_storedModels);
}

void TemplateWindow::initObject()
{
    m_columnSet = std::make_unique<ColumnSet>();
    for (int mode = 0; mode < DMMData::modeCount; ++mode) {
        const QList<Column *> columns = m_columnSet->columns(static_cast<DMMData::DataMode>(mode));
        m_columnLists.append(columns);
        m_liveModels.append(modeModels[mode].live(columns));
        m_storedModels.append(modeModels[mode].stored(columns));
    }
    m_dmm = new MyDMM(this);
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
}

// The spacer pushes Close to the right-hand end of the tool bar.
void TemplateWindow::initToolBar()
{
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

void TemplateWindow::on_actionHistory_triggered()
{
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
