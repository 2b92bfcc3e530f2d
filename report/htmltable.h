// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// A table of the report as HTML for Qt's rich text: columns of fixed
// shares of the page, so that every table of one kind lines up, and header
// rows that the report repeats where the table continues on a new page.
class HtmlTable
{
public:
    enum class Style { Plain, Label, Head, ColumnHead, Group };

    struct Cell
    {
        QString html;
        Style style = Style::Plain;
        int span = 1;
    };

    // The columns' widths in percent of the page.
    explicit HtmlTable(const QVector<int> &columnPercents);

    void addHeaderRow(const QVector<Cell> &cells);
    // A last cell short of the table's width spans the columns left.
    void addRow(const QVector<Cell> &cells);
    bool isEmpty() const { return m_rows.isEmpty(); }
    QString html() const;

    // The look of the styles, for the document that holds the tables.
    static QString styleSheet();
    static Cell label(const QString &text);
    static Cell value(const QString &text, int span = 1);

private:
    QString rowHtml(const QVector<Cell> &cells) const;

    QVector<int> m_columns;
    QStringList m_header;
    QStringList m_rows;
};
