// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "window/detailschoices.h"

#include "insulation/testdetails.h"

#include <QComboBox>
#include <QDoubleSpinBox>

#include <cmath>
#include <limits>

void DetailsChoices::fillKinds(QComboBox &box)
{
    box.addItem(tr("Rotating machine"), int(TestDetails::EquipmentKind::RotatingMachine));
    box.addItem(tr("Transformer"), int(TestDetails::EquipmentKind::Transformer));
    box.addItem(tr("Cable"), int(TestDetails::EquipmentKind::Cable));
    box.addItem(tr("Other"), int(TestDetails::EquipmentKind::Other));
}

void DetailsChoices::fillClasses(QComboBox &box)
{
    box.addItem(tr("not given"), int(TestDetails::InsulationClass::Unknown));
    box.addItem(QStringLiteral("A"), int(TestDetails::InsulationClass::A));
    box.addItem(QStringLiteral("B"), int(TestDetails::InsulationClass::B));
    box.addItem(QStringLiteral("F"), int(TestDetails::InsulationClass::F));
    box.addItem(QStringLiteral("H"), int(TestDetails::InsulationClass::H));
}

void DetailsChoices::fillWindings(QComboBox &box)
{
    box.addItem(tr("not given"), int(TestDetails::WindingType::Unknown));
    box.addItem(tr("Form-wound, built after about 1970"), int(TestDetails::WindingType::FormWoundAfter1970));
    box.addItem(tr("Random-wound, or below 1 kV"), int(TestDetails::WindingType::RandomWoundOrBelow1kV));
    box.addItem(tr("Older, or a field winding"), int(TestDetails::WindingType::OlderOrField));
}

void DetailsChoices::select(QComboBox &box, int value)
{
    box.setCurrentIndex(std::max(0, box.findData(value)));
}

int DetailsChoices::chosen(const QComboBox &box)
{
    return box.currentData().toInt();
}

double DetailsChoices::value(const QDoubleSpinBox &spin)
{
    return spin.value() <= spin.minimum() ? std::numeric_limits<double>::quiet_NaN() : spin.value();
}

void DetailsChoices::setValue(QDoubleSpinBox &spin, double value)
{
    spin.setValue(std::isfinite(value) ? value : spin.minimum());
}
