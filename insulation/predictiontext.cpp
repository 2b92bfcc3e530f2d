// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "insulation/predictiontext.h"

#include <cmath>

namespace {
const QString dash = QStringLiteral("-");

QString oneDecimal(double value)
{
    return QString::number(value, 'f', 1);
}

// Tenths of a PI that is already a whole number of them stay put, though
// the product with ten is a hair off in binary.
constexpr double tenthSlack = 1e-9;

// "2.1–2.8", each end rounded away from the estimate.
QString band(const PiPrediction &prediction)
{
    return QStringLiteral("%1\u2013%2")
        .arg(oneDecimal(std::floor(prediction.piLow * 10.0 + tenthSlack) / 10.0),
             oneDecimal(std::ceil(prediction.piHigh * 10.0 - tenthSlack) / 10.0));
}
} // namespace

QString PredictionText::pi(double value)
{
    return std::isfinite(value) ? oneDecimal(std::round(value * 10.0) / 10.0) : dash;
}

QString PredictionText::banded(const PiPrediction &prediction)
{
    if (!prediction.isMade())
        return dash;
    return QStringLiteral("%1 (%2)").arg(pi(prediction.pi), band(prediction));
}

QString PredictionText::line(const PiPrediction &prediction)
{
    if (!prediction.isMade())
        return tr("PI at 10 min: not yet predictable (%1)").arg(prediction.reasonText());
    return tr("PI at 10 min: %1 expected (%2)").arg(pi(prediction.pi), band(prediction));
}

QString PredictionText::shortLine(const PiPrediction &prediction)
{
    if (!prediction.isMade())
        return tr("PI at 10 min: not yet predictable");
    return line(prediction);
}

QString PredictionText::elapsed(double seconds)
{
    const int whole = int(std::lround(seconds));
    const int minutes = whole / 60;
    const int rest = whole % 60;
    if (minutes == 0)
        return tr("%1 s").arg(rest);
    if (rest == 0)
        return tr("%1 min").arg(minutes);
    return tr("%1 min %2 s").arg(minutes).arg(rest);
}

QStringList PredictionText::reviewCells(const PredictionReview::Row &row)
{
    const PiPrediction &prediction = row.prediction;
    if (!prediction.isMade())
        return {elapsed(row.fromSeconds), tr("not yet predictable (%1)").arg(prediction.reasonText()), QString()};
    return {elapsed(row.fromSeconds), banded(prediction), row.held ? tr("within the band") : tr("outside the band")};
}
