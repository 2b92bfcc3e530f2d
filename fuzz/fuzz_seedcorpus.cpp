// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
//
// Writes the seed corpus of fuzz_meterstream into the directory given as its
// argument: a live and a stored frame of every mode, in a plain and in a
// flagged variant, each whole and cut like HID reports, and one long stream
// of all of them with noise in between. The files depend on nothing but the
// frame builder, so every build writes the same corpus.

#include "meter/dmmdata.h"
#include "sim/framebuilder.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QSharedPointer>
#include <QString>

#include <cstdio>

namespace {
using Record = QSharedPointer<DMMData>;

// Chunk plans in the fuzzer's input format: a count, then that many sizes;
// 0x08 in the count byte asks for checksums to be made to fit.
const QByteArray wholeStream("\x00", 1);
const QByteArray reportSized("\x01\x3f", 2);
const QByteArray splitHeader("\x0b\x01\x02\x3f", 4);

const QString omega = QString(QChar(0x03A9));

void setBox(ValueBox &box, double value, const QString &unit = QString())
{
    box.value = value;
    box.text = QString::number(value);
    box.unit = unit;
}

void setIntBox(ValueBoxInt &box, int value, const QString &unit)
{
    box.value = value;
    box.text = QString::number(value);
    box.unit = unit;
}

void fillInsulation(DMMDataIR &record, bool flagged)
{
    setBox(record.leakageCurrent, flagged ? 0.0 : 2.5, QStringLiteral("uA"));
    setIntBox(record.setVoltage, flagged ? 5000 : 1000, QStringLiteral("V"));
    setIntBox(record.outputVoltage, flagged ? 4987 : 1012, QStringLiteral("V"));
    setBox(record.resistance, flagged ? 999.0 : 45.5, (flagged ? QStringLiteral("T") : QStringLiteral("G")) + omega);
    record.resistanceOverRange = flagged;
    record.testing = !flagged;
    record.auxValue = flagged ? -1 : 3;
}

Record recordIR(bool flagged)
{
    const auto record = QSharedPointer<DMMDataIR>::create();
    fillInsulation(*record, flagged);
    setBox(record->dar, 1.25);
    setBox(record->pi, 3.5);
    record->stateFlag1 = !flagged;
    record->stateFlag2 = flagged;
    record->testTime = flagged ? 0x0A00 : 0x0130;
    return record;
}

Record recordTime(bool flagged)
{
    const auto record = QSharedPointer<DMMDataTime>::create();
    fillInsulation(*record, flagged);
    record->elapsedTime = 0x0200;
    record->setTime = flagged ? 0x6300 : 0x0A00;
    return record;
}

template <typename Ratio>
QSharedPointer<Ratio> ratioRecord(bool flagged)
{
    const auto record = QSharedPointer<Ratio>::create();
    fillInsulation(*record, flagged);
    setBox(record->resistance2, flagged ? 0.0 : 3.0, QStringLiteral("T") + omega);
    record->resistance2OverRange = flagged;
    record->elapsedTime = 0x0A00;
    record->setTime = 0x0100;
    record->setTime2 = 0x0A00;
    return record;
}

Record recordPI(bool flagged)
{
    const auto record = ratioRecord<DMMDataPI>(flagged);
    setBox(record->piRatio, flagged ? 0.5 : 2.0);
    return record;
}

Record recordDAR(bool flagged)
{
    const auto record = ratioRecord<DMMDataDAR>(flagged);
    setBox(record->darRatio, flagged ? 0.9 : 1.3);
    return record;
}

Record recordCOMP(bool flagged)
{
    const auto record = QSharedPointer<DMMDataCOMP>::create();
    fillInsulation(*record, flagged);
    setIntBox(record->compareLimit, 500, QStringLiteral("M") + omega);
    record->result = flagged ? 1 : 2;
    return record;
}

Record recordCAP(bool flagged)
{
    const auto record = QSharedPointer<DMMDataCAP>::create();
    setBox(record->capacitance, 1.5, QString(QChar(0x03BC)) + QStringLiteral("F"));
    setIntBox(record->setVoltage, 500, QStringLiteral("V"));
    record->testing = !flagged;
    record->overRange = flagged;
    return record;
}

Record recordVOLT(bool flagged)
{
    const auto record = QSharedPointer<DMMDataVOLT>::create();
    setBox(record->voltage, flagged ? -48.0 : 230.0, QStringLiteral("V"));
    record->acdc = flagged ? QStringLiteral("DC") : QStringLiteral("AC");
    record->negative = flagged ? 1 : 0;
    record->testing = true;
    return record;
}

Record recordRES(bool flagged)
{
    const auto record = QSharedPointer<DMMDataRES>::create();
    setBox(record->resistance, 12.3, omega);
    if (flagged)
        record->resistance.text = QStringLiteral("OL");
    record->overRange = flagged;
    record->testing = !flagged;
    return record;
}

using RecordMaker = Record (*)(bool);
const RecordMaker makers[DMMData::modeCount] = {recordIR,   recordTime, recordPI,   recordDAR,
                                                recordCOMP, recordCAP,  recordVOLT, recordRES};

bool writeSeed(const QDir &directory, const QString &name, const QByteArray &content)
{
    QFile file(directory.filePath(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
        return false;
    }
    return true;
}

bool writeCorpus(const QDir &directory)
{
    const QByteArray noise = QByteArray::fromHex("00ab11cdabab");
    QByteArray everything;
    bool written = true;
    for (int mode = 0; mode < DMMData::modeCount; ++mode) {
        for (const bool flagged : {false, true}) {
            const Record record = makers[mode](flagged);
            const QString name = DMMData::modeName(mode) + (flagged ? QStringLiteral("-flagged") : QString());
            const QByteArray live = FrameBuilder::liveFrame(*record);
            const QByteArray stored = FrameBuilder::storedFrame(*record);
            written = written && writeSeed(directory, QStringLiteral("live-") + name, wholeStream + live)
                      && writeSeed(directory, QStringLiteral("stored-") + name, wholeStream + stored)
                      && writeSeed(directory, QStringLiteral("live-reports-") + name, splitHeader + live + live);
            everything += live + noise + stored;
        }
    }
    return written && writeSeed(directory, QStringLiteral("all-modes"), reportSized + everything);
}
} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus directory>\n", argv[0]);
        return 2;
    }
    const QDir directory(QString::fromLocal8Bit(argv[1]));
    if (!directory.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    return writeCorpus(directory) ? 0 : 1;
}
