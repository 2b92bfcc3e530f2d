// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "journal/journalreading.h"

#include "meter/dmmdata.h"
#include "meter/framedecoder.h"

#include <QDateTime>

namespace {
constexpr int modeOffset = 5;
} // namespace

QSharedPointer<DMMData> JournalReading::record() const
{
    const QDateTime time = QDateTime::fromMSecsSinceEpoch(timeMs);
    return kind == Live ? FrameDecoder::liveRecordOf(frame, time) : FrameDecoder::storedRecordOf(frame, time);
}

int JournalReading::mode() const
{
    return frame.size() > modeOffset ? quint8(frame.at(modeOffset)) : -1;
}
