// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "cli/csvrecordwriter.h"

#include "models/datamodel.h"
#include "models/modelfactory.h"
#include "util/csvline.h"

#include <QFile>

// The model holds only the record being written: its cells are the window's,
// while memory stays flat however long the run. The row number, which
// would always read 1, is counted here instead.
struct CsvRecordWriter::ModeFile
{
    std::unique_ptr<QFile> file;
    std::unique_ptr<DataModel> model;
    int rows = 0;
};

CsvRecordWriter::CsvRecordWriter(const QString &directory)
    : m_directory(directory)
{
}

CsvRecordWriter::~CsvRecordWriter() = default;

bool CsvRecordWriter::prepare()
{
    if (m_directory.mkpath(QStringLiteral(".")))
        return true;
    m_error = tr("Cannot create the directory %1.").arg(QDir::toNativeSeparators(m_directory.absolutePath()));
    return false;
}

bool CsvRecordWriter::write(Kind kind, const QSharedPointer<DMMData> &record)
{
    if (!record) {
        m_error = tr("An empty record cannot be written.");
        return false;
    }
    ModeFile *target = modeFile(kind, record->mode);
    if (!target)
        return false;
    target->model->addData(record);
    QStringList cells = CsvLine::rowCells(*target->model, 0);
    target->model->clear();
    cells[DataModel::ColNumber] = QString::number(++target->rows);
    return writeLine(*target->file, cells);
}

QString CsvRecordWriter::errorString() const
{
    return m_error;
}

QString CsvRecordWriter::fileName(Kind kind, int mode)
{
    return QStringLiteral("%1-%2.csv").arg(kindName(kind), DMMData::modeName(mode));
}

CsvRecordWriter::ModeFile *CsvRecordWriter::modeFile(Kind kind, int mode)
{
    const auto key = std::make_pair(kind, mode);
    auto found = m_files.find(key);
    if (found == m_files.end()) {
        std::unique_ptr<ModeFile> created = createModeFile(kind, mode);
        if (!created)
            return nullptr;
        found = m_files.emplace(key, std::move(created)).first;
    }
    return found->second.get();
}

std::unique_ptr<CsvRecordWriter::ModeFile> CsvRecordWriter::createModeFile(Kind kind, int mode)
{
    auto created = std::make_unique<ModeFile>();
    const QList<Column *> columns = m_columns.columns(mode);
    created->model = kind == Kind::Live ? ModelFactory::createLiveModel(mode, columns)
                                        : ModelFactory::createStoredModel(mode, columns);
    if (!created->model) {
        m_error = tr("A record of unknown mode %1 has no table.").arg(mode);
        return nullptr;
    }
    const QString path = m_directory.filePath(fileName(kind, mode));
    created->file = std::make_unique<QFile>(path);
    if (!created->file->open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        m_error = tr("Cannot write %1: %2").arg(QDir::toNativeSeparators(path), created->file->errorString());
        return nullptr;
    }
    if (!writeLine(*created->file, CsvLine::headerCells(*created->model)))
        return nullptr;
    return created;
}

bool CsvRecordWriter::writeLine(QFile &file, const QStringList &cells)
{
    // UTF-8 and a line feed after every line, as the window's export writes.
    const QByteArray line = CsvLine::join(cells).toUtf8() + '\n';
    if (file.write(line) == line.size() && file.flush())
        return true;
    m_error = tr("Cannot write %1: %2").arg(QDir::toNativeSeparators(file.fileName()), file.errorString());
    return false;
}
