// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "journal/tagkey.h"

// Composed first, so that an "Ä" typed as A and a combining mark is the
// same "Ä"; folded last, since folding may decompose.
QString TagKey::of(const QString &tag)
{
    return tag.trimmed().normalized(QString::NormalizationForm_C).toCaseFolded();
}
