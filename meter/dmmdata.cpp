// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "meter/dmmdata.h"

#include <QMetaEnum>

namespace {
// Registered once for queued connections and QVariant use of records.
const int sharedRecordTypeId = qRegisterMetaType<QSharedPointer<DMMData>>("QSharedPointer<DMMData>");
} // namespace

DMMData::DMMData()
    : QObject(nullptr)
{
    Q_UNUSED(sharedRecordTypeId)
}

DMMData::~DMMData() = default;

QString DMMData::modeName(int mode)
{
    const QMetaObject &meta = DMMData::staticMetaObject;
    const QMetaEnum modes = meta.enumerator(meta.indexOfEnumerator("DataMode"));
    const char *key = modes.valueToKey(mode);
    return key ? QString::fromLatin1(key).mid(2) : QString();
}

DMMDataIR::DMMDataIR() { mode = dmIR; }
DMMDataIR::~DMMDataIR() = default;

DMMDataTime::DMMDataTime() { mode = dmTime; }
DMMDataTime::~DMMDataTime() = default;

DMMDataPIDAR::DMMDataPIDAR() = default;
DMMDataPIDAR::~DMMDataPIDAR() = default;

DMMDataPI::DMMDataPI() { mode = dmPI; }
DMMDataPI::~DMMDataPI() = default;

DMMDataDAR::DMMDataDAR() { mode = dmDAR; }
DMMDataDAR::~DMMDataDAR() = default;

DMMDataCOMP::DMMDataCOMP() { mode = dmCOMP; }
DMMDataCOMP::~DMMDataCOMP() = default;

DMMDataCAP::DMMDataCAP() { mode = dmCAP; }
DMMDataCAP::~DMMDataCAP() = default;

DMMDataVOLT::DMMDataVOLT() { mode = dmVOLT; }
DMMDataVOLT::~DMMDataVOLT() = default;

DMMDataRES::DMMDataRES() { mode = dmRES; }
DMMDataRES::~DMMDataRES() = default;
