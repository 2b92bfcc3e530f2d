// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <qcustomplot.h>

// Ticks of a logarithmic resistance axis, labelled in the unit that suits
// them ("800 MΩ", "1.20 GΩ"): round steps within a decade, steps of 1, 2
// and 5 over a few decades, powers of ten beyond.
class MegohmTicker : public QCPAxisTicker
{
protected:
    QString getTickLabel(double tick, const QLocale &locale, QChar formatChar, int precision) override;
    QVector<double> createTickVector(double tickStep, const QCPRange &range) override;
};
