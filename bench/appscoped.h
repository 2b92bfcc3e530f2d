// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QCoreApplication>

#include <memory>

// The one object of T that benchmarks share across runs, made on first use
// and destroyed with the application object, while widgets and timers can
// still be torn down properly.
template <class T>
T &appScoped()
{
    static std::unique_ptr<T> object;
    if (!object) {
        object = std::make_unique<T>();
        qAddPostRoutine([] { object.reset(); });
    }
    return *object;
}
