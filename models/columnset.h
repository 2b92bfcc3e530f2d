// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QList>

#include <memory>
#include <vector>

struct Column;

// Builds and owns the column lists of the eight modes, in the order of
// DMMData::DataMode; a mode's live and stored model share its list. Titles
// are translated when the set is built, so build it after the translators
// are installed, and keep it alive as long as the models that use it.
class ColumnSet
{
public:
    ColumnSet();
    ~ColumnSet();

    ColumnSet(const ColumnSet &) = delete;
    ColumnSet &operator=(const ColumnSet &) = delete;

    // The columns of one mode; empty for a value that names no mode.
    QList<Column *> columns(int mode) const;
    // All eight lists, indexed by mode.
    QList<QList<Column *>> lists() const;

private:
    std::vector<std::unique_ptr<Column>> m_owned;
    QList<QList<Column *>> m_lists;
};
