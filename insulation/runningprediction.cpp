// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "insulation/runningprediction.h"

#include "insulation/predictionreview.h"

std::optional<PiPrediction> RunningPrediction::update(const InsulationTest &test)
{
    if (!PredictionReview::follows(test)) {
        reset();
        return std::nullopt;
    }
    // A fit that starts from another test's law would only find it slowly.
    if (!isFollowed(test)) {
        m_predictor = PiPredictor();
        m_followed = std::make_pair(test.mode, test.startedMs);
    }
    m_pointsSeen = test.curve.size();
    const PiPrediction prediction = m_predictor.predict(test.curve, test.curve.constLast().seconds);
    if (prediction.measured)
        return std::nullopt;
    return prediction;
}

void RunningPrediction::reset()
{
    m_predictor = PiPredictor();
    m_followed.reset();
    m_pointsSeen = 0;
}

// The same test grows; a curve shorter than before is another one.
bool RunningPrediction::isFollowed(const InsulationTest &test) const
{
    return m_followed && *m_followed == std::make_pair(test.mode, test.startedMs)
           && test.curve.size() >= m_pointsSeen;
}
