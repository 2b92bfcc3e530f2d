// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// Screens a path before it goes to hidapi, which opens whatever file it is
// given and then treats it as a hidraw node: on /dev/null, a serial port or a
// plain file that ends in a crash instead of an error.
class HidrawPath
{
public:
    HidrawPath() = delete;

    // False when `path` names a file that is not a hidraw character device.
    // A path that names nothing in the filesystem passes: hidapi fails on it
    // cleanly, and the simulated meter's paths are of that kind.
    [[nodiscard]] static bool isOpenable(const QString &path);

private:
    static bool isHidrawDevice(unsigned int major, unsigned int minor);
};
