// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "insulation/predictionreview.h"

#include "insulation/pipredictor.h"
#include "meter/dmmdata.h"

#include <cmath>

bool PredictionReview::follows(const InsulationTest &test)
{
    if (test.curve.isEmpty())
        return false;
    if (test.mode == DMMData::dmPI)
        return true;
    return test.mode == DMMData::dmTime
           && (test.setSeconds >= PiPredictor::tenMinutes
               || test.curve.constLast().seconds >= PiPredictor::tenMinutes);
}

bool PredictionReview::reachesTenMinutes(const InsulationTest &test)
{
    return follows(test) && test.curve.constLast().seconds >= PiPredictor::tenMinutes;
}

QVector<PredictionReview::Row> PredictionReview::rows(const InsulationTest &test, double measuredPi)
{
    QVector<Row> rows;
    if (!reachesTenMinutes(test))
        return rows;
    for (const double seconds : reviewSeconds) {
        Row row;
        row.fromSeconds = seconds;
        // A fresh predictor for each: what a test run up to then would have shown.
        row.prediction = PiPredictor().predict(test.curve, seconds);
        row.held = row.prediction.isMade() && std::isfinite(measuredPi) && row.prediction.piLow <= measuredPi
                   && measuredPi <= row.prediction.piHigh;
        rows.append(row);
    }
    return rows;
}
