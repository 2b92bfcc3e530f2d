// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "window/dlgreportoptions.h"

#include "report/reportsettings.h"
#include "ui_dlgreportoptions.h"

#include <QFileDialog>
#include <QLocale>

namespace {
enum Paper { FromLocale, A4, Letter };
} // namespace

DlgReportOptions::DlgReportOptions(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::DlgReportOptions)
{
    ui->setupUi(this);
    const bool letterHere = ReportOptions::paperOf(QLocale()) == QPageSize::Letter;
    ui->cbbPaper->addItem(tr("As the language and country have it (%1)").arg(letterHere ? tr("Letter") : tr("A4")),
                          FromLocale);
    ui->cbbPaper->addItem(tr("A4"), A4);
    ui->cbbPaper->addItem(tr("Letter"), Letter);
    const ReportOptions options = ReportSettings::load();
    ui->leCompany->setText(options.company);
    ui->leLogo->setText(options.logoFile);
    ui->leTechnician->setText(options.technician);
    const int paper = !ReportSettings::paperIsChosen() ? FromLocale : options.paper == QPageSize::Letter ? Letter : A4;
    ui->cbbPaper->setCurrentIndex(ui->cbbPaper->findData(paper));
}

DlgReportOptions::~DlgReportOptions()
{
    delete ui;
}

void DlgReportOptions::accept()
{
    ReportOptions options;
    options.company = ui->leCompany->text().trimmed();
    options.logoFile = ui->leLogo->text().trimmed();
    options.technician = ui->leTechnician->text().trimmed();
    const int paper = ui->cbbPaper->currentData().toInt();
    options.paper = paper == Letter ? QPageSize::Letter : QPageSize::A4;
    ReportSettings::save(options, paper == FromLocale);
    QDialog::accept();
}

void DlgReportOptions::on_btnLogo_clicked()
{
    const QString file = QFileDialog::getOpenFileName(this, tr("The company's logo"), ui->leLogo->text(),
                                                      tr("Images (*.png *.jpg *.jpeg *.bmp *.svg)"));
    if (!file.isEmpty())
        ui->leLogo->setText(file);
}
