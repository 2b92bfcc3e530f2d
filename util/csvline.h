// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

class QAbstractItemModel;

// One line of CSV text from cell texts, quoted only where a cell needs it
// and kept from running as a formula in a spreadsheet, and the header and
// row cells of a table model as its views show them.
class CsvLine
{
public:
    CsvLine() = delete;

    // The cells joined by commas, without a line end. A cell that begins
    // with =, +, -, @, a tab or a carriage return and is no number gets a
    // leading apostrophe.
    static QString join(const QStringList &cells);

    static QStringList headerCells(const QAbstractItemModel &model);
    static QStringList rowCells(const QAbstractItemModel &model, int row);
};
