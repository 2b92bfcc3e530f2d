// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "insulation/piprediction.h"
#include "insulation/predictionreview.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// The PI prediction in words, as the windows show it beside the measurement:
// one decimal, the band rounded outwards so that it never looks narrower
// than it is, the same digits in every locale.
class PredictionText
{
    Q_DECLARE_TR_FUNCTIONS(PredictionText)

public:
    PredictionText() = delete;

    // "2.4"; "-" for NaN.
    static QString pi(double value);
    // "2.4 (2.1–2.8)": the estimate with its band.
    static QString banded(const PiPrediction &prediction);
    // "PI at 10 min: 2.4 expected (2.1–2.8)", or
    // "PI at 10 min: not yet predictable (too early in the test)".
    static QString line(const PiPrediction &prediction);
    // The same without the reason, for a line short of room.
    static QString shortLine(const PiPrediction &prediction);
    // "3 min", "1 min 30 s".
    static QString elapsed(double seconds);
    // The cells of a review row: from when, what was predicted, whether the
    // band held the measured PI.
    static QStringList reviewCells(const PredictionReview::Row &row);
};
