// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

// The file a save dialog's answer names: a name typed without a suffix the
// dialog offers gets the type's own, as the user expects of a save dialog.
class SaveFileName
{
public:
    // `filter` is the dialog's ("File(*.jpg *.png)"); a suffix it offers is
    // kept as typed (case aside), and so is a file that exists; anything
    // else gets `suffix` appended.
    static QString withSuffix(const QString &fileName, const QString &filter, const QString &suffix);
    // The suffixes a filter names, without dots: "Images (*.png *.jpg)" gives png, jpg.
    static QStringList suffixesOf(const QString &filter);
};
