// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "report/reportcontent.h"

// The report's options as "options.ini" in the working directory keeps
// them, for the window and the logger alike.
class ReportSettings
{
public:
    ReportSettings() = delete;

    static ReportOptions load();
    static void save(const ReportOptions &options, bool paperFromLocale);
    // False when the file names no paper: it follows the language and country.
    static bool paperIsChosen();
};
