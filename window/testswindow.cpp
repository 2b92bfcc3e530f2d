// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "window/testswindow.h"

#include "insulation/resistancetext.h"
#include "insulation/temperaturecorrection.h"
#include "insulation/verdictrules.h"
#include "ui_testswindow.h"
#include "window/windowjournal.h"

#include <QDateTime>
#include <QLocale>

#include <qcustomplot.h>

#include <cmath>

namespace {
enum Column { ColTime, ColMode, ColVoltage, ColFinal, ColPi, ColDar, ColVerdict, ColEquipment };
constexpr int idRole = Qt::UserRole + 1;
constexpr qint64 runningId = -1;

// A spin box at its minimum shows "not given".
double spinValue(const QDoubleSpinBox *spin)
{
    return spin->value() <= spin->minimum() ? std::numeric_limits<double>::quiet_NaN() : spin->value();
}

void setSpin(QDoubleSpinBox *spin, double value)
{
    spin->setValue(std::isfinite(value) ? value : spin->minimum());
}

QColor verdictColour(Verdict::Outcome outcome)
{
    switch (outcome) {
    case Verdict::Outcome::Pass:
        return QColor(QStringLiteral("#2e7d32"));
    case Verdict::Outcome::Fail:
        return QColor(QStringLiteral("#c62828"));
    case Verdict::Outcome::NotAssessed:
        break;
    }
    return QColor(QStringLiteral("#5a5a5a"));
}

// The test's PI and DAR: from its curve where it reaches the marks,
// otherwise the meter's own.
double shownPi(const TestsWindow::Shown &shown)
{
    return std::isfinite(shown.values.pi) ? shown.values.pi : CurveAnalysis::meterPi(shown.test);
}

double shownDar(const TestsWindow::Shown &shown)
{
    return std::isfinite(shown.values.dar) ? shown.values.dar : CurveAnalysis::meterDar(shown.test);
}

// Round steps labelled in the unit that suits them ("800 MΩ", "1.20 GΩ"). A
// test's resistance seldom spans more than a decade, where even steps read
// better than powers of ten.
class ResistanceTicker : public QCPAxisTicker
{
protected:
    QString getTickLabel(double tick, const QLocale &, QChar, int) override
    {
        return ResistanceText::megohms(tick);
    }

    // Over more than a decade, steps of 1, 2 and 5 in every decade.
    QVector<double> createTickVector(double tickStep, const QCPRange &range) override
    {
        if (range.lower <= 0.0 || range.upper / range.lower <= 10.0)
            return QCPAxisTicker::createTickVector(tickStep, range);
        QVector<double> ticks;
        for (double decade = std::pow(10.0, std::floor(std::log10(range.lower))); decade <= range.upper;
             decade *= 10.0) {
            for (const double step : {1.0, 2.0, 5.0}) {
                if (range.contains(decade * step))
                    ticks << decade * step;
            }
        }
        return ticks;
    }
};
} // namespace

TestsWindow::TestsWindow(WindowJournal &journal, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , ui(new Ui::TestsWindow)
    , m_journal(journal)
{
    ui->setupUi(this);
    ui->splitter->setSizes({520, 660});
    setUpPlot();
    setUpDetailsForm();
    connect(ui->twTests, &QTreeWidget::itemSelectionChanged, this, &TestsWindow::showSelected);
    connect(&m_journal, &WindowJournal::testRunning, this, &TestsWindow::onRunning);
    connect(&m_journal, &WindowJournal::testKept, this, &TestsWindow::onKept);
    m_running = m_journal.runningTest();
    refresh();
}

TestsWindow::~TestsWindow()
{
    delete ui;
}

TestsWindow::Shown TestsWindow::judged(const InsulationTest &test, const TestDetails &details)
{
    Shown shown;
    shown.test = test;
    shown.details = details;
    shown.values = CurveAnalysis::analyse(test);
    shown.verdict = VerdictRules::judge(test, shown.values, details);
    return shown;
}

QStringList TestsWindow::rowTexts(const Shown &shown)
{
    const InsulationTest &test = shown.test;
    const QString time = QLocale::system().toString(QDateTime::fromMSecsSinceEpoch(test.startedMs), QLocale::ShortFormat);
    QString mode = test.modeName();
    if (test.origin == InsulationTest::Origin::Memory)
        mode += tr(" (memory)");
    const QString verdict = test.status == InsulationTest::Status::Running ? tr("running")
                            : test.status == InsulationTest::Status::Interrupted
        ? tr("%1, interrupted").arg(shown.verdict.outcomeText())
        : shown.verdict.outcomeText();
    const QString final = test.isMeasurement() ? test.measurementText
                                               : ResistanceText::megohms(test.finalMegohms, test.finalOverRange);
    return {time,
            mode,
            test.setVolts > 0 ? QStringLiteral("%1 V").arg(test.setVolts) : QString(),
            final,
            ResistanceText::ratio(shownPi(shown)),
            ResistanceText::ratio(shownDar(shown)),
            verdict,
            shown.details.equipment};
}

void TestsWindow::refresh()
{
    m_kept = m_journal.tests();
    const qint64 selected = ui->twTests->currentItem() ? ui->twTests->currentItem()->data(0, idRole).toLongLong()
                                                       : runningId;
    const QSignalBlocker blocker(ui->twTests);
    ui->twTests->clear();
    if (m_running)
        fillRow(new QTreeWidgetItem(ui->twTests), judged(*m_running, m_journal.nextDetails()));
    for (const InsulationTest &kept : qAsConst(m_kept)) {
        if (!m_judged.contains(kept.id)) {
            const std::optional<InsulationTest> loaded = m_journal.loadTest(kept.id);
            m_judged.insert(kept.id, judged(loaded.value_or(kept), m_journal.details(kept.id)));
        }
        fillRow(new QTreeWidgetItem(ui->twTests), m_judged.value(kept.id));
    }
    for (int column = 0; column < ui->twTests->columnCount(); ++column)
        ui->twTests->resizeColumnToContents(column);
    QTreeWidgetItem *select = nullptr;
    for (int i = 0; i < ui->twTests->topLevelItemCount() && !select; ++i) {
        if (ui->twTests->topLevelItem(i)->data(0, idRole).toLongLong() == selected)
            select = ui->twTests->topLevelItem(i);
    }
    if (!select)
        select = ui->twTests->topLevelItem(0);
    if (select)
        ui->twTests->setCurrentItem(select);
    showSelected();
}

void TestsWindow::fillRow(QTreeWidgetItem *item, const Shown &shown) const
{
    const QStringList texts = rowTexts(shown);
    for (int column = 0; column < texts.size(); ++column)
        item->setText(column, texts.at(column));
    item->setData(0, idRole, shown.test.status == InsulationTest::Status::Running ? runningId : shown.test.id);
    item->setForeground(ColVerdict, verdictColour(shown.verdict.outcome));
    for (const int column : {ColVoltage, ColFinal, ColPi, ColDar})
        item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
}

QTreeWidgetItem *TestsWindow::runningItem() const
{
    QTreeWidgetItem *first = ui->twTests->topLevelItem(0);
    return first && first->data(0, idRole).toLongLong() == runningId ? first : nullptr;
}

// The running test is the list's first row, made once and then updated.
void TestsWindow::onRunning(const InsulationTest &test)
{
    m_running = test;
    const Shown shown = judged(test, m_journal.nextDetails());
    QTreeWidgetItem *item = runningItem();
    if (!item) {
        item = new QTreeWidgetItem;
        ui->twTests->insertTopLevelItem(0, item);
    }
    fillRow(item, shown);
    // The form is left alone: the technician may be typing the details in.
    if (ui->twTests->currentItem() == item)
        showTest(shown, false);
    else if (!ui->twTests->currentItem())
        ui->twTests->setCurrentItem(item);
}

void TestsWindow::onKept(const InsulationTest &test)
{
    m_running.reset();
    m_judged.insert(test.id, judged(test, m_journal.details(test.id)));
    const bool followRunning = runningItem() && ui->twTests->currentItem() == runningItem();
    delete runningItem();
    if (followRunning) {
        const QSignalBlocker blocker(ui->twTests);
        ui->twTests->setCurrentItem(nullptr);
    }
    refresh();
    if (followRunning) {
        for (int i = 0; i < ui->twTests->topLevelItemCount(); ++i) {
            if (ui->twTests->topLevelItem(i)->data(0, idRole).toLongLong() == test.id)
                ui->twTests->setCurrentItem(ui->twTests->topLevelItem(i));
        }
    }
}

void TestsWindow::showSelected()
{
    const QTreeWidgetItem *item = ui->twTests->currentItem();
    if (!item) {
        m_current.reset();
        return;
    }
    const qint64 id = item->data(0, idRole).toLongLong();
    if (id == runningId && m_running)
        showTest(judged(*m_running, m_journal.nextDetails()), true);
    else if (m_judged.contains(id))
        showTest(m_judged.value(id), true);
}

void TestsWindow::showTest(const Shown &shown, bool withDetails)
{
    m_current = shown;
    drawCurve(shown);
    showVerdict(shown);
    if (withDetails)
        showDetails(shown.details);
}

void TestsWindow::setUpPlot()
{
    QCustomPlot *plot = ui->plotCurve;
    plot->addGraph(plot->xAxis, plot->yAxis);
    plot->addGraph(plot->xAxis, plot->yAxis2);
    plot->graph(0)->setName(tr("Resistance"));
    plot->graph(0)->setPen(QPen(QColor(QStringLiteral("#1f4e79")), 2));
    plot->graph(0)->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssCircle, 5));
    plot->graph(1)->setName(tr("Leakage current"));
    plot->graph(1)->setPen(QPen(QColor(QStringLiteral("#c77800")), 1, Qt::DashLine));
    plot->yAxis->setScaleType(QCPAxis::stLogarithmic);
    plot->yAxis->setTicker(QSharedPointer<QCPAxisTicker>(new ResistanceTicker));
    plot->yAxis->setLabel(tr("Resistance"));
    plot->xAxis->setLabel(tr("Test time (s)"));
    plot->yAxis2->setLabel(tr("Leakage current (µA)"));
    plot->legend->setVisible(false);
    plot->xAxis->setRange(0.0, 60.0);
    plot->yAxis->setRange(1.0, 1000.0);
}

void TestsWindow::markSeconds(double seconds, const QString &label, int row)
{
    QCustomPlot *plot = ui->plotCurve;
    auto *line = new QCPItemStraightLine(plot);
    line->point1->setCoords(seconds, 1.0);
    line->point2->setCoords(seconds, 10.0);
    line->setPen(QPen(QColor(QStringLiteral("#9e9e9e")), 1, Qt::DotLine));
    auto *text = new QCPItemText(plot);
    text->position->setTypeY(QCPItemPosition::ptAxisRectRatio);
    // The early marks stand close together on a ten-minute test: their
    // labels go one below the other.
    text->position->setCoords(seconds, 0.02 + 0.06 * row);
    text->setPositionAlignment(Qt::AlignTop | Qt::AlignHCenter);
    text->setText(label);
    text->setColor(QColor(QStringLiteral("#616161")));
}

// Resistance on a logarithmic axis against the meter's test time, with the
// marks at 15 s, 30 s, 1 min and 10 min and the values read at them.
void TestsWindow::drawCurve(const Shown &shown)
{
    QCustomPlot *plot = ui->plotCurve;
    plot->clearItems();
    QVector<double> seconds;
    QVector<double> megohms;
    QVector<double> leakage;
    for (const CurvePoint &point : shown.test.curve) {
        seconds << point.seconds;
        megohms << (std::isfinite(point.megohms) && point.megohms > 0.0 ? point.megohms
                                                                         : std::numeric_limits<double>::quiet_NaN());
        leakage << point.leakageMicroamps;
    }
    plot->graph(0)->setData(seconds, megohms, true);
    plot->graph(1)->setData(seconds, leakage, true);
    plot->graph(1)->setVisible(ui->cbLeakage->isChecked());
    plot->yAxis2->setVisible(ui->cbLeakage->isChecked());

    const double last = seconds.isEmpty() ? 0.0 : seconds.last();
    const struct Mark
    {
        double seconds;
        const char *label;
        double value;
    } marks[] = {{15, "15 s", shown.values.r15}, {30, "30 s", shown.values.r30}, {60, "1 min", shown.values.r60},
                 {600, "10 min", shown.values.r600}};
    int row = 0;
    for (const Mark &mark : marks) {
        if (mark.seconds > last)
            continue;
        markSeconds(mark.seconds, QString::fromLatin1(mark.label), mark.seconds >= 600 ? 0 : row++);
        if (std::isfinite(mark.value)) {
            auto *value = new QCPItemText(plot);
            value->position->setCoords(mark.seconds, mark.value);
            value->setPositionAlignment(Qt::AlignBottom | Qt::AlignLeft);
            value->setPadding(QMargins(4, 0, 0, 4));
            value->setText(ResistanceText::megohms(mark.value));
        }
    }
    bool found = false;
    const QCPRange keys = plot->graph(0)->data()->keyRange(found);
    plot->xAxis->setRange(found ? QCPRange(0.0, std::max(keys.upper * 1.08, 10.0)) : QCPRange(0.0, 60.0));
    const QCPRange values = plot->graph(0)->data()->valueRange(found, QCP::sdBoth);
    plot->yAxis->setRange(found ? QCPRange(values.lower / 1.25, values.upper * 1.25) : QCPRange(1.0, 1000.0));
    if (ui->cbLeakage->isChecked())
        plot->graph(1)->rescaleValueAxis();
    plot->replot();
}

void TestsWindow::on_cbLeakage_toggled(bool checked)
{
    Q_UNUSED(checked)
    if (m_current)
        drawCurve(*m_current);
}

void TestsWindow::showVerdict(const Shown &shown)
{
    const CurveAnalysis::Values &v = shown.values;
    QStringList values;
    for (const auto &[label, value] : {std::pair<QString, double>{QStringLiteral("R15"), v.r15},
                                       {QStringLiteral("R30"), v.r30},
                                       {QStringLiteral("R60"), v.r60},
                                       {QStringLiteral("R600"), v.r600}}) {
        if (std::isfinite(value))
            values << QStringLiteral("%1 %2").arg(label, ResistanceText::megohms(value));
    }
    if (std::isfinite(v.dar))
        values << tr("DAR (R60/R30) %1").arg(ResistanceText::ratio(v.dar));
    if (std::isfinite(v.dar15))
        values << tr("DAR (R60/R15) %1").arg(ResistanceText::ratio(v.dar15));
    if (std::isfinite(v.pi))
        values << tr("PI (R600/R60) %1").arg(ResistanceText::ratio(v.pi));
    if (std::isfinite(v.ratioAtSetTimes))
        values << tr("ratio at the meter's set times %1").arg(ResistanceText::ratio(v.ratioAtSetTimes));
    const double meterDar = CurveAnalysis::meterDar(shown.test);
    const double meterPi = CurveAnalysis::meterPi(shown.test);
    if (std::isfinite(meterDar))
        values << tr("meter's DAR %1").arg(ResistanceText::ratio(meterDar));
    if (std::isfinite(meterPi))
        values << tr("meter's PI %1").arg(ResistanceText::ratio(meterPi));
    if (v.darDiffersFromMeter)
        values << tr("the curve's DAR differs from the meter's by more than 5 %");
    if (v.piDiffersFromMeter)
        values << tr("the curve's PI differs from the meter's by more than 5 %");
    if (std::isfinite(shown.verdict.correctedMegohms))
        values << tr("corrected to %1: %2")
                      .arg(ResistanceText::celsius(shown.verdict.baseCelsius),
                           ResistanceText::megohms(shown.verdict.correctedMegohms));
    ui->lblValues->setText(values.join(QStringLiteral(" · ")));

    ui->lblVerdict->setText(QStringLiteral("<b style=\"font-size:16pt; color:%1\">%2</b>")
                                .arg(verdictColour(shown.verdict.outcome).name(), shown.verdict.outcomeText().toHtmlEscaped()));
    QStringList reasons;
    for (const QString &reason : shown.verdict.reasons)
        reasons << QStringLiteral("• ") + reason.toHtmlEscaped();
    ui->lblReasons->setText(reasons.join(QStringLiteral("<br>")));
}

void TestsWindow::setUpDetailsForm()
{
    ui->cbbKind->addItem(tr("Rotating machine"), int(TestDetails::EquipmentKind::RotatingMachine));
    ui->cbbKind->addItem(tr("Transformer"), int(TestDetails::EquipmentKind::Transformer));
    ui->cbbKind->addItem(tr("Cable"), int(TestDetails::EquipmentKind::Cable));
    ui->cbbKind->addItem(tr("Other"), int(TestDetails::EquipmentKind::Other));
    ui->cbbClass->addItem(tr("not given"), int(TestDetails::InsulationClass::Unknown));
    for (const auto &[name, value] : {std::pair<const char *, TestDetails::InsulationClass>{"A", TestDetails::InsulationClass::A},
                                      {"B", TestDetails::InsulationClass::B},
                                      {"F", TestDetails::InsulationClass::F},
                                      {"H", TestDetails::InsulationClass::H}})
        ui->cbbClass->addItem(QString::fromLatin1(name), int(value));
    ui->cbbWinding->addItem(tr("not given"), int(TestDetails::WindingType::Unknown));
    ui->cbbWinding->addItem(tr("Form-wound, built after about 1970"),
                            int(TestDetails::WindingType::FormWoundAfter1970));
    ui->cbbWinding->addItem(tr("Random-wound, or below 1 kV"), int(TestDetails::WindingType::RandomWoundOrBelow1kV));
    ui->cbbWinding->addItem(tr("Older, or a field winding"), int(TestDetails::WindingType::OlderOrField));
    connect(ui->cbbKind, QOverload<int>::of(&QComboBox::currentIndexChanged), this, [this] {
        const bool rotating = ui->cbbKind->currentData().toInt() == int(TestDetails::EquipmentKind::RotatingMachine);
        ui->cbbWinding->setEnabled(rotating);
    });
    showDetails(m_journal.nextDetails());
}

void TestsWindow::showDetails(const TestDetails &details)
{
    ui->leEquipment->setText(details.equipment);
    ui->cbbKind->setCurrentIndex(ui->cbbKind->findData(int(details.kind)));
    setSpin(ui->spinRatedKilovolts, details.ratedKilovolts);
    ui->cbbClass->setCurrentIndex(ui->cbbClass->findData(int(details.insulationClass)));
    ui->cbbWinding->setCurrentIndex(ui->cbbWinding->findData(int(details.winding)));
    setSpin(ui->spinInsulationCelsius, details.insulationCelsius);
    setSpin(ui->spinAmbientCelsius, details.ambientCelsius);
    setSpin(ui->spinHumidity, details.humidityPercent);
    setSpin(ui->spinBaseCelsius, details.baseCelsius);
    ui->spinHalvingCelsius->setValue(details.halvingCelsius);
    ui->leOperator->setText(details.operatorName);
    ui->teNotes->setPlainText(details.notes);
}

TestDetails TestsWindow::detailsInForm() const
{
    TestDetails details;
    details.equipment = ui->leEquipment->text().trimmed();
    details.kind = TestDetails::EquipmentKind(ui->cbbKind->currentData().toInt());
    details.ratedKilovolts = spinValue(ui->spinRatedKilovolts);
    details.insulationClass = TestDetails::InsulationClass(ui->cbbClass->currentData().toInt());
    details.winding = TestDetails::WindingType(ui->cbbWinding->currentData().toInt());
    details.insulationCelsius = spinValue(ui->spinInsulationCelsius);
    details.ambientCelsius = spinValue(ui->spinAmbientCelsius);
    details.humidityPercent = spinValue(ui->spinHumidity);
    details.baseCelsius = spinValue(ui->spinBaseCelsius);
    details.halvingCelsius = ui->spinHalvingCelsius->value();
    details.operatorName = ui->leOperator->text().trimmed();
    details.notes = ui->teNotes->toPlainText();
    return details;
}

// Details saved for a kept test stay with it, and are offered for the next
// test too; for the running test (or none) they wait for it to end.
void TestsWindow::on_btnSaveDetails_clicked()
{
    const TestDetails details = detailsInForm();
    m_journal.setNextDetails(details);
    const QTreeWidgetItem *item = ui->twTests->currentItem();
    const qint64 id = item ? item->data(0, idRole).toLongLong() : runningId;
    if (id != runningId && m_judged.contains(id)) {
        m_journal.saveDetails(id, details);
        m_judged.insert(id, judged(m_judged.value(id).test, details));
    }
    refresh();
}
