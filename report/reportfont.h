// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>
#include <QString>

// The font a report is set in: the application's, and where that lacks
// characters of the report (Chinese, a tag typed in Japanese), a family
// that has them, found by writing system. The PDF embeds what it draws.
class ReportFont
{
public:
    ReportFont() = delete;

    static QFont forText(const QString &text);
    // A family with all of `characters` (or the most of them); empty when
    // no family of an East Asian writing system has any.
    static QString familyWith(const QString &characters);
    // The characters of `text` that `font` has no glyph for.
    static QString missingFrom(const QFont &font, const QString &text);
};
