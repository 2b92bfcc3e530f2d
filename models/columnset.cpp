// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "models/columnset.h"

#include "meter/dmmdata.h"
#include "models/column.h"

#include <QCoreApplication>

#include <array>

namespace {

constexpr char context[] = "TemplateWindow";

const char *const textNo = QT_TRANSLATE_NOOP("TemplateWindow", "No.");
const char *const textDateTime = QT_TRANSLATE_NOOP("TemplateWindow", "Date/Time");
const char *const textMode = QT_TRANSLATE_NOOP("TemplateWindow", "Mode");
const char *const textRes = QT_TRANSLATE_NOOP("TemplateWindow", "RES");
const char *const textRes1 = QT_TRANSLATE_NOOP("TemplateWindow", "RES1");
const char *const textRes2 = QT_TRANSLATE_NOOP("TemplateWindow", "RES2");
const char *const textResComp = QT_TRANSLATE_NOOP("TemplateWindow", "RES-COMP");
const char *const textResult = QT_TRANSLATE_NOOP("TemplateWindow", "Result");
const char *const textLc = QT_TRANSLATE_NOOP("TemplateWindow", "LC");
const char *const textVSet = QT_TRANSLATE_NOOP("TemplateWindow", "V-Set");
const char *const textVOut = QT_TRANSLATE_NOOP("TemplateWindow", "V-Out");
const char *const textDar = QT_TRANSLATE_NOOP("TemplateWindow", "DAR");
const char *const textPi = QT_TRANSLATE_NOOP("TemplateWindow", "PI");
const char *const textTime = QT_TRANSLATE_NOOP("TemplateWindow", "Time");
const char *const textTimeSet = QT_TRANSLATE_NOOP("TemplateWindow", "Time-Set");
const char *const textTimeSet1 = QT_TRANSLATE_NOOP("TemplateWindow", "Time-Set1");
const char *const textTimeSet2 = QT_TRANSLATE_NOOP("TemplateWindow", "Time-Set2");
const char *const textCap = QT_TRANSLATE_NOOP("TemplateWindow", "CAP");
const char *const textVolt = QT_TRANSLATE_NOOP("TemplateWindow", "VOLT");
// The AC/DC column is titled from "ACDC"; its name keeps the slash.
const char *const textAcDcName = "AC/DC";
const char *const textAcDcTitle = QT_TRANSLATE_NOOP("TemplateWindow", "ACDC");

struct ColumnText
{
    const char *name;
    const char *titleSource;
};

constexpr ColumnText same(const char *text)
{
    return {text, text};
}

// Each mode's own columns, in mode order; every list starts with the common three.
const std::array<std::vector<ColumnText>, DMMData::modeCount> modeColumns = {{
    /* IR   */ {same(textRes), same(textLc), same(textVSet), same(textVOut), same(textDar), same(textPi),
                same(textTime)},
    /* TIME */ {same(textRes), same(textTime), same(textTimeSet), same(textLc), same(textVSet), same(textVOut)},
    /* PI   */ {same(textRes1), same(textRes2), same(textPi), same(textTime), same(textTimeSet1),
                same(textTimeSet2), same(textLc), same(textVSet), same(textVOut)},
    /* DAR  */ {same(textRes1), same(textRes2), same(textDar), same(textTime), same(textTimeSet1),
                same(textTimeSet2), same(textLc), same(textVSet), same(textVOut)},
    /* COMP */ {same(textResComp), same(textRes), same(textResult), same(textLc), same(textVSet), same(textVOut)},
    /* CAP  */ {same(textCap), same(textVSet)},
    /* VOLT */ {same(textVolt), {textAcDcName, textAcDcTitle}},
    /* RES  */ {same(textRes)},
}};

const std::array<ColumnText, 3> commonColumns = {{same(textNo), same(textDateTime), same(textMode)}};

} // namespace

ColumnSet::ColumnSet()
{
    for (const std::vector<ColumnText> &own : modeColumns) {
        QList<Column *> list;
        const auto add = [&](const ColumnText &text) {
            m_owned.push_back(std::make_unique<Column>(QString::fromUtf8(text.name),
                                                       QCoreApplication::translate(context, text.titleSource)));
            list.append(m_owned.back().get());
        };
        for (const ColumnText &text : commonColumns)
            add(text);
        for (const ColumnText &text : own)
            add(text);
        m_lists.append(list);
    }
}

ColumnSet::~ColumnSet() = default;

QList<Column *> ColumnSet::columns(int mode) const
{
    return m_lists.value(mode);
}

QList<QList<Column *>> ColumnSet::lists() const
{
    return m_lists;
}
