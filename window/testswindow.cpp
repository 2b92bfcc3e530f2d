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
#include <QScrollBar>
#include <QSet>
#include <QStringListModel>

#include <qcustomplot.h>

#include <algorithm>
#include <cmath>

namespace {
enum Column { ColTime, ColMode, ColVoltage, ColFinal, ColPi, ColDar, ColVerdict, ColEquipment };
constexpr int idRole = Qt::UserRole + 1;
constexpr qint64 runningId = -1;
constexpr qint64 noTestId = -2;

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
    connect(&m_recorder, &SessionRecorder::offerChanged, this, &TestsWindow::showOffer);
    connect(&m_recorder, &SessionRecorder::testRunning, this, &TestsWindow::onRunning);
    connect(&m_recorder, &SessionRecorder::testKept, this, &TestsWindow::onKept);
    connect(&m_catalogue, &TestCatalogue::edited, this, &TestsWindow::edited);
    m_running = m_recorder.runningTest();
    if (m_running)
        m_prediction = m_runningPrediction.update(*m_running);
    setEdited(false);
    showOffer();
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

// Rows are updated where they are and new ones put in, so that the list
// grows without taking the selection or the form from the user.
void TestsWindow::refresh()
{
    m_kept = m_catalogue.tests();
    QList<qint64> ids;
    if (m_running)
        ids << runningId;
    for (const InsulationTest &kept : qAsConst(m_kept)) {
        if (!m_judged.contains(kept.id)) {
            const std::optional<InsulationTest> loaded = m_catalogue.loadTest(kept.id);
            m_judged.insert(kept.id, judged(loaded.value_or(kept), m_catalogue.details(kept.id)));
        }
        ids << kept.id;
    }
    placeRows(ids);
    for (int column = 0; column < ui->twTests->columnCount(); ++column)
        ui->twTests->resizeColumnToContents(column);
    if (!ui->twTests->currentItem() && ui->twTests->topLevelItemCount() > 0)
        ui->twTests->setCurrentItem(ui->twTests->topLevelItem(0));
    else
        showSelected();
}

// The row in sight at the top stays there while rows come in above it,
// unless the list was at its top following the running test (or nothing)
// with no mouse over it: then the newest test shows.
void TestsWindow::placeRows(const QList<qint64> &ids)
{
    QTreeWidget &list = *ui->twTests;
    QTreeWidgetItem *top = list.itemAt(0, 0);
    QTreeWidgetItem *current = list.currentItem();
    const bool followTop = list.verticalScrollBar()->value() == 0 && !list.viewport()->underMouse()
                           && (!current || current == runningItem());
    const QSet<qint64> listed(ids.cbegin(), ids.cend());
    QHash<qint64, QTreeWidgetItem *> rows;
    const QSignalBlocker blocker(&list);
    for (int i = list.topLevelItemCount() - 1; i >= 0; --i) {
        const qint64 id = list.topLevelItem(i)->data(0, idRole).toLongLong();
        if (listed.contains(id))
            rows.insert(id, list.topLevelItem(i));
        else
            delete list.takeTopLevelItem(i);
    }
    for (int i = 0; i < ids.size(); ++i) {
        QTreeWidgetItem *item = rows.value(ids.at(i));
        if (!item) {
            item = new QTreeWidgetItem;
            list.insertTopLevelItem(i, item);
        } else if (list.indexOfTopLevelItem(item) != i) {
            list.insertTopLevelItem(i, list.takeTopLevelItem(list.indexOfTopLevelItem(item)));
        }
        fillRow(item, shownOf(ids.at(i)));
    }
    if (current && list.indexOfTopLevelItem(current) >= 0)
        list.setCurrentItem(current);
    if (top && !followTop && list.indexOfTopLevelItem(top) >= 0)
        list.scrollToItem(top, QAbstractItemView::PositionAtTop);
}

QTreeWidgetItem *TestsWindow::rowOf(qint64 id) const
{
    for (int i = 0; i < ui->twTests->topLevelItemCount(); ++i) {
        if (ui->twTests->topLevelItem(i)->data(0, idRole).toLongLong() == id)
            return ui->twTests->topLevelItem(i);
    }
    return nullptr;
}

TestsWindow::Shown TestsWindow::shownOf(qint64 id) const
{
    if (id == runningId && m_running)
        return judged(*m_running, m_recorder.detailsFor(*m_running));
    return m_judged.value(id);
}

void TestsWindow::fillRow(QTreeWidgetItem *item, const Shown &shown) const
{
    const QStringList texts = rowTexts(shown);
    for (int column = 0; column < texts.size(); ++column)
        item->setText(column, texts.at(column));
    item->setData(0, idRole, shown.test.status == InsulationTest::Status::Running ? runningId : shown.test.id);
    item->setForeground(ColVerdict, Palette::of(shown.verdict));
    // A test filed under no item says so, in a colour apart from the items' tags.
    const bool noItem = shown.details.equipment.isEmpty();
    if (noItem)
        item->setText(ColEquipment, tr("no item"));
    item->setForeground(ColEquipment, noItem ? ui->twTests->palette().brush(QPalette::Disabled, QPalette::Text)
                                             : ui->twTests->palette().brush(QPalette::Text));
    QFont font = ui->twTests->font();
    font.setItalic(noItem);
    item->setFont(ColEquipment, font);
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
    QList<qint64> ids{runningId};
    for (const InsulationTest &kept : qAsConst(m_kept))
        ids << kept.id;
    if (!runningItem())
        placeRows(ids);
    QTreeWidgetItem *item = runningItem();
    const Shown shown = shownOf(runningId);
    fillRow(item, shown);
    if (ui->twTests->currentItem() == item) {
        // The form is left alone: the technician may be typing the details in.
        showTest(shown, false);
        previewVerdict();
    } else if (!ui->twTests->currentItem()) {
        ui->twTests->setCurrentItem(item);
    }
}

// The running test's row becomes the kept test's, where it is.
void TestsWindow::onKept(const InsulationTest &test)
{
    m_running.reset();
    m_runningPrediction.reset();
    m_prediction.reset();
    m_judged.insert(test.id, judged(test, m_catalogue.details(test.id)));
    if (QTreeWidgetItem *running = runningItem())
        running->setData(0, idRole, test.id);
    if (m_formId == runningId)
        m_formId = test.id;
    refresh();
}

void TestsWindow::showSelected()
{
    const QTreeWidgetItem *item = ui->twTests->currentItem();
    if (!item) {
        m_current.reset();
        return;
    }
    const qint64 id = item->data(0, idRole).toLongLong();
    // What was typed before any test began is for the first one shown.
    if (m_edited && m_formId == noTestId)
        m_formId = id;
    if (m_edited && id != m_formId && !settleEdits()) {
        const QSignalBlocker blocker(ui->twTests);
        if (QTreeWidgetItem *edited = rowOf(m_formId))
            ui->twTests->setCurrentItem(edited);
        return;
    }
    if (id != runningId && !m_judged.contains(id))
        return;
    const bool withDetails = !m_edited;
    showTest(shownOf(id), withDetails);
    if (withDetails)
        m_formId = id;
    else
        previewVerdict();
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

void TestsWindow::showVerdict(const Shown &shown, bool unsaved)
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
    QString verdictText = QStringLiteral("<b style=\"font-size:16pt; color:%1\">%2</b>")
                              .arg(Palette::of(verdict).name(), verdict.outcomeText().toHtmlEscaped());
    if (unsaved)
        verdictText += QStringLiteral("<br><i>%1</i>").arg(tr("by the details not saved yet").toHtmlEscaped());
    ui->lblVerdict->setText(verdictText);
    QStringList reasons;
    for (const QString &reason : verdict.reasons)
        reasons << QStringLiteral("• ") + reason.toHtmlEscaped();
    for (const QString &warning : verdict.warnings)
        reasons << QStringLiteral("⚠ ") + warning.toHtmlEscaped();
    if (!verdict.rules.isEmpty())
        reasons << tr("Rules: %1").arg(verdict.rules.join(QStringLiteral("; "))).toHtmlEscaped();
    ui->lblReasons->setText(reasons.join(QStringLiteral("<br>")));
    holdReasonsHeight(shown);
}

// While one test is shown its reasons only ever take more room, so that
// the form below them stays where the user is typing; four lines are kept
// from the start.
void TestsWindow::holdReasonsHeight(const Shown &shown)
{
    QLabel &label = *ui->lblReasons;
    const qint64 id = shown.test.status == InsulationTest::Status::Running ? runningId : shown.test.id;
    if (id != m_reasonsId) {
        m_reasonsId = id;
        label.setMinimumHeight(4 * label.fontMetrics().lineSpacing());
    }
    if (label.width() > 0)
        label.setMinimumHeight(std::max(label.minimumHeight(), label.heightForWidth(label.width())));
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
    watchForm();
    showDetails(m_recorder.isOfferAccepted() ? m_recorder.nextDetails() : TestDetails());
}

// Every change the user makes to the form marks it as not saved.
void TestsWindow::watchForm()
{
    const auto edited = [this] { formEdited(); };
    for (QLineEdit *line : {ui->leEquipment, ui->leOperator})
        connect(line, &QLineEdit::textChanged, this, edited);
    for (QComboBox *choice : {ui->cbbKind, ui->cbbClass, ui->cbbWinding, ui->cbbCorrection})
        connect(choice, QOverload<int>::of(&QComboBox::currentIndexChanged), this, edited);
    connect(ui->cbbTestPoint, &QComboBox::currentTextChanged, this, edited);
    for (QDoubleSpinBox *spin : {ui->spinRatedKilovolts, ui->spinInsulationCelsius, ui->spinAmbientCelsius,
                                 ui->spinHumidity, ui->spinBaseCelsius, ui->spinHalvingCelsius})
        connect(spin, QOverload<double>::of(&QDoubleSpinBox::valueChanged), this, edited);
    connect(ui->dteTested, &QDateTimeEdit::dateTimeChanged, this, edited);
    connect(ui->teNotes, &QPlainTextEdit::textChanged, this, edited);
}

void TestsWindow::formEdited()
{
    if (m_filling)
        return;
    setEdited(true);
    previewVerdict();
}

void TestsWindow::setEdited(bool edited)
{
    m_edited = edited;
    ui->lblUnsaved->setVisible(edited);
    ui->btnDiscard->setEnabled(edited);
}

// The verdict the form's details would give, before they are saved.
void TestsWindow::previewVerdict()
{
    if (!m_current)
        return;
    if (!m_edited) {
        showVerdict(*m_current);
        return;
    }
    Shown preview = *m_current;
    preview.details = detailsInForm();
    preview.verdict = VerdictRules::judge(preview.test, preview.values, preview.details);
    showVerdict(preview, true);
}

// False: the user stays with the test being edited.
bool TestsWindow::settleEdits()
{
    const QMessageBox::StandardButton answer =
        QMessageBox::question(this, QString(),
                              tr("The details of the test you were editing are not saved yet.\n"
                                 "Do you want to save them?"),
                              QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (answer == QMessageBox::Cancel)
        return false;
    if (answer == QMessageBox::Save)
        return saveForm();
    setEdited(false);
    return true;
}

void TestsWindow::on_btnDiscard_clicked()
{
    setEdited(false);
    if (m_formId == noTestId || !m_current)
        showDetails(m_recorder.isOfferAccepted() ? m_recorder.nextDetails() : TestDetails());
    else
        showTest(shownOf(m_formId), true);
}

void TestsWindow::on_cbUseNext_clicked(bool checked)
{
    m_recorder.acceptOffer(checked);
    if (QTreeWidgetItem *running = runningItem())
        fillRow(running, shownOf(runningId));
}

// The details last saved, offered for the next test of their mode.
void TestsWindow::showOffer()
{
    const TestDetails details = m_recorder.nextDetails();
    ui->cbUseNext->setVisible(!details.isEmpty());
    QString summary = details.equipment.isEmpty() ? tr("no item") : details.equipment;
    if (std::isfinite(details.insulationCelsius))
        summary += QStringLiteral(", ") + ResistanceText::celsius(details.insulationCelsius);
    InsulationTest ofMode;
    ofMode.mode = m_recorder.offeredMode();
    ui->cbUseNext->setText(ofMode.mode < 0 ? tr("Use these details for the next test: %1").arg(summary)
                                           : tr("Use these details for the next %1 test: %2")
                                                 .arg(ofMode.modeName(), summary));
    ui->cbUseNext->setChecked(m_recorder.isOfferAccepted());
    if (QTreeWidgetItem *running = runningItem())
        fillRow(running, shownOf(runningId));
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
    m_filling = true;
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
    m_filling = false;
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

void TestsWindow::on_btnSaveDetails_clicked()
{
    if (saveForm())
        refresh();
}

// Details saved for a kept test stay with it and are offered for the next
// test of its mode; given for the running test (or before any), they are
// kept with it when it ends.
bool TestsWindow::saveForm()
{
    const TestDetails details = detailsInForm();
    if (!details.equipment.isEmpty() && !m_catalogue.item(details.equipment) && !offerToRegister(details))
        return false;
    // The next test makes its own date.
    TestDetails next = details;
    next.testedMs = 0;
    if (m_formId >= 0 && m_judged.contains(m_formId)) {
        if (!m_catalogue.saveDetails(m_formId, details)) {
            QMessageBox::warning(this, QString(),
                                 tr("The details could not be saved: %1").arg(m_catalogue.errorString()),
                                 QMessageBox::Ok);
            return false;
        }
        const InsulationTest test = m_judged.value(m_formId).test;
        m_judged.insert(m_formId, judged(test, details));
        m_recorder.offerDetails(next, test.mode);
    } else {
        const bool forRunning = m_formId == runningId && m_running;
        m_recorder.offerDetails(next, forRunning ? m_running->mode : -1, true);
    }
    setEdited(false);
    return true;
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
