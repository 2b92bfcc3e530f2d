// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// One table column: the header text the views and exports show, and the
// untranslated column text it was made from.
struct Column
{
    Column(const QString &columnText, const QString &translatedTitle)
        : title(translatedTitle)
        , name(columnText)
    {
    }

    QString title;
    QString name;
    int reserved = 1; // kept at 1; nothing reads it
};
