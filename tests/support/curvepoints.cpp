// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "support/curvepoints.h"

CurvePoint CurvePoints::point(double seconds, double megohms, bool overRange)
{
    CurvePoint result;
    result.seconds = seconds;
    result.megohms = megohms;
    result.overRange = overRange;
    return result;
}
