// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "util/csvline.h"

#include <QAbstractItemModel>

namespace {
bool needsQuoting(const QString &cell)
{
    for (const QChar c : cell) {
        if (c == QLatin1Char(',') || c == QLatin1Char('"') || c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            return true;
    }
    return false;
}

// Cells that hold a separator, a quote or a line break are quoted with inner
// quotes doubled, so that a locale date such as "Tuesday, 9 December" stays
// one field for every CSV reader.
void appendCell(QString &line, int column, const QString &cell)
{
    if (column > 0)
        line += QLatin1Char(',');
    if (!needsQuoting(cell)) {
        line += cell;
        return;
    }
    QString quoted = cell;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    line += QLatin1Char('"') + quoted + QLatin1Char('"');
}
} // namespace

QString CsvLine::join(const QStringList &cells)
{
    QString line;
    for (int c = 0; c < cells.size(); ++c)
        appendCell(line, c, cells.at(c));
    return line;
}

QStringList CsvLine::headerCells(const QAbstractItemModel &model)
{
    QStringList cells;
    for (int c = 0; c < model.columnCount(); ++c)
        cells << model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    return cells;
}

QStringList CsvLine::rowCells(const QAbstractItemModel &model, int row)
{
    QStringList cells;
    for (int c = 0; c < model.columnCount(); ++c)
        cells << model.data(model.index(row, c), Qt::DisplayRole).toString();
    return cells;
}
