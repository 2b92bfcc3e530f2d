// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "window/equipmentwindow.h"
#include "window/verdictcolour.h"

#include "insulation/detailstext.h"
#include "insulation/resistancetext.h"
#include "insulation/verdictrules.h"
#include "ui_equipmentwindow.h"
#include "window/dlgequipment.h"
#include "window/dlgreportoptions.h"
#include "report/megohmticker.h"
#include "journal/sessionrecorder.h"
#include "report/reportsource.h"

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


double key(qint64 ms)
{
    return ms / 1000.0;
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
        row->setForeground(5, VerdictColour::of(it->outcome, it->qualified));
        if (!it->warning.isEmpty()) {
            row->setForeground(2, QColor(QStringLiteral("#c62828")));
            warnings << QStringLiteral("⚠ ") + it->warning.toHtmlEscaped();
        }
    }
    for (int column = 0; column < ui->twTests->columnCount(); ++column)
        ui->twTests->resizeColumnToContents(column);
    ui->lblWarnings->setText(warnings.join(QStringLiteral("<br>")));
    ui->lblWarnings->setStyleSheet(QStringLiteral("color:#c62828"));
    drawTrend();
}

void EquipmentWindow::setUpPlot()
{
    QCustomPlot *plot = ui->plotTrend;
    QSharedPointer<QCPAxisTickerDateTime> dates(new QCPAxisTickerDateTime);
    dates->setTickCount(4);
    plot->xAxis->setTicker(dates);
    plot->yAxis->setScaleType(QCPAxis::stLogarithmic);
    plot->yAxis->setTicker(QSharedPointer<QCPAxisTicker>(new MegohmTicker));
    plot->yAxis->setLabel(tr("IR1min, corrected"));
    plot->yAxis2->setVisible(true);
    plot->yAxis2->setLabel(tr("PI"));
    // The legend goes in a row under the chart, where it hides no point.
    plot->legend->setVisible(true);
    plot->axisRect()->insetLayout()->take(plot->legend);
    plot->plotLayout()->addElement(1, 0, plot->legend);
    plot->plotLayout()->setRowStretchFactor(1, 0.001);
    plot->legend->setFillOrder(QCPLayoutGrid::foColumnsFirst);
    plot->legend->setWrap(3);
    plot->legend->setBorderPen(Qt::NoPen);
    plot->legend->setMargins(QMargins(4, 0, 4, 2));
    plot->setMouseTracking(true);
    connect(plot, &QCustomPlot::mouseMove, this, &EquipmentWindow::showTooltip);
}

// One line through the tests, their points coloured by verdict; the minimum
// lines of the latest verdict; the early warnings circled.
void EquipmentWindow::drawTrend()
{
    QCustomPlot *plot = ui->plotTrend;
    plot->clearGraphs();
    plot->clearItems();
    QCPGraph *resistance = plot->addGraph(plot->xAxis, plot->yAxis);
    resistance->setName(tr("IR1min, corrected"));
    resistance->setPen(QPen(QColor(QStringLiteral("#1f4e79")), 2));
    QCPGraph *pi = plot->addGraph(plot->xAxis, plot->yAxis2);
    pi->setName(tr("PI"));
    pi->setPen(QPen(QColor(QStringLiteral("#c77800")), 1, Qt::DashLine));
    pi->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDiamond, 6));
    for (const TrendAnalysis::Point &point : qAsConst(m_trend)) {
        if (std::isfinite(point.megohms) && point.megohms > 0.0)
            resistance->addData(key(point.ms), point.megohms);
        if (std::isfinite(point.pi))
            pi->addData(key(point.ms), point.pi);
    }
    const std::pair<Verdict::Outcome, bool> kinds[] = {{Verdict::Outcome::Pass, false},
                                                       {Verdict::Outcome::Pass, true},
                                                       {Verdict::Outcome::Fail, false},
                                                       {Verdict::Outcome::NotAssessed, false}};
    for (const auto &[outcome, qualified] : kinds) {
        QCPGraph *points = plot->addGraph(plot->xAxis, plot->yAxis);
        points->setLineStyle(QCPGraph::lsNone);
        points->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDisc, VerdictColour::of(outcome, qualified), 8));
        points->setName(qualified ? Verdict::qualifiedPassText() : Verdict::outcomeText(outcome));
        for (const TrendAnalysis::Point &point : qAsConst(m_trend)) {
            if (point.outcome == outcome && point.qualified == qualified && std::isfinite(point.megohms)
                && point.megohms > 0.0)
                points->addData(key(point.ms), point.megohms);
        }
        if (points->dataCount() == 0)
            points->removeFromLegend();
    }
    QCPGraph *warned = plot->addGraph(plot->xAxis, plot->yAxis);
    warned->setLineStyle(QCPGraph::lsNone);
    warned->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssCircle, QPen(QColor(QStringLiteral("#c62828")), 2),
                                            Qt::NoBrush, 16));
    warned->setName(tr("fell by more than half"));
    for (const TrendAnalysis::Point &point : qAsConst(m_trend)) {
        if (!point.warning.isEmpty())
            warned->addData(key(point.ms), point.megohms);
    }
    if (warned->dataCount() == 0)
        warned->removeFromLegend();

    bool found = false;
    QCPRange keys = resistance->data()->keyRange(found);
    if (!found)
        keys = QCPRange(key(QDateTime::currentMSecsSinceEpoch()) - 365 * 86400.0, key(QDateTime::currentMSecsSinceEpoch()));
    const double margin = std::max(keys.size() * 0.08, 15 * 86400.0);
    plot->xAxis->setRange(keys.lower - margin, keys.upper + margin);
    showDatesFor(plot->xAxis->range());
    QCPRange values = resistance->data()->valueRange(found, QCP::sdBoth);
    if (!found)
        values = QCPRange(10.0, 10000.0);
    // The minimum lines of the latest test's criteria.
    const std::optional<EquipmentItem> item = current();
    double minimumMegohms = std::numeric_limits<double>::quiet_NaN();
    double minimumPi = std::numeric_limits<double>::quiet_NaN();
    if (item) {
        for (const InsulationTest &test : m_catalogue.testsOf(item->id)) {
            const std::optional<InsulationTest> loaded = m_catalogue.loadTest(test.id);
            if (!loaded || loaded->isMeasurement())
                continue;
            const CurveAnalysis::Values derived = CurveAnalysis::analyse(*loaded);
            const Verdict verdict = VerdictRules::judge(*loaded, derived, m_catalogue.details(test.id));
            minimumMegohms = verdict.shownMinimumMegohms;
            minimumPi = verdict.minimumPi;
        }
    }
    if (std::isfinite(minimumMegohms)) {
        auto *line = new QCPItemStraightLine(plot);
        line->point1->setCoords(0, minimumMegohms);
        line->point2->setCoords(1, minimumMegohms);
        line->setPen(QPen(QColor(QStringLiteral("#1f4e79")), 1, Qt::DashDotLine));
        values.lower = std::min(values.lower, minimumMegohms);
        auto *label = new QCPItemText(plot);
        label->position->setTypeX(QCPItemPosition::ptAxisRectRatio);
        label->position->setCoords(0.01, minimumMegohms);
        label->setPositionAlignment(Qt::AlignLeft | Qt::AlignBottom);
        label->setText(tr("minimum %1").arg(ResistanceText::megohms(minimumMegohms)));
        label->setColor(QColor(QStringLiteral("#1f4e79")));
    }
    plot->yAxis->setRange(values.lower / 2.0, values.upper * 2.0);
    QCPRange ratios = pi->data()->valueRange(found);
    if (!found)
        ratios = QCPRange(1.0, 4.0);
    if (std::isfinite(minimumPi)) {
        auto *line = new QCPItemStraightLine(plot);
        line->point1->setAxes(plot->xAxis, plot->yAxis2);
        line->point2->setAxes(plot->xAxis, plot->yAxis2);
        line->point1->setCoords(0, minimumPi);
        line->point2->setCoords(1, minimumPi);
        line->setPen(QPen(QColor(QStringLiteral("#c77800")), 1, Qt::DashDotLine));
        ratios.lower = std::min(ratios.lower, minimumPi);
        ratios.upper = std::max(ratios.upper, minimumPi);
    }
    plot->yAxis2->setRange(std::max(0.0, ratios.lower - 0.5), ratios.upper + 0.5);
    plot->replot();
}

// Years across the years, months across months: a full date on every tick
// would run the labels into each other.
void EquipmentWindow::showDatesFor(const QCPRange &range)
{
    constexpr double day = 86400.0;
    const QString format = range.size() > 3 * 365 * day ? QStringLiteral("yyyy")
        : range.size() > 120 * day                     ? QStringLiteral("MMM yyyy")
                                                       : QStringLiteral("d MMM yyyy");
    auto dates = qSharedPointerCast<QCPAxisTickerDateTime>(ui->plotTrend->xAxis->ticker());
    if (dates)
        dates->setDateTimeFormat(format);
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
        const double dx = plot->xAxis->coordToPixel(key(point.ms)) - event->pos().x();
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
