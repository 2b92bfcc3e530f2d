// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
//
// Streams no sound meter sends, cut into HID-report-sized chunks. Whatever
// comes in, the connection stays up, every record it emits can be shown, its
// receive buffer stays bounded and a good frame after the junk still gets
// through.
#include "meter/dmmdata.h"
#include "meter/mydmm.h"
#include "models/columnset.h"
#include "models/datamodel.h"
#include "models/modelfactory.h"
#include "sim/framebuilder.h"
#include "support/meterinput.h"
#include "support/samplerecords.h"
#include "window/chartpoint.h"

#include <QSignalSpy>
#include <QTest>

#include <cmath>

namespace {
constexpr int reportBytes = 63;
constexpr int markerVolts = 230;

QByteArray markerFrame()
{
    auto record = SampleRecords::volt();
    record->voltage.value = markerVolts;
    return FrameBuilder::liveFrame(*record);
}

QByteArray sampleFrame(quint8 type, DMMData::DataMode mode)
{
    const auto record = SampleRecords::ofMode(mode);
    return type == MyDMM::liveFrameType ? FrameBuilder::liveFrame(*record) : FrameBuilder::storedFrame(*record);
}

QByteArray payloadOf(const QByteArray &frame)
{
    return frame.mid(5, frame.size() - 7);
}

// `frame` with the payload byte at `offset` replaced and its checksum made to fit.
QByteArray patched(const QByteArray &frame, int offset, quint8 value)
{
    QByteArray payload = payloadOf(frame);
    payload[offset - 5] = char(value);
    return FrameBuilder::frame(quint8(frame.at(4)), payload);
}

// `frame` with `payload` in place of its own and a fitting checksum.
QByteArray withPayload(const QByteArray &frame, const QByteArray &payload)
{
    return FrameBuilder::frame(quint8(frame.at(4)), payload);
}

QByteArray withChecksum(QByteArray frame, quint16 checksum)
{
    frame[frame.size() - 2] = char(checksum >> 8);
    frame[frame.size() - 1] = char(checksum & 0xFF);
    return frame;
}

quint16 checksumOf(const QByteArray &frame)
{
    return quint16(quint8(frame.at(frame.size() - 2)) << 8 | quint8(frame.at(frame.size() - 1)));
}

// Reads every cell of the last row of the model the record goes to, and the
// chart's point of it, as the window would.
void showRecord(const QSharedPointer<DMMData> &record)
{
    QVERIFY(record->mode >= 0 && record->mode < DMMData::modeCount);
    const ColumnSet columns;
    const auto model = ModelFactory::createLiveModel(record->mode, columns.columns(record->mode));
    model->addData(record);
    for (int column = 0; column < model->columnCount(); ++column)
        QVERIFY(model->data(model->index(0, column)).isValid());
    QVERIFY(!std::isinf(ChartPoint::value(record)));
}
} // namespace

class TestHostileStreams : public QObject
{
    Q_OBJECT

private slots:
    void junkIsSurvivedAndTheNextFrameDecoded_data();
    void junkIsSurvivedAndTheNextFrameDecoded();
    void unknownUnitCodesGiveEmptyUnits_data();
    void unknownUnitCodesGiveEmptyUnits();
};

void TestHostileStreams::junkIsSurvivedAndTheNextFrameDecoded_data()
{
    QTest::addColumn<QByteArray>("junk");
    QTest::addColumn<int>("records");

    const QByteArray live = sampleFrame(MyDMM::liveFrameType, DMMData::dmIR);

    // Length fields that describe no frame: shorter than the smallest, and
    // those whose total of L + 4 wraps around 16 bits to 0..3.
    for (const char *length : {"0000", "0001", "0002", "fffc", "fffd", "fffe", "ffff"})
        QTest::addRow("length %s", length) << QByteArray::fromHex(QByteArray("abcd") + length + "02060000") << 0;
    QTest::newRow("length 3, type byte only, live") << QByteArray::fromHex("abcd0003020002") << 0;
    QTest::newRow("length 3, type byte only, stored") << QByteArray::fromHex("abcd0003030003") << 0;

    // A byte short of each mode's layout, checksum correct.
    for (const quint8 type : {MyDMM::liveFrameType, MyDMM::storedFrameType}) {
        for (int mode = 0; mode < DMMData::modeCount; ++mode) {
            const QByteArray frame = sampleFrame(type, DMMData::DataMode(mode));
            QTest::addRow("%s %s, one byte too short", type == MyDMM::liveFrameType ? "live" : "stored",
                          qPrintable(DMMData::modeName(mode)))
                << withPayload(frame, payloadOf(frame).chopped(1)) << 0;
        }
    }

    const quint16 sum = checksumOf(live);
    QTest::newRow("checksum off by one") << withChecksum(live, quint16(sum + 1)) << 0;
    QTest::newRow("checksum zero") << withChecksum(live, 0) << 0;
    QTest::newRow("checksum bytes swapped") << withChecksum(live, quint16(sum << 8 | sum >> 8)) << 0;
    QTest::newRow("bad checksum, then a good frame in the same chunk")
        << withChecksum(live, quint16(sum + 1)) + live << 1;

    for (const quint8 type : {0x00, 0x01, 0x04, 0x7F, 0xFF})
        QTest::addRow("frame type 0x%02x", type) << FrameBuilder::frame(type, payloadOf(live)) << 0;

    for (const quint8 type : {MyDMM::liveFrameType, MyDMM::storedFrameType}) {
        for (const quint8 mode : {8, 255}) {
            QTest::addRow("%s mode %d", type == MyDMM::liveFrameType ? "live" : "stored", mode)
                << patched(sampleFrame(type, DMMData::dmIR), 5, mode) << 0;
        }
    }

    QTest::newRow("a megabyte without a header") << QByteArray(1 << 20, '\x55') << 0;
    QTest::newRow("a megabyte of header starts") << QByteArray(1 << 20, '\xAB') << 0;
    QTest::newRow("a megabyte of header ends") << QByteArray(1 << 20, '\xCD') << 0;

    // The chunks are 63 bytes long: after 62 bytes of noise the header is cut
    // between two reports, after 61 the length field, after 60 the type byte.
    for (const int noise : {62, 61, 60})
        QTest::addRow("frame cut %d bytes in by the report", reportBytes - noise) << QByteArray(noise, '\x11') + live
                                                                                  << 1;
}

void TestHostileStreams::junkIsSurvivedAndTheNextFrameDecoded()
{
    QFETCH(QByteArray, junk);
    QFETCH(int, records);
    MyDMM meter;
    QList<QSharedPointer<DMMData>> emitted;
    const auto collect = [&emitted](const QSharedPointer<DMMData> &record) { emitted << record; };
    connect(&meter, &MyDMM::updateLiveData, this, collect);
    connect(&meter, &MyDMM::updateStoreData, this, collect);

    int largestBuffer = 0;
    for (int at = 0; at < junk.size(); at += reportBytes) {
        feedMeter(meter, junk.mid(at, reportBytes));
        largestBuffer = qMax(largestBuffer, meter.bufferedByteCount());
    }
    QCOMPARE(emitted.size(), records);
    for (const auto &record : emitted)
        showRecord(record);
    QVERIFY(largestBuffer <= MyDMM::receiveBufferLimit);

    feedMeter(meter, markerFrame());
    QCOMPARE(emitted.size(), records + 1);
    const auto marker = emitted.last().dynamicCast<DMMDataVOLT>();
    QVERIFY(marker);
    QCOMPARE(marker->voltage.value, double(markerVolts));
    QCOMPARE(meter.bufferedByteCount(), 0);
}

// Offsets of the unit bytes in a live IR frame: leakage current, resistance.
void TestHostileStreams::unknownUnitCodesGiveEmptyUnits_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("code");

    for (const int code : {3, 255}) {
        QTest::addRow("current unit %d", code) << 10 << code;
        QTest::addRow("resistance unit %d", code) << 19 << code;
    }
}

void TestHostileStreams::unknownUnitCodesGiveEmptyUnits()
{
    QFETCH(int, offset);
    QFETCH(int, code);
    MyDMM meter;
    QSignalSpy live(&meter, &MyDMM::updateLiveData);

    feedMeter(meter, patched(sampleFrame(MyDMM::liveFrameType, DMMData::dmIR), offset, quint8(code)));
    QCOMPARE(live.count(), 1);
    const auto record = caughtRecords(live).first().dynamicCast<DMMDataIR>();
    QVERIFY(record);
    const ValueBox &box = offset == 10 ? record->leakageCurrent : record->resistance;
    QVERIFY(box.unit.isEmpty());
    showRecord(record);
}

QTEST_MAIN(TestHostileStreams)
#include "tst_hostilestreams.moc"
