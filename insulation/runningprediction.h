// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "insulation/insulationtest.h"
#include "insulation/piprediction.h"
#include "insulation/pipredictor.h"

#include <optional>
#include <utility>

// The prediction of the test running now, brought up to date with each of its
// readings: one predictor follows one test, and starts afresh with the next.
class RunningPrediction
{
public:
    // The prediction from all the readings of `test`; none for a test the
    // prediction does not follow, or once the curve has reached ten minutes
    // and the PI is measured.
    std::optional<PiPrediction> update(const InsulationTest &test);
    // The test ended: the next one starts afresh.
    void reset();

private:
    bool isFollowed(const InsulationTest &test) const;

    PiPredictor m_predictor;
    // The test followed, by its mode and its first reading.
    std::optional<std::pair<int, qint64>> m_followed;
    int m_pointsSeen = 0;
};
