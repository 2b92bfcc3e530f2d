// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "window/dlgequipment.h"

#include "ui_dlgequipment.h"
#include "window/detailschoices.h"

#include <QMessageBox>
#include <QPushButton>

DlgEquipment::DlgEquipment(const EquipmentItem &item, Save save, QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::DlgEquipment)
    , m_item(item)
    , m_save(std::move(save))
{
    ui->setupUi(this);
    DetailsChoices::fillKinds(*ui->cbbKind);
    DetailsChoices::fillClasses(*ui->cbbClass);
    DetailsChoices::fillWindings(*ui->cbbWinding);
    DetailsChoices::fillMedia(*ui->cbbMedium);
    connect(ui->cbbKind, QOverload<int>::of(&QComboBox::currentIndexChanged), this, [this] {
        ui->cbbWinding->setEnabled(DetailsChoices::chosen(*ui->cbbKind)
                                   == int(TestDetails::EquipmentKind::RotatingMachine));
    });
    connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &DlgEquipment::saveOrSay);
    setWindowTitle(m_item.id < 0 ? tr("New item of the register") : tr("Item %1").arg(m_item.tag));
    showItem();
}

DlgEquipment::~DlgEquipment()
{
    delete ui;
}

void DlgEquipment::showItem()
{
    ui->leTag->setText(m_item.tag);
    ui->leDescription->setText(m_item.description);
    ui->leSite->setText(m_item.site);
    ui->leLocation->setText(m_item.location);
    DetailsChoices::select(*ui->cbbKind, int(m_item.kind));
    DetailsChoices::setValue(*ui->spinRatedKilovolts, m_item.ratedKilovolts);
    DetailsChoices::select(*ui->cbbClass, int(m_item.insulationClass));
    DetailsChoices::select(*ui->cbbWinding, int(m_item.winding));
    DetailsChoices::setValue(*ui->spinBaseCelsius, m_item.baseCelsius);
    DetailsChoices::select(*ui->cbbMedium, int(m_item.medium));
    DetailsChoices::setValue(*ui->spinMakerMegohms, m_item.makerMinimumMegohms);
    DetailsChoices::setValue(*ui->spinMakerCelsius, m_item.makerMinimumCelsius);
    DetailsChoices::setValue(*ui->spinMakerPi, m_item.makerMinimumPi);
    ui->teNotes->setPlainText(m_item.notes);
    ui->cbbWinding->setEnabled(m_item.kind == TestDetails::EquipmentKind::RotatingMachine);
}

void DlgEquipment::takeForm()
{
    m_item.tag = ui->leTag->text().trimmed();
    m_item.description = ui->leDescription->text().trimmed();
    m_item.site = ui->leSite->text().trimmed();
    m_item.location = ui->leLocation->text().trimmed();
    m_item.kind = TestDetails::EquipmentKind(DetailsChoices::chosen(*ui->cbbKind));
    m_item.ratedKilovolts = DetailsChoices::value(*ui->spinRatedKilovolts);
    m_item.insulationClass = TestDetails::InsulationClass(DetailsChoices::chosen(*ui->cbbClass));
    m_item.winding = TestDetails::WindingType(DetailsChoices::chosen(*ui->cbbWinding));
    m_item.baseCelsius = DetailsChoices::value(*ui->spinBaseCelsius);
    m_item.medium = TestDetails::InsulationMedium(DetailsChoices::chosen(*ui->cbbMedium));
    m_item.makerMinimumMegohms = DetailsChoices::value(*ui->spinMakerMegohms);
    m_item.makerMinimumCelsius = DetailsChoices::value(*ui->spinMakerCelsius);
    m_item.makerMinimumPi = DetailsChoices::value(*ui->spinMakerPi);
    m_item.notes = ui->teNotes->toPlainText();
}

void DlgEquipment::saveOrSay()
{
    takeForm();
    QString reason;
    if (m_save(m_item, reason)) {
        accept();
        return;
    }
    QMessageBox::warning(this, QString(), reason, QMessageBox::Ok);
}
