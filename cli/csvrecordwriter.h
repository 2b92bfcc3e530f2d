// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "cli/recordwriter.h"
#include "models/columnset.h"

#include <QCoreApplication>
#include <QDir>
#include <QString>

#include <map>
#include <memory>
#include <utility>

class DataModel;
class QFile;

// Writes records into one CSV file per kind and mode ("live-IR.csv",
// "stored-PI.csv", ...) with the columns and cell texts of the window's
// tables, as its export writes them. A file is created, replacing any older
// one, when the first record of its kind and mode arrives.
class CsvRecordWriter : public RecordWriter
{
    Q_DECLARE_TR_FUNCTIONS(CsvRecordWriter)

public:
    explicit CsvRecordWriter(const QString &directory);
    ~CsvRecordWriter() override;

    // Creates the directory if needed; false when that fails.
    [[nodiscard]] bool prepare();

    bool write(Kind kind, const QSharedPointer<DMMData> &record) override;
    QString errorString() const override;

    static QString fileName(Kind kind, int mode);

private:
    struct ModeFile;

    ModeFile *modeFile(Kind kind, int mode);
    std::unique_ptr<ModeFile> createModeFile(Kind kind, int mode);
    bool writeLine(QFile &file, const QStringList &cells);

    QDir m_directory;
    ColumnSet m_columns;
    std::map<std::pair<Kind, int>, std::unique_ptr<ModeFile>> m_files;
    QString m_error;
};
