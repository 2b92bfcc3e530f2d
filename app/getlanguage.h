// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// The language code stored under "Language" in "options.ini" of the current
// working directory; empty when the file or the key is missing.
QString getLanguage();
