// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
//
// Load test: the simulated meter sends a full report every read cycle, the
// transport's top rate, for TESSRA_SOAK_SECONDS seconds (15 unless set; `make
// soak` runs ten minutes). Every record is kept in the table model of its
// mode, with no sample limit. Every frame sent must be accounted for, as a
// record or as one of the frames the stream rejects by design, and the heap
// must grow only with the records kept.
#include "meter/dmmdata.h"
#include "meter/mydmm.h"
#include "models/columnset.h"
#include "models/datamodel.h"
#include "models/modelfactory.h"
#include "sim/framebuilder.h"
#include "sim/simulatedhid.h"
#include "support/samplerecords.h"

#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QTest>
#include <QTimer>

#include <malloc.h>

#include <atomic>
#include <deque>
#include <memory>
#include <vector>

namespace {
const QString meterPath = QStringLiteral("/dev/hidraw-sim0");
constexpr int defaultSeconds = 15;
// What keeping one record may cost: the record with its texts, its row in the
// model. Measured at about a third of this.
constexpr qint64 bytesPerRecordBudget = 4096;
// Allocations that come and go with the run (threads, buffers, queued events).
constexpr qint64 heapSlack = 4 * 1024 * 1024;

int soakSeconds()
{
    bool ok = false;
    const int seconds = qEnvironmentVariableIntValue("TESSRA_SOAK_SECONDS", &ok);
    return ok && seconds > 0 ? seconds : defaultSeconds;
}

// Bytes the program has allocated and not freed; 0 where the allocator does
// not tell (under AddressSanitizer).
qint64 heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return qint64(info.uordblks + info.hblkhd);
}

struct CycleFrame
{
    QByteArray bytes;
    bool rejected = false;
};

// One live and one stored frame of each mode, and frames that no record
// comes from: a bad checksum, an unknown frame type, unknown modes and a
// frame a byte short of its mode's layout.
std::vector<CycleFrame> frameCycle()
{
    std::vector<CycleFrame> cycle;
    for (int mode = 0; mode < DMMData::modeCount; ++mode) {
        const auto record = SampleRecords::ofMode(DMMData::DataMode(mode));
        cycle.push_back({FrameBuilder::liveFrame(*record), false});
        cycle.push_back({FrameBuilder::storedFrame(*record), false});
    }
    const QByteArray ir = FrameBuilder::liveFrame(*SampleRecords::ir());
    QByteArray payload = ir.mid(5, ir.size() - 7);
    QByteArray badChecksum = ir;
    badChecksum[badChecksum.size() - 1] = char(badChecksum.at(badChecksum.size() - 1) ^ 0x01);
    cycle.push_back({badChecksum, true});
    cycle.push_back({FrameBuilder::frame(0x01, payload), true});
    cycle.push_back({FrameBuilder::frame(MyDMM::storedFrameType, QByteArray(1, char(8)) + payload.mid(1)), true});
    cycle.push_back({FrameBuilder::frame(MyDMM::liveFrameType, QByteArray(1, char(255)) + payload.mid(1)), true});
    cycle.push_back({FrameBuilder::frame(MyDMM::liveFrameType, payload.chopped(1)), true});
    return cycle;
}

// Hands out the frame cycle, over and over, one full report at a time, and
// counts the frames whose last byte has left.
class FrameCycleSource : public StreamSource
{
public:
    Chunk nextChunk() override
    {
        while (m_unsent.size() < SimulatedHid::maxStreamBytes)
            appendFrame();
        Chunk chunk{m_unsent.left(SimulatedHid::maxStreamBytes), {}};
        m_unsent.remove(0, SimulatedHid::maxStreamBytes);
        m_sentBytes += SimulatedHid::maxStreamBytes;
        while (!m_frameEnds.empty() && m_frameEnds.front().end <= m_sentBytes) {
            ++m_framesSent;
            if (m_frameEnds.front().rejected)
                ++m_rejectedSent;
            m_frameEnds.pop_front();
        }
        return chunk;
    }

    qint64 framesSent() const { return m_framesSent; }
    qint64 rejectedSent() const { return m_rejectedSent; }

private:
    struct FrameEnd
    {
        qint64 end = 0;
        bool rejected = false;
    };

    void appendFrame()
    {
        const CycleFrame &frame = m_cycle.at(m_next);
        m_next = (m_next + 1) % m_cycle.size();
        m_unsent += frame.bytes;
        m_queuedBytes += frame.bytes.size();
        m_frameEnds.push_back({m_queuedBytes, frame.rejected});
    }

    const std::vector<CycleFrame> m_cycle = frameCycle();
    size_t m_next = 0;
    QByteArray m_unsent;
    qint64 m_queuedBytes = 0;
    qint64 m_sentBytes = 0;
    std::deque<FrameEnd> m_frameEnds;
    std::atomic<qint64> m_framesSent{0};
    std::atomic<qint64> m_rejectedSent{0};
};

// The models a window keeps records in: a live and a stored one per mode.
class RecordKeeper
{
public:
    RecordKeeper()
    {
        for (int mode = 0; mode < DMMData::modeCount; ++mode) {
            m_live.push_back(ModelFactory::createLiveModel(mode, m_columns.columns(mode)));
            m_stored.push_back(ModelFactory::createStoredModel(mode, m_columns.columns(mode)));
        }
    }

    void keepLive(const QSharedPointer<DMMData> &record) { m_live.at(size_t(record->mode))->addData(record); }
    void keepStored(const QSharedPointer<DMMData> &record) { m_stored.at(size_t(record->mode))->addData(record); }

    qint64 count() const
    {
        qint64 rows = 0;
        for (const auto &model : m_live)
            rows += model->rowCount();
        for (const auto &model : m_stored)
            rows += model->rowCount();
        return rows;
    }

    void clear()
    {
        for (auto &model : m_live)
            model->clear();
        for (auto &model : m_stored)
            model->clear();
    }

private:
    ColumnSet m_columns;
    std::vector<std::unique_ptr<DataModel>> m_live;
    std::vector<std::unique_ptr<DataModel>> m_stored;
};
} // namespace

class TestSoak : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void everyFrameIsAccountedForAtTheTopRate();
};

// Each stored frame writes a debug line; minutes of them say nothing.
void TestSoak::initTestCase()
{
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
}

void TestSoak::everyFrameIsAccountedForAtTheTopRate()
{
    SimulatedHid::reset();
    SimulatedHid::addDevice(VirtualHidDevice::meter(meterPath));
    const auto source = std::make_shared<FrameCycleSource>();
    QVERIFY(SimulatedHid::attachSource(meterPath, source));
    RecordKeeper keeper;
    auto meter = std::make_unique<MyDMM>();
    connect(meter.get(), &MyDMM::updateLiveData, this, [&keeper](const QSharedPointer<DMMData> &record) {
        keeper.keepLive(record);
    });
    connect(meter.get(), &MyDMM::updateStoreData, this, [&keeper](const QSharedPointer<DMMData> &record) {
        keeper.keepStored(record);
    });

    const qint64 heapBefore = heapInUse();
    qint64 heapPeak = heapBefore;
    int largestBuffer = 0;
    QTimer sampler;
    connect(&sampler, &QTimer::timeout, this, [&] {
        heapPeak = qMax(heapPeak, heapInUse());
        largestBuffer = qMax(largestBuffer, meter->bufferedByteCount());
    });
    sampler.start(100);

    QElapsedTimer clock;
    clock.start();
    QVERIFY(meter->open(meterPath));
    QTest::qWait(soakSeconds() * 1000);
    meter->close();
    sampler.stop();
    const qint64 elapsedMs = clock.elapsed();

    // Reports read before the close are still queued, and frames behind a
    // rejected one wait for another chunk.
    QCoreApplication::sendPostedEvents();
    for (int before = -1; before != meter->bufferedByteCount();) {
        before = meter->bufferedByteCount();
        meter->slotSerialDeviceRead(nullptr, 0);
    }

    const qint64 records = keeper.count();
    const qint64 heapWithRecords = heapInUse();
    qInfo("%.1f s: %lld reports read, %lld frames sent, %lld records kept, %lld frames rejected by design",
          elapsedMs / 1000.0, qint64(SimulatedHid::readCount()), source->framesSent(), records,
          source->rejectedSent());
    qInfo("heap: %lld bytes before, %lld at most, %lld with the records (%lld per record); buffer at most %d bytes",
          heapBefore, heapPeak, heapWithRecords, records ? (heapWithRecords - heapBefore) / records : 0,
          largestBuffer);

    QVERIFY(records > 0);
    QCOMPARE(records + source->rejectedSent(), source->framesSent());
    QVERIFY(largestBuffer <= SimulatedHid::maxStreamBytes * 2);
    QVERIFY(heapPeak - heapBefore <= records * bytesPerRecordBudget + heapSlack);

    // Without its records the program is back where it started.
    keeper.clear();
    meter.reset();
    QVERIFY2(heapInUse() - heapBefore <= heapSlack, qPrintable(QString::number(heapInUse() - heapBefore)));
}

QTEST_GUILESS_MAIN(TestSoak)
#include "tst_soak.moc"
