// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "meter/dmmdata.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QSharedPointer>

#include <memory>

class MyDMM;

// Readings as the decoders make them, from frames built for sample readings
// of every mode: what the benchmarks feed to the meter connection, the
// window, the models and the chart.
class BenchReadings
{
public:
    BenchReadings();
    ~BenchReadings();

    BenchReadings(const BenchReadings &) = delete;
    BenchReadings &operator=(const BenchReadings &) = delete;

    // A reading of the mode with plausible fields; `variant` varies the values.
    static QSharedPointer<DMMData> sample(DMMData::DataMode mode, int variant);
    // The live and the stored frame of every mode: all sixteen layouts.
    static QList<QByteArray> everyLayout(int variant);

    // The next IR reading, decoded from a live frame and stamped 300 ms after
    // the one before, like a meter logging for hours.
    QSharedPointer<DMMData> nextIR();

private:
    std::unique_ptr<MyDMM> m_decoder;
    QList<QByteArray> m_irFrames;
    QSharedPointer<DMMData> m_decoded;
    QDateTime m_start;
    qint64 m_count = 0;
};
