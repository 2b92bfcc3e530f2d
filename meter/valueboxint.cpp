// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "meter/valueboxint.h"

QString ValueBoxInt::toString() const
{
    return QStringLiteral("%1 %2").arg(text, unit);
}
