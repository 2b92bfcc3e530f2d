// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "cli/jsonlrecordwriter.h"

#include "cli/recordjson.h"

#include <QDir>
#include <QFileDevice>
#include <QIODevice>

JsonlRecordWriter::JsonlRecordWriter(QIODevice &device)
    : m_device(device)
{
}

bool JsonlRecordWriter::write(Kind kind, const QSharedPointer<DMMData> &record)
{
    if (!record) {
        m_error = tr("An empty record cannot be written.");
        return false;
    }
    const QByteArray line = RecordJson::line(kind, *record) + '\n';
    auto *file = qobject_cast<QFileDevice *>(&m_device);
    const bool written = m_device.write(line) == line.size() && (!file || file->flush());
    if (!written) {
        const QString name = file && !file->fileName().isEmpty() ? QDir::toNativeSeparators(file->fileName())
                                                                 : tr("the records");
        m_error = tr("Cannot write %1: %2").arg(name, m_device.errorString());
    }
    return written;
}

QString JsonlRecordWriter::errorString() const
{
    return m_error;
}
