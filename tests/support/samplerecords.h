// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "meter/dmmdata.h"

#include <QDateTime>
#include <QSharedPointer>

// Records of every mode filled with plausible readings, for tests that feed
// the window. Tests change the fields they are about.
namespace SampleRecords {

// A fixed moment, so that keys and time texts are the same on every run.
QDateTime baseTime();

QSharedPointer<DMMDataIR> ir();
QSharedPointer<DMMDataTime> time();
QSharedPointer<DMMDataPI> pi();
QSharedPointer<DMMDataDAR> dar();
QSharedPointer<DMMDataCOMP> comp();
QSharedPointer<DMMDataCAP> cap();
QSharedPointer<DMMDataVOLT> volt();
QSharedPointer<DMMDataRES> res();

// A record of the given mode as created by its decoder.
QSharedPointer<DMMData> ofMode(DMMData::DataMode mode);

// An IR record with the given resistance, taken `seconds` after baseTime().
QSharedPointer<DMMDataIR> irAt(double seconds, double value, const QString &unit = QStringLiteral("MΩ"));

} // namespace SampleRecords
