// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

class QCoreApplication;
class QTranslator;

// Applies a configured language code at start-up: "zh_CN" (exactly) sets the
// Chinese locale and installs whichever of the two catalogues can be loaded
// from the working directory; any other code changes nothing.
// Returns true when the code selected Chinese.
bool installLanguage(QCoreApplication &app, const QString &language,
                     QTranslator &appTranslator, QTranslator &toolkitTranslator);

// What to tell the user when Chinese was chosen but the program's own
// catalogue could not be loaded, so that its texts stay English; empty
// otherwise.
QString missingLanguageNotice(const QString &language, const QTranslator &appTranslator);
