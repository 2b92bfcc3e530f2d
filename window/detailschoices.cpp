// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "window/detailschoices.h"

#include "insulation/detailstext.h"
#include "insulation/testpoints.h"

#include <QComboBox>
#include <QDoubleSpinBox>

#include <cmath>
#include <limits>

void DetailsChoices::fillKinds(QComboBox &box)
{
    for (const auto kind : {TestDetails::EquipmentKind::RotatingMachine, TestDetails::EquipmentKind::Transformer,
                            TestDetails::EquipmentKind::Cable, TestDetails::EquipmentKind::Other})
        box.addItem(DetailsText::kind(kind), int(kind));
}

void DetailsChoices::fillClasses(QComboBox &box)
{
    box.addItem(DetailsText::notGiven(), int(TestDetails::InsulationClass::Unknown));
    for (const auto insulationClass : {TestDetails::InsulationClass::A, TestDetails::InsulationClass::B,
                                       TestDetails::InsulationClass::F, TestDetails::InsulationClass::H})
        box.addItem(DetailsText::insulationClass(insulationClass), int(insulationClass));
}

void DetailsChoices::fillWindings(QComboBox &box)
{
    box.addItem(DetailsText::notGiven(), int(TestDetails::WindingType::Unknown));
    for (const auto winding : {TestDetails::WindingType::FormWoundAfter1970,
                               TestDetails::WindingType::RandomWoundOrBelow1kV, TestDetails::WindingType::OlderOrField})
        box.addItem(DetailsText::winding(winding), int(winding));
}

void DetailsChoices::fillMedia(QComboBox &box)
{
    box.addItem(DetailsText::notGiven(), int(TestDetails::InsulationMedium::Unknown));
    for (const auto medium : {TestDetails::InsulationMedium::Solid, TestDetails::InsulationMedium::OilImmersed})
        box.addItem(DetailsText::medium(medium), int(medium));
}

void DetailsChoices::fillCorrections(QComboBox &box)
{
    for (const auto correction : {TestDetails::Correction::Standard, TestDetails::Correction::Halving})
        box.addItem(DetailsText::correction(correction), int(correction));
}

void DetailsChoices::fillTestPoints(QComboBox &box)
{
    box.setEditable(true);
    box.setInsertPolicy(QComboBox::NoInsert);
    box.addItem(QString());
    box.addItems(TestPoints::suggestions());
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
