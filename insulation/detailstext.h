// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "insulation/testdetails.h"

#include <QCoreApplication>
#include <QString>

// The names of the choices that describe equipment, as every form, list and
// report shows them.
class DetailsText
{
    Q_DECLARE_TR_FUNCTIONS(DetailsText)

public:
    DetailsText() = delete;

    static QString kind(TestDetails::EquipmentKind kind);
    // Empty when not given.
    static QString insulationClass(TestDetails::InsulationClass insulationClass);
    static QString winding(TestDetails::WindingType winding);
    // Empty when not given.
    static QString medium(TestDetails::InsulationMedium medium);
    static QString correction(TestDetails::Correction correction);
    static QString notGiven();
};
