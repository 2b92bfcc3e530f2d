// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "meter/timebox.h"

QString TimeBox::convertString(unsigned short time)
{
    const int minutes = time >> 8;
    const int seconds = time & 0xFF;
    return QStringLiteral("%1:%2").arg(minutes, 2, 10, QLatin1Char('0')).arg(seconds, 2, 10, QLatin1Char('0'));
}
