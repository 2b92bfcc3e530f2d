// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "journal/tagkey.h"

// Composed first, so that an "Ä" typed as A and a combining mark is the
// same "Ä"; folded last, since folding may decompose.
QString TagKey::of(const QString &tag)
{
    return tag.trimmed().normalized(QString::NormalizationForm_C).toCaseFolded();
}

QString TagKey::unclaimed(const QString &tag, QSet<QString> &taken)
{
    QString kept = tag;
    for (int n = 2; taken.contains(of(kept)); ++n)
        kept = QStringLiteral("%1 (%2)").arg(tag).arg(n);
    taken.insert(of(kept));
    return kept;
}
