// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>

#include <chrono>

// Something that keeps a virtual device talking: asked for the next piece of
// its byte stream whenever the device has nothing left to deliver. It is only
// ever called by one reading thread at a time, with the simulation locked, so
// it must not call back into SimulatedHid.
class StreamSource
{
public:
    struct Chunk
    {
        QByteArray bytes;                   // empty: the source has finished
        std::chrono::milliseconds delay{0}; // how long after the request it is due
    };

    virtual ~StreamSource() = default;

    virtual Chunk nextChunk() = 0;
};
