// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "insulation/detailstext.h"

QString DetailsText::kind(TestDetails::EquipmentKind kind)
{
    switch (kind) {
    case TestDetails::EquipmentKind::RotatingMachine:
        return tr("Rotating machine");
    case TestDetails::EquipmentKind::Transformer:
        return tr("Transformer");
    case TestDetails::EquipmentKind::Cable:
        return tr("Cable");
    case TestDetails::EquipmentKind::Other:
        break;
    }
    return tr("Other");
}

QString DetailsText::insulationClass(TestDetails::InsulationClass insulationClass)
{
    switch (insulationClass) {
    case TestDetails::InsulationClass::A:
        return QStringLiteral("A");
    case TestDetails::InsulationClass::B:
        return QStringLiteral("B");
    case TestDetails::InsulationClass::F:
        return QStringLiteral("F");
    case TestDetails::InsulationClass::H:
        return QStringLiteral("H");
    case TestDetails::InsulationClass::Unknown:
        break;
    }
    return QString();
}

QString DetailsText::winding(TestDetails::WindingType winding)
{
    switch (winding) {
    case TestDetails::WindingType::FormWoundAfter1970:
        return tr("Form-wound, built after about 1970");
    case TestDetails::WindingType::RandomWoundOrBelow1kV:
        return tr("Random-wound, or below 1 kV");
    case TestDetails::WindingType::OlderOrField:
        return tr("Older, or a field winding");
    case TestDetails::WindingType::Unknown:
        break;
    }
    return QString();
}

QString DetailsText::medium(TestDetails::InsulationMedium medium)
{
    switch (medium) {
    case TestDetails::InsulationMedium::Solid:
        return tr("Solid (dry-type, cable)");
    case TestDetails::InsulationMedium::OilImmersed:
        return tr("Oil-immersed");
    case TestDetails::InsulationMedium::Unknown:
        break;
    }
    return QString();
}

QString DetailsText::correction(TestDetails::Correction correction)
{
    return correction == TestDetails::Correction::Halving ? tr("Halving formula") : tr("Standard");
}

QString DetailsText::notGiven()
{
    return tr("not given");
}
