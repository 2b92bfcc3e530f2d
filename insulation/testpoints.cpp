// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "insulation/testpoints.h"

// Written as they are marked on terminals and in test sheets, in no
// language of their own.
QStringList TestPoints::suggestions()
{
    return {QStringLiteral("U-E"),   QStringLiteral("V-E"),   QStringLiteral("W-E"),   QStringLiteral("U-V"),
            QStringLiteral("V-W"),   QStringLiteral("W-U"),   QStringLiteral("all-E"), QStringLiteral("L1-E"),
            QStringLiteral("L2-E"),  QStringLiteral("L3-E"),  QStringLiteral("L1-L2"), QStringLiteral("L2-L3"),
            QStringLiteral("L3-L1")};
}
