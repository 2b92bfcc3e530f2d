// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "journal/journalreading.h"

#include "meter/dmmdata.h"
#include "meter/mydmm.h"

#include <QDateTime>

namespace {
constexpr int modeOffset = 5;
} // namespace

QSharedPointer<DMMData> JournalReading::record() const
{
    QSharedPointer<DMMData> decoded = kind == Live ? MyDMM::liveRecordOf(frame) : MyDMM::storedRecordOf(frame);
    if (decoded)
        decoded->dateTime = QDateTime::fromMSecsSinceEpoch(timeMs);
    return decoded;
}

int JournalReading::mode() const
{
    return frame.size() > modeOffset ? quint8(frame.at(modeOffset)) : -1;
}
