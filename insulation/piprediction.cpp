// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "insulation/piprediction.h"

#include "insulation/reasontext.h"

#include <cmath>

QString PiPrediction::reasonText() const
{
    switch (refusal) {
    case Refusal::None:
        break;
    case Refusal::TooEarly:
        return tr("too early in the test");
    case Refusal::BreaksDown:
        return tr("the resistance collapsed: the insulation broke down");
    case Refusal::OverRange:
        return tr("the resistance is beyond the meter's range");
    case Refusal::Jumps:
        return tr("the readings jump");
    case Refusal::Falls:
        return tr("the resistance falls too fast");
    case Refusal::Irregular:
        return tr("the curve does not follow charging insulation");
    case Refusal::TooUncertain:
        if (std::isfinite(piLow) && std::isfinite(piHigh))
            return tr("the band would be too wide (PI %1 to %2)")
                .arg(ReasonText::exact(std::round(piLow * 100.0) / 100.0, 1),
                     ReasonText::exact(std::round(piHigh * 100.0) / 100.0, 1));
        return tr("the band would be too wide");
    }
    return QString();
}
