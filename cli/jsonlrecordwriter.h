// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "cli/recordwriter.h"

#include <QCoreApplication>
#include <QString>

class QIODevice;

// Writes each record as one line of JSON (RecordJson) to an open device.
class JsonlRecordWriter : public RecordWriter
{
    Q_DECLARE_TR_FUNCTIONS(JsonlRecordWriter)

public:
    // `device` must stay open while the writer lives.
    explicit JsonlRecordWriter(QIODevice &device);

    bool write(Kind kind, const QSharedPointer<DMMData> &record) override;
    QString errorString() const override;

private:
    QIODevice &m_device;
    QString m_error;
};
