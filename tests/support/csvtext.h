// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class QAbstractItemModel;

// Reading back the CSV files the program writes.
namespace CsvText {

// The file's bytes, or "<unreadable>" when it cannot be opened.
QByteArray readAll(const QString &fileName);

// A reader of the RFC 4180 subset the writer produces: quoted fields with
// doubled quotes, line feed at the end of every record.
QList<QStringList> parse(const QString &text);

// The UTF-8 file at `fileName`, parsed.
QList<QStringList> readFile(const QString &fileName);

// The cells as the table showed them: the apostrophe the writer puts before
// a cell that a spreadsheet would run as a formula is taken off again.
QList<QStringList> withoutFormulaGuard(QList<QStringList> rows);

// What a table shows, header first, as the reader gives back its export.
QList<QStringList> cellsOf(const QAbstractItemModel &model);

} // namespace CsvText
