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
// The test report: who makes it and on what paper ("A4", "Letter", or
// absent: as the language and country have it).
inline constexpr char reportCompany[] = "ReportCompany";
inline constexpr char reportLogo[] = "ReportLogo";
inline constexpr char reportPaper[] = "ReportPaper";
inline constexpr char reportTechnician[] = "ReportTechnician";
// The team's shared server. No password is ever kept here: libpq takes it
// from its own password or service file, or the program asks once per run.
inline constexpr char syncEnabled[] = "SyncEnabled";
inline constexpr char syncHost[] = "SyncHost";
inline constexpr char syncPort[] = "SyncPort";
inline constexpr char syncDatabase[] = "SyncDatabase";
inline constexpr char syncUser[] = "SyncUser";
inline constexpr char syncService[] = "SyncService";
// libpq's sslmode: "disable", "require" or "verify-full".
inline constexpr char syncTls[] = "SyncTls";
} // namespace SettingsKeys
