// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "window/testswindow.h"

#include "insulation/predictionreview.h"
#include "insulation/predictiontext.h"
#include "insulation/resistancetext.h"
#include "insulation/temperaturecorrection.h"
#include "insulation/testdate.h"
#include "insulation/verdictrules.h"
#include "report/palette.h"
#include "ui_testswindow.h"
#include "window/curveplot.h"
#include "window/detailschoices.h"
#include "window/dlgequipment.h"
#include "journal/sessionrecorder.h"

#include <QCompleter>
#include <QDateTime>
#include <QLocale>
#include <QMessageBox>
#include <QScreen>
#include <QStringListModel>

#include <qcustomplot.h>

#include <cmath>

namespace {
enum Column { ColTime, ColMode, ColVoltage, ColFinal, ColPi, ColDar, ColVerdict, ColEquipment };
constexpr int idRole = Qt::UserRole + 1;
constexpr qint64 runningId = -1;

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

} // namespace

TestsWindow::TestsWindow(SessionRecorder &recorder, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , ui(new Ui::TestsWindow)
    , m_recorder(recorder)
    , m_catalogue(recorder.database())
    , m_reports(recorder.database(), *this)
{
    ui->setupUi(this);
    fitScreen();
    ui->splitter->setSizes({420, 760});
    CurvePlot::setUp(*ui->plotCurve);
    setUpDetailsForm();
    connect(ui->twTests, &QTreeWidget::itemSelectionChanged, this, &TestsWindow::showSelected);
    connect(&m_recorder, &SessionRecorder::testRunning, this, &TestsWindow::onRunning);
    connect(&m_recorder, &SessionRecorder::testKept, this, &TestsWindow::onKept);
    connect(&m_catalogue, &TestCatalogue::edited, this, &TestsWindow::edited);
    m_running = m_recorder.runningTest();
    if (m_running)
        m_prediction = m_runningPrediction.update(*m_running);
    refresh();
}

// Its own size is for a large screen; on a small one it opens no larger
// than the screen, its curve and the prediction beside it in sight.
void TestsWindow::fitScreen()
{
    if (const QScreen *shown = screen())
        resize(size().boundedTo(shown->availableGeometry().size()));
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
    const QLocale locale = QLocale::system();
    const QString time = TestDate::text(test, shown.details, locale, locale.dateFormat(QLocale::ShortFormat),
                                        locale.timeFormat(QLocale::ShortFormat));
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

QString TestsWindow::reviewText(const Shown &shown)
{
    if (shown.test.status == InsulationTest::Status::Running)
        return QString();
    const double measured = shownPi(shown);
    const QVector<PredictionReview::Row> rows = PredictionReview::rows(shown.test, measured);
    if (rows.isEmpty())
        return QString();
    QString html = QStringLiteral("<p>%1</p><table cellspacing=\"0\" cellpadding=\"2\">")
                       .arg(tr("The PI at 10 min as predicted during the test, against the %1 measured:")
                                .arg(ResistanceText::ratio(measured))
                                .toHtmlEscaped());
    for (const PredictionReview::Row &row : rows) {
        const QStringList cells = PredictionText::reviewCells(row);
        html += QStringLiteral("<tr><td>%1</td><td>&nbsp;%2</td><td>&nbsp;%3</td></tr>")
                    .arg(tr("after %1").arg(cells.at(0)).toHtmlEscaped(), cells.at(1).toHtmlEscaped(),
                         cells.at(2).toHtmlEscaped());
    }
    return html + QStringLiteral("</table>");
}

void TestsWindow::refresh()
{
    m_kept = m_catalogue.tests();
    const qint64 selected = ui->twTests->currentItem() ? ui->twTests->currentItem()->data(0, idRole).toLongLong()
                                                       : runningId;
    const QSignalBlocker blocker(ui->twTests);
    ui->twTests->clear();
    if (m_running)
        fillRow(new QTreeWidgetItem(ui->twTests), judged(*m_running, m_recorder.nextDetails()));
    for (const InsulationTest &kept : qAsConst(m_kept)) {
        if (!m_judged.contains(kept.id)) {
            const std::optional<InsulationTest> loaded = m_catalogue.loadTest(kept.id);
            m_judged.insert(kept.id, judged(loaded.value_or(kept), m_catalogue.details(kept.id)));
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
    item->setForeground(ColVerdict, Palette::of(shown.verdict));
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
    m_prediction = m_runningPrediction.update(test);
    const Shown shown = judged(test, m_recorder.nextDetails());
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
    m_runningPrediction.reset();
    m_prediction.reset();
    m_judged.insert(test.id, judged(test, m_catalogue.details(test.id)));
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
        showTest(judged(*m_running, m_recorder.nextDetails()), true);
    else if (m_judged.contains(id))
        showTest(m_judged.value(id), true);
}

void TestsWindow::showTest(const Shown &shown, bool withDetails)
{
    m_current = shown;
    drawCurve(shown);
    showReview(shown);
    showVerdict(shown);
    if (withDetails)
        showDetails(shown.details);
}

void TestsWindow::drawCurve(const Shown &shown)
{
    const bool running = shown.test.status == InsulationTest::Status::Running;
    CurvePlot::draw(*ui->plotCurve, shown.test, shown.values, ui->cbLeakage->isChecked(),
                    running ? m_prediction : std::nullopt);
}

// Made from the curve each time a finished test is shown: four fits are a
// few milliseconds, not worth keeping for every test of the list.
void TestsWindow::showReview(const Shown &shown)
{
    const QString text = reviewText(shown);
    ui->lblPrediction->setText(text);
    ui->lblPrediction->setVisible(!text.isEmpty());
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
    // A ratio at other set times is named by them, never called PI or DAR.
    const double meterRatio = CurveAnalysis::meterRatio(shown.test);
    if (std::isfinite(meterRatio) && std::isnan(meterPi) && std::isnan(meterDar))
        values << tr("meter's %1 %2").arg(CurveAnalysis::ratioName(shown.test), ResistanceText::ratio(meterRatio));
    if (v.darDiffersFromMeter)
        values << tr("the curve's DAR differs from the meter's by more than 5 %");
    if (v.piDiffersFromMeter)
        values << tr("the curve's PI differs from the meter's by more than 5 %");
    if (std::isfinite(shown.verdict.correctedMegohms))
        values << tr("corrected to %1: %2")
                      .arg(ResistanceText::celsius(shown.verdict.baseCelsius),
                           ResistanceText::megohms(shown.verdict.correctedMegohms));
    ui->lblValues->setText(values.join(QStringLiteral(" · ")));

    const Verdict &verdict = shown.verdict;
    ui->lblVerdict->setText(QStringLiteral("<b style=\"font-size:16pt; color:%1\">%2</b>")
                                .arg(Palette::of(verdict).name(), verdict.outcomeText().toHtmlEscaped()));
    QStringList reasons;
    for (const QString &reason : verdict.reasons)
        reasons << QStringLiteral("• ") + reason.toHtmlEscaped();
    for (const QString &warning : verdict.warnings)
        reasons << QStringLiteral("⚠ ") + warning.toHtmlEscaped();
    if (!verdict.rules.isEmpty())
        reasons << tr("Rules: %1").arg(verdict.rules.join(QStringLiteral("; "))).toHtmlEscaped();
    ui->lblReasons->setText(reasons.join(QStringLiteral("<br>")));
}

void TestsWindow::setUpDetailsForm()
{
    DetailsChoices::fillKinds(*ui->cbbKind);
    DetailsChoices::fillClasses(*ui->cbbClass);
    DetailsChoices::fillWindings(*ui->cbbWinding);
    DetailsChoices::fillTestPoints(*ui->cbbTestPoint);
    DetailsChoices::fillCorrections(*ui->cbbCorrection);
    const QLocale locale;
    ui->dteTested->setDisplayFormat(locale.dateFormat(QLocale::ShortFormat) + QLatin1Char(' ')
                                    + locale.timeFormat(QLocale::ShortFormat));
    // Its lowest value stands for "unknown".
    ui->dteTested->setMinimumDateTime(QDateTime(QDate(2000, 1, 1), QTime(0, 0)));
    connect(ui->cbbKind, QOverload<int>::of(&QComboBox::currentIndexChanged), this, [this] { enableItemFields(); });
    connect(ui->cbbCorrection, QOverload<int>::of(&QComboBox::currentIndexChanged), this, [this] { enableHalving(); });
    auto *completer = new QCompleter(m_catalogue.tags(), ui->leEquipment);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    ui->leEquipment->setCompleter(completer);
    connect(ui->leEquipment, &QLineEdit::textChanged, this, &TestsWindow::takeItemOfTag);
    showDetails(m_recorder.nextDetails());
}

// What belongs to the item comes from the register; only an item it does
// not know yet is described here.
void TestsWindow::takeItemOfTag()
{
    if (const std::optional<EquipmentItem> item = m_catalogue.item(ui->leEquipment->text())) {
        TestDetails details = detailsInForm();
        item->applyTo(details);
        const QSignalBlocker blocker(ui->leEquipment);
        DetailsChoices::select(*ui->cbbKind, int(details.kind));
        DetailsChoices::setValue(*ui->spinRatedKilovolts, details.ratedKilovolts);
        DetailsChoices::select(*ui->cbbClass, int(details.insulationClass));
        DetailsChoices::select(*ui->cbbWinding, int(details.winding));
        DetailsChoices::setValue(*ui->spinBaseCelsius, details.baseCelsius);
    }
    enableItemFields();
}

void TestsWindow::enableItemFields()
{
    const bool ownItem = !m_catalogue.item(ui->leEquipment->text()).has_value();
    for (QWidget *field : {static_cast<QWidget *>(ui->cbbKind), static_cast<QWidget *>(ui->spinRatedKilovolts),
                           static_cast<QWidget *>(ui->cbbClass), static_cast<QWidget *>(ui->spinBaseCelsius)})
        field->setEnabled(ownItem);
    ui->cbbWinding->setEnabled(ownItem
                               && DetailsChoices::chosen(*ui->cbbKind)
                                   == int(TestDetails::EquipmentKind::RotatingMachine));
    ui->btnNewItem->setEnabled(ownItem);
}

void TestsWindow::showDetails(const TestDetails &details)
{
    const QSignalBlocker blocker(ui->leEquipment);
    ui->leEquipment->setText(details.equipment);
    DetailsChoices::select(*ui->cbbKind, int(details.kind));
    DetailsChoices::setValue(*ui->spinRatedKilovolts, details.ratedKilovolts);
    DetailsChoices::select(*ui->cbbClass, int(details.insulationClass));
    DetailsChoices::select(*ui->cbbWinding, int(details.winding));
    DetailsChoices::setValue(*ui->spinInsulationCelsius, details.insulationCelsius);
    DetailsChoices::setValue(*ui->spinAmbientCelsius, details.ambientCelsius);
    DetailsChoices::setValue(*ui->spinHumidity, details.humidityPercent);
    DetailsChoices::setValue(*ui->spinBaseCelsius, details.baseCelsius);
    ui->spinHalvingCelsius->setValue(details.halvingCelsius);
    DetailsChoices::select(*ui->cbbCorrection, int(details.correction));
    ui->cbbTestPoint->setEditText(details.testPoint);
    ui->dteTested->setDateTime(details.testedMs > 0 ? QDateTime::fromMSecsSinceEpoch(details.testedMs)
                                                    : ui->dteTested->minimumDateTime());
    ui->leOperator->setText(details.operatorName);
    ui->teNotes->setPlainText(details.notes);
    m_shownDetails = details;
    enableItemFields();
    enableTestDate();
    enableHalving();
}

// Only a test whose readings carry no date of their own is given one.
void TestsWindow::enableTestDate()
{
    ui->dteTested->setEnabled(m_current && m_current->test.status != InsulationTest::Status::Running
                              && TestDate::isGiven(m_current->test));
}

void TestsWindow::enableHalving()
{
    ui->spinHalvingCelsius->setEnabled(DetailsChoices::chosen(*ui->cbbCorrection)
                                       == int(TestDetails::Correction::Halving));
}

TestDetails TestsWindow::detailsInForm() const
{
    TestDetails details;
    details.equipment = ui->leEquipment->text().trimmed();
    details.kind = TestDetails::EquipmentKind(DetailsChoices::chosen(*ui->cbbKind));
    details.ratedKilovolts = DetailsChoices::value(*ui->spinRatedKilovolts);
    details.insulationClass = TestDetails::InsulationClass(DetailsChoices::chosen(*ui->cbbClass));
    details.winding = TestDetails::WindingType(DetailsChoices::chosen(*ui->cbbWinding));
    details.insulationCelsius = DetailsChoices::value(*ui->spinInsulationCelsius);
    details.ambientCelsius = DetailsChoices::value(*ui->spinAmbientCelsius);
    details.humidityPercent = DetailsChoices::value(*ui->spinHumidity);
    details.baseCelsius = DetailsChoices::value(*ui->spinBaseCelsius);
    details.halvingCelsius = ui->spinHalvingCelsius->value();
    details.correction = TestDetails::Correction(DetailsChoices::chosen(*ui->cbbCorrection));
    details.testPoint = ui->cbbTestPoint->currentText().trimmed();
    if (ui->dteTested->isEnabled() && ui->dteTested->dateTime() > ui->dteTested->minimumDateTime())
        details.testedMs = ui->dteTested->dateTime().toMSecsSinceEpoch();
    details.operatorName = ui->leOperator->text().trimmed();
    details.notes = ui->teNotes->toPlainText();
    // What the form does not show of an item: the register's, or as it was.
    if (const std::optional<EquipmentItem> item = m_catalogue.item(details.equipment)) {
        item->applyTo(details);
    } else {
        details.medium = m_shownDetails.medium;
        details.makerMinimumMegohms = m_shownDetails.makerMinimumMegohms;
        details.makerMinimumCelsius = m_shownDetails.makerMinimumCelsius;
        details.makerMinimumPi = m_shownDetails.makerMinimumPi;
    }
    return details;
}

// A new item of the register, described from what the form holds.
void TestsWindow::on_btnNewItem_clicked()
{
    const TestDetails details = detailsInForm();
    EquipmentItem item = EquipmentItem::describedBy(details);
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
        return;
    static_cast<QStringListModel *>(ui->leEquipment->completer()->model())->setStringList(m_catalogue.tags());
    ui->leEquipment->setText(dialog.item().tag);
    takeItemOfTag();
}

// The report of the test shown, as PDF.
void TestsWindow::on_btnReport_clicked()
{
    const QTreeWidgetItem *row = ui->twTests->currentItem();
    const qint64 id = row ? row->data(0, idRole).toLongLong() : runningId;
    if (id == runningId) {
        QMessageBox::information(this, QString(), tr("A test can be reported once it has ended."), QMessageBox::Ok);
        return;
    }
    m_reports.reportTest(id);
}

// Details saved for a kept test stay with it, and are offered for the next
// test too; for the running test (or none) they wait for it to end.
void TestsWindow::on_btnSaveDetails_clicked()
{
    const TestDetails details = detailsInForm();
    if (!details.equipment.isEmpty() && !m_catalogue.item(details.equipment) && !offerToRegister(details))
        return;
    // The next test makes its own date.
    TestDetails next = details;
    next.testedMs = 0;
    m_recorder.setNextDetails(next);
    const QTreeWidgetItem *item = ui->twTests->currentItem();
    const qint64 id = item ? item->data(0, idRole).toLongLong() : runningId;
    if (id != runningId && m_judged.contains(id)) {
        if (!m_catalogue.saveDetails(id, details)) {
            QMessageBox::warning(this, QString(),
                                 tr("The details could not be saved: %1").arg(m_catalogue.errorString()),
                                 QMessageBox::Ok);
            return;
        }
        m_judged.insert(id, judged(m_judged.value(id).test, details));
    }
    refresh();
}

// A tag the register does not know yet becomes an item, described by the
// form; or stays free text until it does. False: the user thought again.
bool TestsWindow::offerToRegister(const TestDetails &details)
{
    const QMessageBox::StandardButton answer = QMessageBox::question(
        this, QString(),
        tr("%1 is not in the equipment register yet.\nDo you want to add it, as the form describes it?")
            .arg(details.equipment),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (answer == QMessageBox::Cancel)
        return false;
    if (answer == QMessageBox::No)
        return true;
    EquipmentItem item = EquipmentItem::describedBy(details);
    if (!m_catalogue.saveItem(item)) {
        QMessageBox::warning(this, QString(), m_catalogue.errorString(), QMessageBox::Ok);
        return false;
    }
    static_cast<QStringListModel *>(ui->leEquipment->completer()->model())->setStringList(m_catalogue.tags());
    enableItemFields();
    return true;
}
