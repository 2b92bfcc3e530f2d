// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "util/csvline.h"

#include <QAbstractItemModel>
#include <QLocale>

namespace {
bool needsQuoting(const QString &cell)
{
    for (const QChar c : cell) {
        if (c == QLatin1Char(',') || c == QLatin1Char('"') || c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            return true;
    }
    return false;
}

// A spreadsheet runs a cell that begins like a formula (=, +, -, @, or a tab
// or carriage return in front of one) as one, and a tag or a note can come
// from anyone on the team: such a cell gets a leading apostrophe, as
// spreadsheet-safe exporters do. A number stays a number.
QString neutralised(const QString &cell)
{
    if (cell.isEmpty())
        return cell;
    const QChar first = cell.front();
    const bool formulaLike = first == QLatin1Char('=') || first == QLatin1Char('+') || first == QLatin1Char('-')
                             || first == QLatin1Char('@') || first == QLatin1Char('\t') || first == QLatin1Char('\r');
    if (!formulaLike)
        return cell;
    bool isNumber = false;
    QLocale::c().toDouble(cell.trimmed(), &isNumber);
    // A lone dash is how the tables say there is no value; nothing runs it.
    return isNumber || cell == QLatin1String("-") ? cell : QLatin1Char('\'') + cell;
}

// Cells that hold a separator, a quote or a line break are quoted with inner
// quotes doubled, so that a locale date such as "Tuesday, 9 December" stays
// one field for every CSV reader.
void appendCell(QString &line, int column, const QString &text)
{
    const QString cell = neutralised(text);
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
