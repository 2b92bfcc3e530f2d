// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>

// The test points a form offers: the usual connections of a three-phase
// machine's windings and of a cable's cores, each to earth and between
// them. Any other text is a test point as well.
class TestPoints
{
public:
    TestPoints() = delete;

    static QStringList suggestions();
};
