// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "bench/benchreadings.h"

#include "meter/mydmm.h"
#include "sim/framebuilder.h"

namespace {
constexpr int variantCount = 16;
constexpr qint64 readingIntervalMs = 300;

ValueBox box(double value, const QString &unit = QString())
{
    return ValueBox{QString::number(value), value, unit};
}

ValueBoxInt intBox(int value, const QString &unit)
{
    return ValueBoxInt{QString::number(value), value, unit};
}

void fillInsulation(DMMDataIR &record, int variant)
{
    record.resistance = box(1.5 + 0.25 * variant, QStringLiteral("GΩ"));
    record.leakageCurrent = box(0.33 + 0.01 * variant, QStringLiteral("uA"));
    record.setVoltage = intBox(500, QStringLiteral("V"));
    record.outputVoltage = intBox(505 + variant % 3, QStringLiteral("V"));
    record.dar = box(1.32);
    record.pi = box(2.1);
    record.testing = true;
    record.testTime = quint16(((variant / 60) << 8) | (variant % 60));
}

void fillRatio(DMMDataPIDAR &record, int variant)
{
    fillInsulation(record, variant);
    record.resistance2 = box(3.0 + 0.5 * variant, QStringLiteral("GΩ"));
    record.elapsedTime = 0x0A00;
    record.setTime = 0x0100;
    record.setTime2 = 0x0A00;
}

template <class Record>
QSharedPointer<Record> make()
{
    auto record = QSharedPointer<Record>::create();
    record->dateTime = QDateTime::currentDateTime();
    return record;
}
} // namespace

BenchReadings::BenchReadings()
    : m_decoder(std::make_unique<MyDMM>())
    , m_start(QDateTime::currentDateTime())
{
    QObject::connect(m_decoder.get(), &MyDMM::updateLiveData, m_decoder.get(),
                     [this](const QSharedPointer<DMMData> &record) { m_decoded = record; });
    for (int variant = 0; variant < variantCount; ++variant)
        m_irFrames.append(FrameBuilder::liveFrame(*sample(DMMData::dmIR, variant)));
}

BenchReadings::~BenchReadings() = default;

QSharedPointer<DMMData> BenchReadings::sample(DMMData::DataMode mode, int variant)
{
    switch (mode) {
    case DMMData::dmIR: {
        auto record = make<DMMDataIR>();
        fillInsulation(*record, variant);
        return record;
    }
    case DMMData::dmTime: {
        auto record = make<DMMDataTime>();
        fillInsulation(*record, variant);
        record->elapsedTime = 0x0130;
        record->setTime = 0x0A00;
        return record;
    }
    case DMMData::dmPI: {
        auto record = make<DMMDataPI>();
        fillRatio(*record, variant);
        record->piRatio = box(2.0 + 0.05 * variant);
        return record;
    }
    case DMMData::dmDAR: {
        auto record = make<DMMDataDAR>();
        fillRatio(*record, variant);
        record->darRatio = box(1.3 + 0.02 * variant);
        return record;
    }
    case DMMData::dmCOMP: {
        auto record = make<DMMDataCOMP>();
        fillInsulation(*record, variant);
        record->compareLimit = intBox(100, QStringLiteral("MΩ"));
        record->result = variant % 2 == 0 ? 2 : 1;
        return record;
    }
    case DMMData::dmCAP: {
        auto record = make<DMMDataCAP>();
        record->capacitance = box(0.47 + 0.01 * variant, QStringLiteral("μF"));
        record->setVoltage = intBox(1000, QStringLiteral("V"));
        record->testing = true;
        return record;
    }
    case DMMData::dmVOLT: {
        auto record = make<DMMDataVOLT>();
        record->voltage = box(230 + variant, QStringLiteral("V"));
        record->acdc = QStringLiteral("AC");
        return record;
    }
    case DMMData::dmRES: {
        auto record = make<DMMDataRES>();
        record->resistance = box(47.5 + variant, QStringLiteral("Ω"));
        return record;
    }
    }
    return {};
}

QList<QByteArray> BenchReadings::everyLayout(int variant)
{
    QList<QByteArray> frames;
    for (int mode = 0; mode < DMMData::modeCount; ++mode) {
        const QSharedPointer<DMMData> record = sample(static_cast<DMMData::DataMode>(mode), variant);
        frames.append(FrameBuilder::liveFrame(*record));
        frames.append(FrameBuilder::storedFrame(*record));
    }
    return frames;
}

QSharedPointer<DMMData> BenchReadings::nextIR()
{
    m_decoder->decodeLiveData(m_irFrames.at(int(m_count % m_irFrames.size())));
    QSharedPointer<DMMData> record = std::move(m_decoded);
    record->dateTime = m_start.addMSecs(m_count * readingIntervalMs);
    ++m_count;
    return record;
}
