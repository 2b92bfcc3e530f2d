// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QCoreApplication>

class QComboBox;
class QDoubleSpinBox;

// The choices of the forms that describe equipment (the test details, the
// register's items), and their spin boxes whose lowest value means "not
// given".
class DetailsChoices
{
    Q_DECLARE_TR_FUNCTIONS(DetailsChoices)

public:
    DetailsChoices() = delete;

    static void fillKinds(QComboBox &box);
    static void fillClasses(QComboBox &box);
    static void fillWindings(QComboBox &box);
    static void fillMedia(QComboBox &box);
    static void fillCorrections(QComboBox &box);
    // Editable: the usual test points offered, any other typed.
    static void fillTestPoints(QComboBox &box);
    static void select(QComboBox &box, int value);
    static int chosen(const QComboBox &box);

    // NaN at the spin box's lowest value.
    static double value(const QDoubleSpinBox &spin);
    static void setValue(QDoubleSpinBox &spin, double value);
};
