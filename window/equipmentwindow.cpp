// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "window/equipmentwindow.h"

#include "insulation/detailstext.h"
#include "insulation/resistancetext.h"
#include "report/palette.h"
#include "ui_equipmentwindow.h"
#include "window/dlgequipment.h"
#include "window/dlgreportoptions.h"
#include "journal/sessionrecorder.h"
#include "report/reportsource.h"
#include "window/trendplot.h"

#include <QDateTime>
#include <QHash>
#include <QLocale>
#include <QMessageBox>
#include <QToolTip>

#include <qcustomplot.h>

#include <cmath>

namespace {
enum ItemColumn { ColTag, ColDescription, ColSite, ColLocation, ColKind, ColRated, ColTests };
constexpr int idRole = Qt::UserRole + 1;
} // namespace

EquipmentWindow::EquipmentWindow(SessionRecorder &recorder, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , ui(new Ui::EquipmentWindow)
    , m_catalogue(recorder.database())
    , m_reports(recorder.database(), *this)
{
    ui->setupUi(this);
    // The trend is what the window is for: it gets the larger side.
    ui->splitter->setSizes({420, 760});
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
    m_trend = item ? ReportSource(m_catalogue.journal()).trendOf(item->id) : QList<TrendAnalysis::Point>();
    ui->lblItem->setText(item ? QStringLiteral("<b>%1</b> %2").arg(item->tag.toHtmlEscaped(),
                                                                    item->description.toHtmlEscaped())
                              : tr("The register is empty: New... adds an item, and the tests whose details name "
                                   "a tag join it."));
    ui->twTests->clear();
    QHash<qint64, QString> modes;
    for (const InsulationTest &test : item ? m_catalogue.testsOf(item->id) : QList<InsulationTest>())
        modes.insert(test.id, test.modeName());
    QStringList warnings;
    for (auto it = m_trend.crbegin(); it != m_trend.crend(); ++it) {
        auto *row = new QTreeWidgetItem(ui->twTests);
        row->setText(0, QLocale().toString(QDateTime::fromMSecsSinceEpoch(it->ms), QLocale::ShortFormat));
        row->setText(1, modes.value(it->testId));
        row->setText(2, ResistanceText::megohms(it->megohms, it->overRange));
        row->setText(3, ResistanceText::ratio(it->pi));
        row->setText(4, ResistanceText::celsius(it->celsius));
        row->setText(5, it->outcomeText.isEmpty() ? Verdict::outcomeText(it->outcome) : it->outcomeText);
        row->setForeground(5, Palette::outcome(it->outcome, it->qualified));
        if (!it->warning.isEmpty()) {
            row->setForeground(2, Palette::fail);
            warnings << QStringLiteral("⚠ ") + it->warning.toHtmlEscaped();
        }
    }
    for (int column = 0; column < ui->twTests->columnCount(); ++column)
        ui->twTests->resizeColumnToContents(column);
    ui->lblWarnings->setText(warnings.join(QStringLiteral("<br>")));
    ui->lblWarnings->setStyleSheet(QStringLiteral("color:%1").arg(Palette::fail.name()));
    TrendPlot::draw(*ui->plotTrend, m_trend);
}

void EquipmentWindow::setUpPlot()
{
    TrendPlot::setUp(*ui->plotTrend);
    ui->plotTrend->setMouseTracking(true);
    connect(ui->plotTrend, &QCustomPlot::mouseMove, this, &EquipmentWindow::showTooltip);
}

QString EquipmentWindow::pointText(const TrendAnalysis::Point &point)
{
    QStringList lines{QLocale().toString(QDateTime::fromMSecsSinceEpoch(point.ms), QLocale::ShortFormat),
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
