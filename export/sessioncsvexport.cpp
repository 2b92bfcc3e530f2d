// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "export/sessioncsvexport.h"

#include "models/columnset.h"
#include "models/datamodel.h"
#include "models/modelfactory.h"
#include "util/csvline.h"
#include "util/safefile.h"

#include <QCoreApplication>
#include <QDir>
#include <QVector>

#include <memory>
#include <vector>

namespace {
QVector<QList<QSharedPointer<DMMData>>> byMode(const QList<QSharedPointer<DMMData>> &records)
{
    QVector<QList<QSharedPointer<DMMData>>> modes(DMMData::modeCount);
    for (const QSharedPointer<DMMData> &record : records) {
        if (record && record->mode >= 0 && record->mode < DMMData::modeCount)
            modes[record->mode].append(record);
    }
    return modes;
}
} // namespace

SessionCsvExport::SessionCsvExport(const QList<QSharedPointer<DMMData>> &live,
                                   const QList<QSharedPointer<DMMData>> &stored)
    : m_live(live)
    , m_stored(stored)
{
}

QString SessionCsvExport::fileName(bool stored, int mode)
{
    return QStringLiteral("%1-%2.csv").arg(stored ? QStringLiteral("stored") : QStringLiteral("live"),
                                           DMMData::modeName(mode));
}

QStringList SessionCsvExport::fileNames() const
{
    QStringList names;
    for (const bool stored : {false, true}) {
        const auto modes = byMode(stored ? m_stored : m_live);
        for (int mode = 0; mode < DMMData::modeCount; ++mode) {
            if (!modes.at(mode).isEmpty())
                names << fileName(stored, mode);
        }
    }
    return names;
}

bool SessionCsvExport::write(const QString &directory, BackgroundJob::Context *context)
{
    const ColumnSet columns;
    const QDir target(directory);
    const qint64 total = m_live.size() + m_stored.size();
    qint64 done = 0;
    std::vector<std::unique_ptr<SafeFile>> files;
    for (const bool stored : {false, true}) {
        const auto modes = byMode(stored ? m_stored : m_live);
        for (int mode = 0; mode < DMMData::modeCount; ++mode) {
            if (modes.at(mode).isEmpty())
                continue;
            const std::unique_ptr<DataModel> model = stored ? ModelFactory::createStoredModel(mode, columns.columns(mode))
                                                            : ModelFactory::createLiveModel(mode, columns.columns(mode));
            model->addRecords(modes.at(mode));
            auto file = std::make_unique<SafeFile>(target.filePath(fileName(stored, mode)));
            bool written = file->open() && file->write((CsvLine::join(CsvLine::headerCells(*model)) + '\n').toUtf8());
            for (int row = 0; written && row < model->rowCount(); ++row) {
                if (context && context->isCancelled())
                    return false;
                written = file->write((CsvLine::join(CsvLine::rowCells(*model, row)) + '\n').toUtf8());
                if (context)
                    context->setProgress(++done, total);
            }
            if (!written) {
                m_error = QCoreApplication::translate("SessionCsvExport", "Cannot write %1: %2")
                              .arg(QDir::toNativeSeparators(target.filePath(fileName(stored, mode))),
                                   file->errorString());
                return false;
            }
            files.push_back(std::move(file));
        }
    }
    // All or nothing, as far as renaming files allows.
    for (const std::unique_ptr<SafeFile> &file : files) {
        if (!file->commit()) {
            m_error = file->errorString();
            return false;
        }
    }
    return true;
}
