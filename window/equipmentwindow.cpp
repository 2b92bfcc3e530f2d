// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "window/equipmentwindow.h"

#include "insulation/detailstext.h"
#include "insulation/resistancetext.h"
#include "insulation/testdate.h"
#include "meter/dmmdata.h"
#include "report/palette.h"
#include "ui_equipmentwindow.h"
#include "window/dlgequipment.h"
#include "window/dlgreportoptions.h"
#include "journal/sessionrecorder.h"
#include "report/reportsource.h"
#include "window/trendplot.h"

#include <QHeaderView>
#include <QLocale>
#include <QMessageBox>
#include <QToolTip>

#include <qcustomplot.h>

#include <algorithm>
#include <cmath>

namespace {
enum ItemColumn { ColTag, ColDescription, ColSite, ColLocation, ColKind, ColRated, ColTests };
enum TestColumn { ColTime, ColPoint, ColMode, ColMegohms, ColPi, ColCelsius, ColVerdict };
enum WarningColumn { ColNumber, ColDate, ColWarning };
constexpr int idRole = Qt::UserRole + 1;
// Rows of warnings the list shows before it scrolls.
constexpr int warningRows = 4;

// "12/09/2025 10:00"; a memory record without a date says so.
QString timeText(const TrendAnalysis::Point &point)
{
    const QLocale locale;
    return TestDate::text(point.ms, point.dateKnown, locale, locale.dateFormat(QLocale::ShortFormat),
                          locale.timeFormat(QLocale::ShortFormat));
}
} // namespace

EquipmentWindow::EquipmentWindow(SessionRecorder &recorder, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , ui(new Ui::EquipmentWindow)
    , m_catalogue(recorder.database())
    , m_reports(recorder.database(), *this)
{
    ui->setupUi(this);
    // The trend is what the window is for: it gets the larger side.
    ui->splitter->setSizes({330, 690});
    ui->splitter->setStretchFactor(1, 1);
    ui->dateTo->setDate(QDate::currentDate());
    ui->dateFrom->setDate(QDate::currentDate().addYears(-1));
    on_cbAllDates_toggled(true);
    ui->twItems->sortByColumn(ColTag, Qt::AscendingOrder);
    setUpPlot();
    connect(ui->twItems, &QTreeWidget::itemSelectionChanged, this, &EquipmentWindow::showItem);
    connect(ui->twItems, &QTreeWidget::itemDoubleClicked, this, &EquipmentWindow::on_btnEdit_clicked);
    connect(&recorder, &SessionRecorder::testKept, this, [this] { showItem(); });
    connect(&m_catalogue, &TestCatalogue::edited, this, &EquipmentWindow::edited);
    refresh();
}

EquipmentWindow::~EquipmentWindow()
{
    delete ui;
}

std::optional<EquipmentItem> EquipmentWindow::current() const
{
    const QTreeWidgetItem *row = ui->twItems->currentItem();
    if (!row)
        return std::nullopt;
    const qint64 id = row->data(0, idRole).toLongLong();
    for (const EquipmentItem &item : m_items) {
        if (item.id == id)
            return item;
    }
    return std::nullopt;
}

void EquipmentWindow::refresh()
{
    const std::optional<EquipmentItem> chosen = current();
    m_items = m_catalogue.items();
    const QSignalBlocker blocker(ui->twItems);
    ui->twItems->clear();
    QTreeWidgetItem *select = nullptr;
    for (const EquipmentItem &item : qAsConst(m_items)) {
        auto *row = new QTreeWidgetItem(ui->twItems);
        row->setText(ColTag, item.tag);
        row->setText(ColDescription, item.description);
        row->setText(ColSite, item.site);
        row->setText(ColLocation, item.location);
        row->setText(ColKind, DetailsText::kind(item.kind));
        row->setText(ColRated, std::isfinite(item.ratedKilovolts)
                                   ? QLocale().toString(item.ratedKilovolts, 'g', 4) + QStringLiteral(" kV")
                                   : QString());
        row->setText(ColTests, QString::number(m_catalogue.testsOf(item.id).size()));
        row->setData(0, idRole, item.id);
        if ((chosen && chosen->id == item.id) || !select)
            select = row;
    }
    for (int column = 0; column < ui->twItems->columnCount(); ++column)
        ui->twItems->resizeColumnToContents(column);
    if (select)
        ui->twItems->setCurrentItem(select);
    showItem();
}

void EquipmentWindow::showItem()
{
    const std::optional<EquipmentItem> item = current();
    ui->btnEdit->setEnabled(item.has_value());
    ui->btnDelete->setEnabled(item.has_value());
    ui->btnReport->setEnabled(item.has_value());
    ui->lblItem->setText(item ? QStringLiteral("<b>%1</b> %2").arg(item->tag.toHtmlEscaped(),
                                                                    item->description.toHtmlEscaped())
                              : tr("The register is empty: New... adds an item, and the tests whose details name "
                                   "a tag join it."));
    showTrend(item ? ReportSource(m_catalogue.journal()).trendOf(item->id) : QList<TrendAnalysis::Point>());
}

void EquipmentWindow::showTrend(const QList<TrendAnalysis::Point> &trend)
{
    m_trend = trend;
    showTests();
    showWarnings();
    TrendPlot::draw(*ui->plotTrend, m_trend);
}

// The latest first, as a technician looks for them.
void EquipmentWindow::showTests()
{
    ui->twTests->clear();
    for (auto it = m_trend.crbegin(); it != m_trend.crend(); ++it) {
        auto *row = new QTreeWidgetItem(ui->twTests);
        row->setText(ColTime, timeText(*it));
        row->setText(ColPoint, it->testPoint);
        row->setText(ColMode, DMMData::modeName(it->mode));
        row->setText(ColMegohms, ResistanceText::megohms(it->megohms, it->overRange));
        row->setText(ColPi, ResistanceText::ratio(it->pi));
        row->setText(ColCelsius, ResistanceText::celsius(it->celsius));
        row->setText(ColVerdict, it->outcomeText.isEmpty() ? Verdict::outcomeText(it->outcome) : it->outcomeText);
        row->setForeground(ColVerdict, Palette::outcome(it->outcome, it->qualified));
        if (!it->warning.isEmpty()) {
            row->setForeground(ColMegohms, Palette::fail);
            row->setToolTip(ColMegohms, it->warning);
        }
    }
    for (int column = 0; column < ui->twTests->columnCount(); ++column)
        ui->twTests->resizeColumnToContents(column);
}

// One line a warning, numbered as the chart numbers its points, the whole
// text in its tooltip: many warnings must not push the chart away.
void EquipmentWindow::showWarnings()
{
    ui->twWarnings->clear();
    int number = 0;
    for (const TrendAnalysis::Point &point : qAsConst(m_trend)) {
        if (point.warning.isEmpty())
            continue;
        auto *row = new QTreeWidgetItem(ui->twWarnings);
        row->setText(ColNumber, QString::number(++number));
        row->setText(ColDate, TestDate::dateText(point.ms, point.dateKnown, QLocale(),
                                                 QLocale().dateFormat(QLocale::ShortFormat)));
        row->setText(ColWarning, point.warning);
        row->setToolTip(ColWarning, point.warning);
        for (int column = 0; column < ui->twWarnings->columnCount(); ++column)
            row->setForeground(column, Palette::fail);
    }
    ui->twWarnings->resizeColumnToContents(ColNumber);
    ui->twWarnings->resizeColumnToContents(ColDate);
    const int rowHeight = ui->twWarnings->sizeHintForRow(0) > 0 ? ui->twWarnings->sizeHintForRow(0)
                                                                : fontMetrics().height() + 4;
    const int rows = std::min(number, warningRows);
    ui->twWarnings->setFixedHeight(ui->twWarnings->header()->sizeHint().height() + rows * rowHeight
                                   + 2 * ui->twWarnings->frameWidth());
    ui->twWarnings->setVisible(number > 0);
}

void EquipmentWindow::setUpPlot()
{
    TrendPlot::setUp(*ui->plotTrend);
    ui->plotTrend->setMouseTracking(true);
    connect(ui->plotTrend, &QCustomPlot::mouseMove, this, &EquipmentWindow::showTooltip);
}

QString EquipmentWindow::pointText(const TrendAnalysis::Point &point)
{
    QStringList lines{point.testPoint.isEmpty() ? timeText(point) : tr("%1, %2").arg(timeText(point), point.testPoint),
                      tr("IR1min %1").arg(ResistanceText::megohms(point.megohms, point.overRange)),
                      tr("PI %1").arg(ResistanceText::ratio(point.pi)),
                      tr("temperature %1").arg(ResistanceText::celsius(point.celsius)),
                      point.outcomeText.isEmpty() ? Verdict::outcomeText(point.outcome) : point.outcomeText};
    if (!point.warning.isEmpty())
        lines << point.warning;
    return lines.join(QLatin1Char('\n'));
}

// The point nearest the pointer, within a few pixels, tells its test.
void EquipmentWindow::showTooltip(QMouseEvent *event)
{
    QCustomPlot *plot = ui->plotTrend;
    const TrendAnalysis::Point *nearest = nullptr;
    double best = 10.0;
    for (const TrendAnalysis::Point &point : qAsConst(m_trend)) {
        if (!std::isfinite(point.megohms) || point.megohms <= 0.0)
            continue;
        const double dx = plot->xAxis->coordToPixel(TrendPlot::key(point)) - event->pos().x();
        const double dy = plot->yAxis->coordToPixel(point.megohms) - event->pos().y();
        const double distance = std::hypot(dx, dy);
        if (distance < best) {
            best = distance;
            nearest = &point;
        }
    }
    if (nearest)
        QToolTip::showText(event->globalPos(), pointText(*nearest), plot);
    else
        QToolTip::hideText();
}

bool EquipmentWindow::edit(EquipmentItem item)
{
    DlgEquipment dialog(
        item,
        [this](EquipmentItem &edited, QString &reason) {
            if (m_catalogue.saveItem(edited))
                return true;
            reason = m_catalogue.errorString();
            return false;
        },
        this);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    refresh();
    return true;
}

void EquipmentWindow::on_btnNew_clicked()
{
    edit(EquipmentItem());
}

void EquipmentWindow::on_btnEdit_clicked()
{
    if (const std::optional<EquipmentItem> item = current())
        edit(*item);
}

void EquipmentWindow::on_btnDelete_clicked()
{
    const std::optional<EquipmentItem> item = current();
    if (!item)
        return;
    if (QMessageBox::question(this, QString(),
                              tr("Delete %1 from the register?\nIts tests are kept, and name it still.").arg(item->tag),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        != QMessageBox::Yes)
        return;
    if (!m_catalogue.removeItem(item->id))
        QMessageBox::warning(this, QString(), m_catalogue.errorString(), QMessageBox::Ok);
    refresh();
}

void EquipmentWindow::on_btnExport_clicked()
{
    m_reports.exportRegister();
}

void EquipmentWindow::on_btnReportOptions_clicked()
{
    DlgReportOptions dialog(this);
    dialog.exec();
}

void EquipmentWindow::on_btnReport_clicked()
{
    const std::optional<EquipmentItem> item = current();
    if (!item)
        return;
    const bool allDates = ui->cbAllDates->isChecked();
    m_reports.reportItem(item->tag, allDates ? QDate() : ui->dateFrom->date(), allDates ? QDate() : ui->dateTo->date());
}

void EquipmentWindow::on_cbAllDates_toggled(bool checked)
{
    ui->dateFrom->setEnabled(!checked);
    ui->dateTo->setEnabled(!checked);
}
