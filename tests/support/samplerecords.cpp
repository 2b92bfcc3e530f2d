// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "support/samplerecords.h"

namespace SampleRecords {

namespace {
ValueBox box(const QString &text, double value, const QString &unit)
{
    return ValueBox{text, value, unit};
}

ValueBoxInt intBox(int value, const QString &unit)
{
    return ValueBoxInt{QString::number(value), value, unit};
}

template <class Record>
QSharedPointer<Record> stamped()
{
    QSharedPointer<Record> record(new Record);
    record->dateTime = baseTime();
    return record;
}

void fillInsulation(DMMDataIR &record)
{
    record.resistance = box(QStringLiteral("12.3"), 12.3, QStringLiteral("GΩ"));
    record.leakageCurrent = box(QStringLiteral("0.04"), 0.04, QStringLiteral("uA"));
    record.setVoltage = intBox(500, QStringLiteral("V"));
    record.outputVoltage = intBox(498, QStringLiteral("V"));
    record.testTime = 0x0105;
}

void fillTimed(DMMDataTime &record)
{
    fillInsulation(record);
    record.elapsedTime = 0x0230;
    record.setTime = 0x0a00;
}

void fillRatio(DMMDataPIDAR &record)
{
    fillTimed(record);
    record.resistance = box(QStringLiteral("5.20"), 5.2, QStringLiteral("GΩ"));
    record.resistance2 = box(QStringLiteral("11.4"), 11.4, QStringLiteral("GΩ"));
    record.setTime = 0x0100;
    record.setTime2 = 0x0a00;
}
} // namespace

QDateTime baseTime()
{
    return QDateTime(QDate(2026, 3, 14), QTime(9, 26, 53, 500), Qt::UTC);
}

QSharedPointer<DMMDataIR> ir()
{
    auto record = stamped<DMMDataIR>();
    fillInsulation(*record);
    record->dar = box(QStringLiteral("1.52"), 1.52, QString());
    record->pi = box(QStringLiteral("2.31"), 2.31, QString());
    return record;
}

QSharedPointer<DMMDataTime> time()
{
    auto record = stamped<DMMDataTime>();
    fillTimed(*record);
    return record;
}

QSharedPointer<DMMDataPI> pi()
{
    auto record = stamped<DMMDataPI>();
    fillRatio(*record);
    record->piRatio = box(QStringLiteral("2.19"), 2.19, QString());
    return record;
}

QSharedPointer<DMMDataDAR> dar()
{
    auto record = stamped<DMMDataDAR>();
    fillRatio(*record);
    record->darRatio = box(QStringLiteral("1.37"), 1.37, QString());
    return record;
}

QSharedPointer<DMMDataCOMP> comp()
{
    auto record = stamped<DMMDataCOMP>();
    fillInsulation(*record);
    record->compareLimit = intBox(100, QStringLiteral("MΩ"));
    record->result = 2;
    return record;
}

QSharedPointer<DMMDataCAP> cap()
{
    auto record = stamped<DMMDataCAP>();
    record->capacitance = box(QStringLiteral("0.47"), 0.47, QStringLiteral("μF"));
    record->setVoltage = intBox(1000, QStringLiteral("V"));
    return record;
}

QSharedPointer<DMMDataVOLT> volt()
{
    auto record = stamped<DMMDataVOLT>();
    record->voltage = box(QStringLiteral("230"), 230.0, QStringLiteral("V"));
    record->acdc = QStringLiteral("AC");
    return record;
}

QSharedPointer<DMMDataRES> res()
{
    auto record = stamped<DMMDataRES>();
    record->resistance = box(QStringLiteral("47.5"), 47.5, QStringLiteral("Ω"));
    return record;
}

QSharedPointer<DMMData> ofMode(DMMData::DataMode mode)
{
    switch (mode) {
    case DMMData::dmIR:
        return ir();
    case DMMData::dmTime:
        return time();
    case DMMData::dmPI:
        return pi();
    case DMMData::dmDAR:
        return dar();
    case DMMData::dmCOMP:
        return comp();
    case DMMData::dmCAP:
        return cap();
    case DMMData::dmVOLT:
        return volt();
    case DMMData::dmRES:
        return res();
    }
    return {};
}

QSharedPointer<DMMDataIR> irAt(double seconds, double value, const QString &unit)
{
    auto record = ir();
    record->dateTime = baseTime().addMSecs(qRound64(seconds * 1000.0));
    record->resistance = box(QString::number(value), value, unit);
    return record;
}

} // namespace SampleRecords
