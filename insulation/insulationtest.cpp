// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "insulation/insulationtest.h"

#include "meter/dmmdata.h"

bool InsulationTest::isMeasurement() const
{
    return mode == DMMData::dmVOLT || mode == DMMData::dmCAP || mode == DMMData::dmRES;
}

QString InsulationTest::modeName() const
{
    return DMMData::modeName(mode);
}
