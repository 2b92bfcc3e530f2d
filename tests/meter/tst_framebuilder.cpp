// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "meter/mydmm.h"
#include "sim/framebuilder.h"
#include "support/meterinput.h"
#include "support/recorddescription.h"

#include <QSignalSpy>
#include <QTest>

namespace {
using Record = QSharedPointer<DMMData>;

const QChar omega(0x03A9);
const QString volt = QStringLiteral("V");

ValueBox box(const QString &text, double value, const QString &unit = QString())
{
    return ValueBox{text, value, unit};
}

ValueBoxInt intBox(int value, const QString &unit)
{
    return ValueBoxInt{QString::number(value), value, unit};
}

// Sample records of each mode whose texts are what decoding their numbers
// gives; `live` adds what only live frames carry.
Record sampleIR(bool live)
{
    const auto r = QSharedPointer<DMMDataIR>::create();
    r->leakageCurrent = box(QStringLiteral("2.50"), 2.5, QStringLiteral("uA"));
    r->setVoltage = intBox(1000, volt);
    r->outputVoltage = intBox(1012, volt);
    r->resistance = box(QStringLiteral("45.5"), 45.5, QStringLiteral("G") + omega);
    r->dar = box(QStringLiteral("1.25"), 1.25);
    r->pi = box(QStringLiteral("3.50"), 3.5);
    r->stateFlag1 = true;
    r->testTime = 0x0130;
    r->auxValue = live ? -3 : 0;
    r->testing = live;
    return r;
}

Record sampleTime(bool live)
{
    const auto r = QSharedPointer<DMMDataTime>::create();
    r->leakageCurrent = box(QStringLiteral("  0"), 0, QStringLiteral("nA"));
    r->setVoltage = intBox(500, volt);
    r->outputVoltage = intBox(498, volt);
    r->resistance = box(QStringLiteral("1000"), 1000, QStringLiteral("M") + omega);
    r->resistanceOverRange = true;
    r->elapsedTime = 0x0200;
    r->setTime = live ? 0x0A00 : 0;
    r->auxValue = live ? 12 : 0;
    r->testing = live;
    return r;
}

template <typename R>
QSharedPointer<R> sampleRatio(bool live)
{
    const auto r = QSharedPointer<R>::create();
    r->leakageCurrent = box(QStringLiteral("0.75"), 0.75, QStringLiteral("mA"));
    r->setVoltage = intBox(2500, volt);
    r->outputVoltage = intBox(2490, volt);
    r->resistance = box(QStringLiteral("1.50"), 1.5, QStringLiteral("T") + omega);
    r->resistance2 = box(QStringLiteral("3.00"), 3, QStringLiteral("T") + omega);
    r->elapsedTime = 0x0A00;
    r->setTime = 0x0100;
    r->setTime2 = 0x0A00;
    r->resistance2OverRange = true;
    r->auxValue = live ? 300 : 0;
    return r;
}

Record samplePI(bool live)
{
    const auto r = sampleRatio<DMMDataPI>(live);
    r->piRatio = box(QStringLiteral("2.00"), 2);
    return r;
}

Record sampleDAR(bool live)
{
    const auto r = sampleRatio<DMMDataDAR>(live);
    r->darRatio = box(QStringLiteral("1.75"), 1.75);
    r->resistanceOverRange = true;
    r->testing = live;
    return r;
}

Record sampleCOMP(bool live)
{
    const auto r = QSharedPointer<DMMDataCOMP>::create();
    r->leakageCurrent = box(QStringLiteral("5.50"), 5.5, QStringLiteral("uA"));
    r->setVoltage = intBox(500, volt);
    r->outputVoltage = intBox(505, volt);
    r->compareLimit = intBox(200, QStringLiteral("G") + omega);
    r->resistance = box(QStringLiteral("12.5"), 12.5, QStringLiteral("G") + omega);
    r->result = 2;
    r->auxValue = live ? 5 : 0;
    r->testing = live;
    return r;
}

Record sampleCAP(bool live)
{
    const auto r = QSharedPointer<DMMDataCAP>::create();
    r->capacitance = box(QStringLiteral("LO"), 0.5, QString(QChar(0x03BC)) + QLatin1Char('F'));
    r->underRange = true;
    r->setVoltage = intBox(1000, volt);
    r->testing = live;
    return r;
}

Record sampleVOLT(bool live)
{
    const auto r = QSharedPointer<DMMDataVOLT>::create();
    r->voltage = box(QStringLiteral("OL"), -400, volt);
    r->acdc = QStringLiteral("DC");
    r->negative = 1;
    r->overload = true;
    r->auxValue = live ? 2 : 0;
    r->testing = live;
    return r;
}

Record sampleRES(bool live)
{
    const auto r = QSharedPointer<DMMDataRES>::create();
    r->resistance = box(QStringLiteral("----"), 1.5, QString(omega));
    r->testing = true;
    r->auxValue = live ? 9 : 0;
    return r;
}

Record sample(int mode, bool live)
{
    using Sample = Record (*)(bool);
    const Sample samples[DMMData::modeCount] = {sampleIR,   sampleTime, samplePI,   sampleDAR,
                                                sampleCOMP, sampleCAP,  sampleVOLT, sampleRES};
    return samples[mode](live);
}
} // namespace

class TestFrameBuilder : public QObject
{
    Q_OBJECT

private slots:
    void frames_data();
    void frames();
    void fieldWriters_data();
    void fieldWriters();
    void recordsSurviveTheRoundTrip_data();
    void recordsSurviveTheRoundTrip();
    void recordsOfAnotherClassGiveNoFrame_data();
    void recordsOfAnotherClassGiveNoFrame();
};

void TestFrameBuilder::frames_data()
{
    QTest::addColumn<quint8>("type");
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("worked example") << quint8(0x02) << QByteArray::fromHex("000102")
                                    << QByteArray::fromHex("abcd0006020001020005");
    QTest::newRow("no payload") << quint8(0x01) << QByteArray() << QByteArray::fromHex("abcd0003010001");
    QTest::newRow("checksum kept to 16 bits")
        << quint8(0x02) << QByteArray(300, char(0xFF))
        << QByteArray::fromHex("abcd012f02") + QByteArray(300, char(0xFF)) + QByteArray::fromHex("2ad6");
    const int largest = FrameBuilder::maxPayloadSize;
    QTest::newRow("largest payload") << quint8(0x03) << QByteArray(largest, '\0')
                                     << QByteArray::fromHex("abcdfffb03") + QByteArray(largest, '\0')
                                            + QByteArray::fromHex("0003");
    QTest::newRow("payload too long") << quint8(0x03) << QByteArray(largest + 1, '\0') << QByteArray();
}

void TestFrameBuilder::frames()
{
    QFETCH(quint8, type);
    QFETCH(QByteArray, payload);
    QTEST(FrameBuilder::frame(type, payload), "expected");
}

void TestFrameBuilder::fieldWriters_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<double>("value");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("byte") << "byte" << 171.0 << QByteArray::fromHex("ab");
    QTest::newRow("int16 500") << "int16" << 500.0 << QByteArray::fromHex("01f4");
    QTest::newRow("int16 -1") << "int16" << -1.0 << QByteArray::fromHex("ffff");
    QTest::newRow("int32 100000") << "int32" << 100000.0 << QByteArray::fromHex("000186a0");
    QTest::newRow("int32 -2") << "int32" << -2.0 << QByteArray::fromHex("fffffffe");
    QTest::newRow("time 2 min 30 s") << "time" << double(0x021E) << QByteArray::fromHex("021e");
    QTest::newRow("float 12.35") << "float" << 12.35 << QByteArray::fromHex("4145999a");
    QTest::newRow("float -0.5") << "float" << -0.5 << QByteArray::fromHex("bf000000");
}

void TestFrameBuilder::fieldWriters()
{
    QFETCH(QString, field);
    QFETCH(double, value);
    QByteArray payload("x");
    if (field == QLatin1String("byte"))
        FrameBuilder::appendByte(payload, quint8(value));
    else if (field == QLatin1String("int16"))
        FrameBuilder::appendInt16(payload, qint16(value));
    else if (field == QLatin1String("int32"))
        FrameBuilder::appendInt32(payload, qint32(value));
    else if (field == QLatin1String("time"))
        FrameBuilder::appendTime(payload, quint16(value));
    else
        FrameBuilder::appendFloat(payload, float(value));
    QTEST(payload.mid(1), "expected");
    QCOMPARE(payload.left(1), QByteArray("x"));
}

void TestFrameBuilder::recordsSurviveTheRoundTrip_data()
{
    QTest::addColumn<bool>("live");
    QTest::addColumn<Record>("record");
    for (int mode = 0; mode < DMMData::modeCount; ++mode) {
        QTest::addRow("live %s", qPrintable(DMMData::modeName(mode))) << true << sample(mode, true);
        QTest::addRow("stored %s", qPrintable(DMMData::modeName(mode))) << false << sample(mode, false);
    }
    // The other state bytes.
    const auto ir = sample(DMMData::dmIR, true).dynamicCast<DMMDataIR>();
    ir->stateFlag1 = false;
    ir->stateFlag2 = true;
    QTest::newRow("live IR state 2") << true << Record(ir);
    const auto cap = sample(DMMData::dmCAP, false).dynamicCast<DMMDataCAP>();
    cap->underRange = false;
    cap->overRange = true;
    cap->capacitance.text = QStringLiteral("0.50");
    QTest::newRow("stored CAP over range") << false << Record(cap);
    const auto volt = sample(DMMData::dmVOLT, true).dynamicCast<DMMDataVOLT>();
    volt->overload = false;
    volt->underRange = true;
    volt->voltage.text = QStringLiteral("LO");
    QTest::newRow("live VOLT under range") << true << Record(volt);
    const char *const resTexts[] = {"OL", "LO", "1.50"};
    for (const char *text : resTexts) {
        const auto res = sample(DMMData::dmRES, false).dynamicCast<DMMDataRES>();
        res->resistance.text = QLatin1String(text);
        res->overRange = true;
        QTest::addRow("stored RES %s", text) << false << Record(res);
    }
}

void TestFrameBuilder::recordsSurviveTheRoundTrip()
{
    QFETCH(bool, live);
    QFETCH(Record, record);
    MyDMM meter;
    QSignalSpy spy(&meter, live ? &MyDMM::updateLiveData : &MyDMM::updateStoreData);

    feedMeter(meter, live ? FrameBuilder::liveFrame(*record) : FrameBuilder::storedFrame(*record));

    QCOMPARE(spy.count(), 1);
    QCOMPARE(RecordDescription::describe(*caughtRecords(spy).first()), RecordDescription::describe(*record));
}

void TestFrameBuilder::recordsOfAnotherClassGiveNoFrame_data()
{
    QTest::addColumn<Record>("record");
    QTest::addColumn<int>("mode");

    QTest::newRow("IR record named CAP") << sampleIR(true) << int(DMMData::dmCAP);
    QTest::newRow("TIME record named IR") << sampleTime(true) << int(DMMData::dmIR);
    QTest::newRow("PI record named DAR") << samplePI(true) << int(DMMData::dmDAR);
    QTest::newRow("mode above the table") << sampleRES(true) << 8;
}

void TestFrameBuilder::recordsOfAnotherClassGiveNoFrame()
{
    QFETCH(Record, record);
    QFETCH(int, mode);
    record->mode = DMMData::DataMode(mode);
    QVERIFY(FrameBuilder::liveFrame(*record).isEmpty());
    QVERIFY(FrameBuilder::storedFrame(*record).isEmpty());
}

QTEST_MAIN(TestFrameBuilder)
#include "tst_framebuilder.moc"
