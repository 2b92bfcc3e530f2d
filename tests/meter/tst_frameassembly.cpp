// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "meter/mydmm.h"
#include "sim/framebuilder.h"
#include "support/goldenframe.h"
#include "support/meterinput.h"

#include <QSignalSpy>
#include <QTest>
#include <QVector>

namespace {
constexpr int voltFrameSize = 15;

// A live VOLT frame whose voltage tells frames apart.
QByteArray voltFrame(int volts)
{
    return GoldenFrame(MyDMM::liveFrameType, DMMData::dmVOLT, voltFrameSize).set(6, {volts >> 8, volts & 0xFF}).bytes();
}

QByteArray withBadChecksum(QByteArray frame)
{
    frame[frame.size() - 1] = char(frame.at(frame.size() - 1) + 1);
    return frame;
}

QList<int> decodedVolts(const QSignalSpy &spy)
{
    QList<int> volts;
    for (const auto &record : caughtRecords(spy))
        volts << int(record.dynamicCast<DMMDataVOLT>()->voltage.value);
    return volts;
}

// Collects the debug lines written while it exists.
class DebugCapture
{
public:
    DebugCapture() { m_previous = qInstallMessageHandler(&DebugCapture::handle); }
    ~DebugCapture() { qInstallMessageHandler(m_previous); }
    DebugCapture(const DebugCapture &) = delete;
    DebugCapture &operator=(const DebugCapture &) = delete;

    static QStringList &lines()
    {
        static QStringList captured;
        return captured;
    }

private:
    static void handle(QtMsgType type, const QMessageLogContext &, const QString &message)
    {
        if (type == QtDebugMsg)
            lines() << message;
    }

    QtMessageHandler m_previous = nullptr;
};
} // namespace

class TestFrameAssembly : public QObject
{
    Q_OBJECT

private slots:
    void chunkings_data();
    void chunkings();
    void damagedFramesHoldNothingBack_data();
    void damagedFramesHoldNothingBack();
    void storedFramesAreLoggedBeforeDecoding();
    void bufferStaysBounded_data();
    void bufferStaysBounded();
};

void TestFrameAssembly::chunkings_data()
{
    QTest::addColumn<QByteArrayList>("chunks");
    QTest::addColumn<QList<int>>("recordsAfterChunk");
    QTest::addColumn<QList<int>>("volts");
    QTest::addColumn<int>("leftOver");

    const QByteArray one = voltFrame(1);
    const QByteArray two = voltFrame(2);
    const QByteArray three = voltFrame(3);
    const int last = voltFrameSize - 1;

    QTest::newRow("whole frame") << QByteArrayList{one} << QList<int>{1} << QList<int>{1} << 0;
    QTest::newRow("split at 1, 3 and total-1")
        << QByteArrayList{one.left(1), one.mid(1, 2), one.mid(3, last - 3), one.mid(last)} << QList<int>{0, 0, 0, 1}
        << QList<int>{1} << 0;
    QByteArrayList bytes;
    for (const char byte : one)
        bytes << QByteArray(1, byte);
    QList<int> countsByByte = QVector<int>(voltFrameSize - 1, 0).toList();
    countsByByte << 1;
    QTest::newRow("byte by byte") << bytes << countsByByte << QList<int>{1} << 0;
    QTest::newRow("two frames in one chunk") << QByteArrayList{one + two} << QList<int>{2} << QList<int>{1, 2} << 0;
    QTest::newRow("frame across a chunk boundary")
        << QByteArrayList{one + two.left(5), two.mid(5) + three} << QList<int>{1, 3} << QList<int>{1, 2, 3} << 0;
    QTest::newRow("garbage then frame")
        << QByteArrayList{QByteArray::fromHex("0102ab03cd04cdab"), QByteArray::fromHex("05ab") + one}
        << QList<int>{0, 1} << QList<int>{1} << 0;
    QTest::newRow("header split across chunks")
        << QByteArrayList{QByteArray::fromHex("0102ab"), one.mid(1)} << QList<int>{0, 1} << QList<int>{1} << 0;
    QTest::newRow("repeated header byte") << QByteArrayList{QByteArray::fromHex("abab") + one} << QList<int>{1}
                                          << QList<int>{1} << 0;
    QTest::newRow("bad checksum, good frame behind it in the same pass")
        << QByteArrayList{withBadChecksum(one) + two} << QList<int>{1} << QList<int>{2} << 0;
    QTest::newRow("type 0x01 consumed") << QByteArrayList{FrameBuilder::frame(0x01, one.mid(5, 8)) + two}
                                        << QList<int>{1} << QList<int>{2} << 0;
    QTest::newRow("exactly 3 bytes") << QByteArrayList{QByteArray::fromHex("abcd00")} << QList<int>{0} << QList<int>{}
                                     << 3;
    QTest::newRow("checksum kept to 16 bits")
        << QByteArrayList{GoldenFrame(MyDMM::liveFrameType, DMMData::dmVOLT, 320).set(13, {0xFF, 0xFF, 0xFF}).bytes()}
        << QList<int>{1} << QList<int>{0} << 0;
    const char *const badLengths[] = {"0000", "0001", "0002", "fffc", "ffff"};
    for (const char *length : badLengths) {
        QTest::addRow("length %s skipped", length)
            << QByteArrayList{QByteArray::fromHex(QByteArray("abcd") + length) + one} << QList<int>{1} << QList<int>{1}
            << 0;
    }
    QTest::newRow("length 3 is the shortest frame")
        << QByteArrayList{QByteArray::fromHex("abcd0003070007") + one} << QList<int>{1} << QList<int>{1} << 0;
}

void TestFrameAssembly::chunkings()
{
    QFETCH(QByteArrayList, chunks);
    QFETCH(QList<int>, recordsAfterChunk);
    MyDMM meter;
    QSignalSpy spy(&meter, &MyDMM::updateLiveData);

    QList<int> counts;
    for (const QByteArray &chunk : chunks) {
        feedMeter(meter, chunk);
        counts << spy.count();
    }

    QCOMPARE(counts, recordsAfterChunk);
    QTEST(decodedVolts(spy), "volts");
    QTEST(meter.bufferedByteCount(), "leftOver");
}

void TestFrameAssembly::damagedFramesHoldNothingBack_data()
{
    QTest::addColumn<int>("chunkSize");

    QTest::newRow("whole stream") << 0;
    QTest::newRow("4 KiB chunks, as a replay reads") << 4096;
    QTest::newRow("63-byte reports, as the meter sends") << 63;
}

// Every fifth frame damaged: all the good ones come out, whatever the
// chunking, and none waits for bytes that never come.
void TestFrameAssembly::damagedFramesHoldNothingBack()
{
    QFETCH(int, chunkSize);
    QByteArray stream;
    QList<int> expected;
    for (int volts = 0; volts < 2000; ++volts) {
        if (volts % 5 == 4) {
            stream += withBadChecksum(voltFrame(volts));
        } else {
            stream += voltFrame(volts);
            expected << volts;
        }
    }
    MyDMM meter;
    QSignalSpy spy(&meter, &MyDMM::updateLiveData);

    const int step = chunkSize > 0 ? chunkSize : stream.size();
    for (int at = 0; at < stream.size(); at += step)
        feedMeter(meter, stream.mid(at, step));

    QCOMPARE(decodedVolts(spy), expected);
    QCOMPARE(meter.bufferedByteCount(), 0);
}

void TestFrameAssembly::storedFramesAreLoggedBeforeDecoding()
{
    const QByteArray stored = GoldenFrame(MyDMM::storedFrameType, DMMData::dmVOLT, 13).set(6, {0x00, 0xE6}).bytes();
    MyDMM meter;
    QStringList linesAtRecord;
    connect(&meter, &MyDMM::updateStoreData, this, [&linesAtRecord] { linesAtRecord = DebugCapture::lines(); });
    DebugCapture::lines().clear();
    {
        const DebugCapture capture;
        feedMeter(meter, voltFrame(1) + stored);
    }

    const QString expected = QStringLiteral("Stored Data: abcd0009030600e600000000ef--------------------------------");
    QCOMPARE(DebugCapture::lines(), QStringList{expected});
    QCOMPARE(linesAtRecord, QStringList{expected});
}

void TestFrameAssembly::bufferStaysBounded_data()
{
    QTest::addColumn<QByteArrayList>("flood");
    QTest::addColumn<QByteArray>("tail");
    QTest::addColumn<int>("tailChunksAllowed");

    const QByteArray frame = voltFrame(7);
    const int limit = MyDMM::receiveBufferLimit;
    QTest::newRow("noise in large chunks") << QByteArrayList{QByteArray(limit - 10, 0x11), QByteArray(limit, 0x22)}
                                           << frame << 1;
    QTest::newRow("noise ending in a header start")
        << QByteArrayList{QByteArray(limit + 100, 0x11) + QByteArray(1, char(0xAB))} << frame.mid(1) << 1;

    QByteArrayList reports;
    for (int i = 0; i < 2 * limit / 63; ++i)
        reports << QByteArray(63, char(0x30 + i % 7));
    QTest::newRow("noise in small reports") << reports << frame << 1;

    const QByteArray badFrames = withBadChecksum(QByteArray::fromHex("abcd0003020002")).repeated(9);
    QTest::newRow("flood of bad frames") << QVector<QByteArray>(2 * limit / 56, badFrames).toList() << frame << 1;
}

void TestFrameAssembly::bufferStaysBounded()
{
    QFETCH(QByteArrayList, flood);
    QFETCH(QByteArray, tail);
    QFETCH(int, tailChunksAllowed);
    MyDMM meter;
    QSignalSpy spy(&meter, &MyDMM::updateLiveData);

    int largest = 0;
    for (const QByteArray &chunk : flood) {
        feedMeter(meter, chunk);
        largest = qMax(largest, meter.bufferedByteCount());
    }
    QVERIFY2(largest <= MyDMM::receiveBufferLimit, qPrintable(QString::number(largest)));
    QCOMPARE(spy.count(), 0);

    for (int i = 0; i < tailChunksAllowed && spy.isEmpty(); ++i)
        feedMeter(meter, tail);
    QVERIFY(!spy.isEmpty());
    QCOMPARE(decodedVolts(spy).first(), 7);
}

QTEST_MAIN(TestFrameAssembly)
#include "tst_frameassembly.moc"
