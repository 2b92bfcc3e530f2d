// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "window/templatewindow.h"

#include "insulation/predictiontext.h"
#include "insulation/runningprediction.h"
#include "meter/timebox.h"
#include "models/datamodel.h"
#include "ui_templatewindow.h"

#include <optional>

namespace {
const QString blank = QStringLiteral(" ");

// Everything the panel writes for one record. Each mode fills its own view
// from this default, and every field is written every time, so no text or
// colour of the previous mode can stay behind.
struct PanelView
{
    QString top1;
    QString left1;
    QString vSet;
    QString left2;
    QString vOut;
    QString left3;
    QString lc;
    QString greaterSign = blank;
    QString main;
    QString right1;
    QString right11;
    QString right2;
    QString right21;
    QString right21Style;
    QString right3;
    QString right31;
    QString timeSet1 = blank;
    QString timeSet11 = blank;
    QString timeSet2 = blank;
    QString timeSet21 = blank;
    QString testingStyle;
};

QString overRangeSign(bool overRange)
{
    return overRange ? QStringLiteral(">") : blank;
}

QString testingStyle(bool testing)
{
    return testing ? QStringLiteral("background-color:#ff0000") : QString();
}

QString verdictText(quint8 result)
{
    if (result == 0)
        return QString();
    return result == 2 ? QStringLiteral("PASS") : QStringLiteral("FAIL");
}

QString verdictStyle(quint8 result)
{
    if (result == 0)
        return QString();
    return result == 2 ? QStringLiteral("color:#00ff00") : QStringLiteral("color:#ff0000");
}

// The left block and the test lamp shared by the insulation modes.
PanelView insulationView(DMMDataIR &record)
{
    PanelView view;
    view.left1 = TemplateWindow::tr("Vset:");
    view.vSet = record.setVoltage.toString();
    view.left2 = TemplateWindow::tr("Vout:");
    view.vOut = record.outputVoltage.toString();
    view.left3 = QStringLiteral("LC:");
    view.lc = record.leakageCurrent.toString();
    view.testingStyle = testingStyle(record.testing);
    return view;
}

PanelView irView(DMMDataIR &record)
{
    PanelView view = insulationView(record);
    view.greaterSign = overRangeSign(record.resistanceOverRange);
    view.main = record.resistance.toString();
    view.right1 = QStringLiteral("DAR:");
    view.right11 = record.dar.toString();
    view.right2 = QStringLiteral("PI:");
    view.right21 = record.pi.toString();
    view.right3 = TemplateWindow::tr("Time:");
    view.right31 = TimeBox::convertString(record.testTime);
    return view;
}

PanelView timeView(DMMDataTime &record)
{
    PanelView view = insulationView(record);
    view.top1 = QStringLiteral("Time");
    view.greaterSign = overRangeSign(record.resistanceOverRange);
    view.main = record.resistance.toString();
    view.right3 = TemplateWindow::tr("Time:");
    view.right31 = TimeBox::convertString(record.elapsedTime);
    view.timeSet1 = TemplateWindow::tr("Time-Set:");
    view.timeSet11 = TimeBox::convertString(record.setTime);
    return view;
}

// PI and DAR: the ratio is the main reading, both resistances carry their
// own over-range sign inline.
PanelView ratioView(DMMDataPIDAR &record, const QString &caption, ValueBox &ratio)
{
    PanelView view = insulationView(record);
    view.top1 = caption;
    view.main = ratio.toString();
    view.right1 = TemplateWindow::tr("RES1:");
    view.right11 = overRangeSign(record.resistanceOverRange) + record.resistance.toString();
    view.right2 = TemplateWindow::tr("RES2:");
    view.right21 = overRangeSign(record.resistance2OverRange) + record.resistance2.toString();
    view.right3 = TemplateWindow::tr("Time:");
    view.right31 = TimeBox::convertString(record.elapsedTime);
    view.timeSet1 = TemplateWindow::tr("Time-Set1:");
    view.timeSet11 = TimeBox::convertString(record.setTime);
    view.timeSet2 = TemplateWindow::tr("Time-Set2:");
    view.timeSet21 = TimeBox::convertString(record.setTime2);
    return view;
}

PanelView compView(DMMDataCOMP &record)
{
    PanelView view = insulationView(record);
    view.top1 = QStringLiteral("COMP");
    view.greaterSign = overRangeSign(record.resistanceOverRange);
    view.main = record.resistance.toString();
    view.right1 = TemplateWindow::tr("RES-COMP:");
    view.right11 = record.compareLimit.toString();
    view.right2 = TemplateWindow::tr("Result:");
    view.right21 = verdictText(record.result);
    view.right21Style = verdictStyle(record.result);
    return view;
}

PanelView capView(const QSharedPointer<DMMDataCAP> &record)
{
    PanelView view;
    view.top1 = QStringLiteral("CAP");
    view.left1 = TemplateWindow::tr("Vset:");
    view.vSet = record->setVoltage.toString();
    view.main = DataModel::getCAPViewStr(record);
    view.testingStyle = testingStyle(record->testing);
    return view;
}

// The lamp stays dark in VOLT mode whatever the meter reports.
PanelView voltView(const QSharedPointer<DMMDataVOLT> &record)
{
    PanelView view;
    view.top1 = QStringLiteral("VOLT");
    view.main = DataModel::getVOLTViewStr(record);
    view.right11 = record->acdc;
    return view;
}

PanelView resView(DMMDataRES &record)
{
    PanelView view;
    view.top1 = QStringLiteral("RES");
    view.greaterSign = overRangeSign(record.overRange);
    view.main = record.resistance.toString();
    view.testingStyle = testingStyle(record.testing);
    return view;
}

// The view of a record, or none when its mode is unknown or its class does
// not fit its mode.
std::optional<PanelView> panelViewOf(const QSharedPointer<DMMData> &data)
{
    switch (data->mode) {
    case DMMData::dmIR:
        if (auto *record = dynamic_cast<DMMDataIR *>(data.data()))
            return irView(*record);
        break;
    case DMMData::dmTime:
        if (auto *record = dynamic_cast<DMMDataTime *>(data.data()))
            return timeView(*record);
        break;
    case DMMData::dmPI:
        if (auto *record = dynamic_cast<DMMDataPI *>(data.data()))
            return ratioView(*record, QStringLiteral("PI"), record->piRatio);
        break;
    case DMMData::dmDAR:
        if (auto *record = dynamic_cast<DMMDataDAR *>(data.data()))
            return ratioView(*record, QStringLiteral("DAR"), record->darRatio);
        break;
    case DMMData::dmCOMP:
        if (auto *record = dynamic_cast<DMMDataCOMP *>(data.data()))
            return compView(*record);
        break;
    case DMMData::dmCAP:
        if (const auto record = qSharedPointerDynamicCast<DMMDataCAP>(data))
            return capView(record);
        break;
    case DMMData::dmVOLT:
        if (const auto record = qSharedPointerDynamicCast<DMMDataVOLT>(data))
            return voltView(record);
        break;
    case DMMData::dmRES:
        if (auto *record = dynamic_cast<DMMDataRES *>(data.data()))
            return resView(*record);
        break;
    }
    return std::nullopt;
}
} // namespace

void TemplateWindow::updateDataToDisplay(QSharedPointer<DMMData> data)
{
    if (!data)
        return;
    const std::optional<PanelView> panel = panelViewOf(data);
    if (!panel)
        return;
    const PanelView &view = *panel;

    ui->lcdTop1->setText(view.top1);
    ui->lcdLeft1->setText(view.left1);
    ui->lcdVSet->setText(view.vSet);
    ui->lcdLeft2->setText(view.left2);
    ui->lcdVOut->setText(view.vOut);
    ui->lcdLeft3->setText(view.left3);
    ui->lcdLC->setText(view.lc);
    ui->lcdGreaterSign->setText(view.greaterSign);
    ui->lcdMain->setText(view.main);
    ui->lcdRight1->setText(view.right1);
    ui->lcdRight11->setText(view.right11);
    ui->lcdRight2->setText(view.right2);
    ui->lcdRight21->setText(view.right21);
    ui->lcdRight21->setStyleSheet(view.right21Style);
    ui->lcdRight3->setText(view.right3);
    ui->lcdRight31->setText(view.right31);
    ui->lcdTimeSet1->setText(view.timeSet1);
    ui->lcdTimeSet11->setText(view.timeSet11);
    ui->lcdTimeSet2->setText(view.timeSet2);
    ui->lcdTimeSet21->setText(view.timeSet21);
    ui->lcdTesting->setStyleSheet(view.testingStyle);
}

// An estimate beside the reading, never in it: the main reading and the
// meter's own PI stay as the meter gives them.
void TemplateWindow::showPrediction(const InsulationTest &test)
{
    if (!m_prediction)
        m_prediction = std::make_unique<RunningPrediction>();
    const std::optional<PiPrediction> prediction = m_prediction->update(test);
    ui->lcdTop2->setText(prediction ? PredictionText::shortLine(*prediction) : QString());
    ui->lcdTop2->setToolTip(prediction ? prediction->reasonText() : QString());
}

void TemplateWindow::clearPrediction()
{
    if (m_prediction)
        m_prediction->reset();
    ui->lcdTop2->clear();
    ui->lcdTop2->setToolTip(QString());
}
