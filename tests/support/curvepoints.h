// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "insulation/insulationtest.h"

#include <limits>

// The shorthand the insulation tests write curves and missing values in.
namespace CurvePoints {
// A value that is not there.
inline const double none = std::numeric_limits<double>::quiet_NaN();

CurvePoint point(double seconds, double megohms, bool overRange = false);
} // namespace CurvePoints
