// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "support/csvtext.h"

#include <QAbstractItemModel>
#include <QFile>

namespace CsvText {

QByteArray readAll(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

QList<QStringList> parse(const QString &text)
{
    QList<QStringList> records;
    QStringList fields;
    QString field;
    bool quoted = false;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < text.size() && text[i + 1] == QLatin1Char('"')) {
                field += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            fields << field;
            field.clear();
        } else if (c == QLatin1Char('\n')) {
            fields << field;
            records << fields;
            fields.clear();
            field.clear();
        } else {
            field += c;
        }
    }
    return records;
}

QList<QStringList> readFile(const QString &fileName)
{
    return parse(QString::fromUtf8(readAll(fileName)));
}

QList<QStringList> cellsOf(const QAbstractItemModel &model)
{
    QList<QStringList> lines;
    QStringList header;
    for (int column = 0; column < model.columnCount(); ++column)
        header << model.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    lines << header;
    for (int row = 0; row < model.rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < model.columnCount(); ++column)
            cells << model.data(model.index(row, column), Qt::DisplayRole).toString();
        lines << cells;
    }
    return lines;
}

QList<QStringList> withoutFormulaGuard(QList<QStringList> rows)
{
    for (QStringList &row : rows) {
        for (QString &cell : row) {
            if (cell.size() > 1 && cell.front() == QLatin1Char('\'')
                && QStringLiteral("=+-@\t\r").contains(cell.at(1)))
                cell.remove(0, 1);
        }
    }
    return rows;
}

} // namespace CsvText
