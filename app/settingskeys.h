// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

// The settings file and its keys, named once for every reader and writer.
namespace SettingsKeys {
inline constexpr char fileName[] = "options.ini";
inline constexpr char geometry[] = "geometry";
inline constexpr char language[] = "Language";
inline constexpr char samplePoints[] = "SamplePoints";
inline constexpr char sampleInterval[] = "SampleInterval";
inline constexpr char recordAtTesttime[] = "RecordAtTesttime";
} // namespace SettingsKeys
