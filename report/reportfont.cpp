// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "report/reportfont.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QRawFont>
#include <QSet>
#include <QVector>

#include <algorithm>

namespace {
// The systems whose fonts also carry Latin letters and digits: a fallback
// among them can set a whole report.
const QFontDatabase::WritingSystem eastAsian[] = {QFontDatabase::SimplifiedChinese, QFontDatabase::TraditionalChinese,
                                                  QFontDatabase::Japanese, QFontDatabase::Korean};

bool needsNoGlyph(uint character)
{
    return QChar::isSpace(character) || QChar::category(character) == QChar::Other_Control
           || QChar::category(character) == QChar::Other_Format;
}

int countSupported(const QRawFont &font, const QVector<uint> &characters)
{
    int count = 0;
    for (const uint character : characters)
        count += font.supportsCharacter(character) ? 1 : 0;
    return count;
}

// Sans faces before serif ones, which look out of place in a table.
bool looksSerif(const QString &family)
{
    return family.contains(QLatin1String("Serif"), Qt::CaseInsensitive)
           || family.contains(QLatin1String("Ming"), Qt::CaseInsensitive)
           || family.contains(QLatin1String("Song"), Qt::CaseInsensitive);
}
} // namespace

QFont ReportFont::forText(const QString &text)
{
    QFont font = QGuiApplication::font();
    const QString missing = missingFrom(font, text);
    if (missing.isEmpty())
        return font;
    const QString family = familyWith(missing);
    if (!family.isEmpty())
        font.setFamilies({QFontInfo(font).family(), family});
    return font;
}

QString ReportFont::familyWith(const QString &characters)
{
    const QVector<uint> wanted = characters.toUcs4();
    const QFontDatabase database;
    QStringList candidates;
    for (const QFontDatabase::WritingSystem system : eastAsian) {
        for (const QString &family : database.families(system)) {
            if (!candidates.contains(family))
                candidates << family;
        }
    }
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const QString &a, const QString &b) { return !looksSerif(a) && looksSerif(b); });
    QString best;
    int bestCount = 0;
    for (const QString &family : qAsConst(candidates)) {
        const int count = countSupported(QRawFont::fromFont(QFont(family)), wanted);
        if (count > bestCount) {
            best = family;
            bestCount = count;
        }
        if (count == wanted.size())
            break;
    }
    return best;
}

QString ReportFont::missingFrom(const QFont &font, const QString &text)
{
    const QRawFont raw = QRawFont::fromFont(font);
    QSet<uint> seen;
    QString missing;
    for (const uint character : text.toUcs4()) {
        if (needsNoGlyph(character) || seen.contains(character))
            continue;
        seen.insert(character);
        if (!raw.supportsCharacter(character))
            missing += QString::fromUcs4(&character, 1);
    }
    return missing;
}
