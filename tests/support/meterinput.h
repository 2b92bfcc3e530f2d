// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "meter/dmmdata.h"

#include <QByteArray>
#include <QList>
#include <QSharedPointer>

class MyDMM;
class QSignalSpy;

// Hands `chunk` to the meter connection as one chunk of its input stream.
void feedMeter(MyDMM &meter, const QByteArray &chunk);

// The frames of `frames` that are of the meter's `mode`, in order.
QList<QByteArray> framesOfMode(const QList<QByteArray> &frames, int mode);

// The records a spy on updateLiveData or updateStoreData caught, in order.
QList<QSharedPointer<DMMData>> caughtRecords(const QSignalSpy &spy);
