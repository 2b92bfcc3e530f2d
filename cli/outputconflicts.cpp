// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "cli/outputconflicts.h"

#include "cli/csvrecordwriter.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace {
bool clash(const FileIdentity &first, const FileIdentity &second)
{
    return first == second && !first.isCharacterDevice();
}

QString optionText(const QString &option, const QString &path)
{
    return QStringLiteral("%1 %2").arg(option, QDir::toNativeSeparators(path));
}
} // namespace

bool OutputConflicts::check(const LoggerOptions &options)
{
    m_error.clear();
    QList<Output> outputs = recordOutputs(options);
    if (!addOutput(outputs, QStringLiteral("--db"), options.database) || !addJournalFiles(outputs, options.database)
        || !addOutput(outputs, QStringLiteral("--capture"), options.capture))
        return false;
    if (options.replay.isEmpty())
        return true;
    const FileIdentity replayed(options.replay);
    for (const Output &output : outputs) {
        if (clash(replayed, output.file))
            return fail(tr("%1 would overwrite the stream that --replay %2 reads.")
                            .arg(output.option, QDir::toNativeSeparators(options.replay)));
    }
    return true;
}

// A journal counts as an output even when it is only read back: an output
// written over it would destroy it.
bool OutputConflicts::addOutput(QList<Output> &outputs, const QString &option, const QString &path)
{
    if (path.isEmpty())
        return true;
    const Output added{optionText(option, path), FileIdentity(path)};
    for (const Output &output : qAsConst(outputs)) {
        if (clash(added.file, output.file))
            return fail(tr("%1 and %2 name the same file.").arg(added.option, output.option));
    }
    outputs.prepend(added);
    return true;
}

// SQLite keeps a journal's log, its index of the log and its rollback file
// beside it, named after the journal as it was given and as it resolves;
// written over, any of them takes the journal with it.
bool OutputConflicts::addJournalFiles(QList<Output> &outputs, const QString &journal)
{
    if (journal.isEmpty())
        return true;
    QStringList names{journal};
    const QString resolved = FileIdentity::resolvedPath(journal);
    if (resolved != QFileInfo(journal).absoluteFilePath())
        names << resolved;
    const QString option = optionText(QStringLiteral("--db"), journal);
    for (const QString &name : qAsConst(names)) {
        for (const char *suffix : {"-wal", "-shm", "-journal"}) {
            const QString file = name + QLatin1String(suffix);
            const Output added{tr("%1 (its file %2)").arg(option, QDir::toNativeSeparators(file)), FileIdentity(file)};
            for (const Output &output : qAsConst(outputs)) {
                if (clash(added.file, output.file))
                    return fail(tr("%1 would overwrite a file of the journal, %2.").arg(output.option, added.option));
            }
            outputs.append(added);
        }
    }
    return true;
}

// The CSV writer creates its files only as records arrive, but any of them
// may come, so every file it could write counts.
QList<OutputConflicts::Output> OutputConflicts::recordOutputs(const LoggerOptions &options)
{
    if (options.output.isEmpty())
        return {};
    const QString option = optionText(QStringLiteral("--output"), options.output);
    if (options.format == LoggerOptions::Format::Jsonl)
        return {{option, FileIdentity(options.output)}};
    QList<Output> files;
    const QDir directory(options.output);
    for (const RecordWriter::Kind kind : {RecordWriter::Kind::Live, RecordWriter::Kind::Stored}) {
        for (int mode = 0; mode < DMMData::modeCount; ++mode) {
            const QString name = CsvRecordWriter::fileName(kind, mode);
            files.append({tr("%1 (its file %2)").arg(option, name), FileIdentity(directory.filePath(name))});
        }
    }
    return files;
}

bool OutputConflicts::fail(const QString &message)
{
    m_error = message;
    return false;
}
