// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QSet>
#include <QString>

// The one rule by which two tags name the same item, in the journal and on
// the team server alike: the same letters after Unicode case folding, not
// only ASCII's ("PUMPE-Ä1" and "pumpe-ä1" are one tag). Both sides keep the
// key beside the tag, made by this program, and index it as unique.
class TagKey
{
public:
    TagKey() = delete;

    // Of a tag as typed: trimmed, composed (NFC), case folded.
    static QString of(const QString &tag);
    // The tag, or the tag with a number after it ("P-101 (2)"), whose key is
    // not among `taken`; its key is added to them.
    static QString unclaimed(const QString &tag, QSet<QString> &taken);
};
