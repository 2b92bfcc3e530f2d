// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "insulation/testdetails.h"

#include <QMetaType>
#include <QString>

#include <limits>

// One item of the equipment register: a motor, a transformer, a cable, known
// by its tag. What belongs to the item rather than to a test (its kind,
// rated voltage, insulation class, winding type, base temperature, insulation
// medium and the maker's limits) is kept here and given to each of its tests.
struct EquipmentItem
{
    qint64 id = -1; // in the journal; -1 until it is there
    QString uuid;   // unique across journals
    QString tag;    // unique in the register
    QString description;
    QString site;
    QString location;
    TestDetails::EquipmentKind kind = TestDetails::EquipmentKind::Other;
    double ratedKilovolts = std::numeric_limits<double>::quiet_NaN();
    TestDetails::InsulationClass insulationClass = TestDetails::InsulationClass::Unknown;
    TestDetails::WindingType winding = TestDetails::WindingType::Unknown;
    // NaN: the kind's default.
    double baseCelsius = std::numeric_limits<double>::quiet_NaN();
    TestDetails::InsulationMedium medium = TestDetails::InsulationMedium::Unknown;
    // The maker's limits, which decide before the standards' tables; NaN
    // where the maker gives none.
    double makerMinimumMegohms = std::numeric_limits<double>::quiet_NaN();
    double makerMinimumCelsius = std::numeric_limits<double>::quiet_NaN(); // the base it holds at
    double makerMinimumPi = std::numeric_limits<double>::quiet_NaN();
    QString notes;
    // Counts the edits: each saved change makes a new version.
    int version = 0;
    qint64 updatedMs = 0;

    // Puts the item's own fields into a test's details.
    void applyTo(TestDetails &details) const;
    // A new item, named and described by a test's details.
    static EquipmentItem describedBy(const TestDetails &details);
};

Q_DECLARE_METATYPE(EquipmentItem)
