// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <qcustomplot.h>

// A resistance axis in MΩ, labelled in the unit that suits each tick ("800
// MΩ", "1.20 GΩ"). A test's resistance seldom spans more than a decade,
// where even steps read better than powers of ten; over more than a decade
// the steps are 1, 2 and 5 in every decade.
class ResistanceTicker : public QCPAxisTicker
{
protected:
    QString getTickLabel(double tick, const QLocale &locale, QChar formatChar, int precision) override;
    QVector<double> createTickVector(double tickStep, const QCPRange &range) override;
};
