// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
//
// libFuzzer target: arbitrary bytes, cut into arbitrary chunks, reach the
// meter connection exactly as the HID transport delivers them, and every
// record that comes out is read back through the table models, the reading
// panel's texts and the chart's point, the way the window shows it. The
// records must not depend on the chunking.
//
// Input: byte 0 gives in its low three bits how many chunk sizes follow (0 to
// 7); the sizes (0 to 255 each, 0 being an empty chunk) are used in turn until
// the stream runs out. The rest of the input is the stream. With no sizes, or
// only zeros, the whole stream arrives as one chunk. When bit 3 of byte 0 is
// set, the checksum of every frame in the stream is made to fit first, so that
// mutated lengths, types and payloads get past the checksum to the decoders.

#include "meter/dmmdata.h"
#include "meter/mydmm.h"
#include "models/columnset.h"
#include "models/datamodel.h"
#include "models/modelfactory.h"
#include "window/chartpoint.h"

#include <QCoreApplication>
#include <QSharedPointer>
#include <QVariant>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <typeinfo>
#include <vector>

namespace {

// The roles the views, the export and the chart ask for, and two nobody
// answers for a cell, which must come back empty rather than break.
constexpr std::array<int, 4> rolesRead = {Qt::DisplayRole, Qt::TextAlignmentRole, Qt::ToolTipRole,
                                          DataModel::NameRole};

// A broken invariant is a finding: stop so that libFuzzer keeps the input.
void require(bool condition)
{
    if (!condition)
        std::abort();
}

const std::type_info &recordClassOf(int mode)
{
    static const std::array<const std::type_info *, DMMData::modeCount> classes = {
        &typeid(DMMDataIR),  &typeid(DMMDataTime), &typeid(DMMDataPI),   &typeid(DMMDataDAR),
        &typeid(DMMDataCOMP), &typeid(DMMDataCAP), &typeid(DMMDataVOLT), &typeid(DMMDataRES)};
    return *classes.at(size_t(mode));
}

// Reads everything a view or the chart can read of the model's last row.
void readLastRow(const DataModel &model)
{
    const int row = model.rowCount() - 1;
    require(row >= 0);
    // One column past the end as well: views may ask while a layout changes.
    for (int column = 0; column <= model.columnCount(); ++column) {
        const QModelIndex index = model.index(row, column);
        for (const int role : rolesRead) {
            const QVariant cell = model.data(index, role);
            (void)cell.toString();
        }
        (void)model.flags(index);
    }
    (void)model.getMainTitle();
    (void)model.getMainValue(row).toString();
}

// What a record shows in its live row but the row number and time stamp,
// after the signal that brought it: records that sign alike show alike.
QString signatureOf(const DataModel &live, int row, QChar signal)
{
    QString signature(signal);
    for (int column = DataModel::ColMode; column < live.columnCount(); ++column)
        signature += QLatin1Char('|') + live.data(live.index(row, column)).toString();
    return signature;
}

// The live and the stored model of every mode. Takes each record into both
// and reads all there is to read of it, or only signs it when it is asked
// for nothing more.
class ModelBench
{
public:
    enum class Reading { Everything, SignatureOnly };

    explicit ModelBench(Reading reading)
        : m_reading(reading)
    {
        for (int mode = 0; mode < DMMData::modeCount; ++mode) {
            m_live.push_back(ModelFactory::createLiveModel(mode, m_columns.columns(mode)));
            m_stored.push_back(ModelFactory::createStoredModel(mode, m_columns.columns(mode)));
        }
    }

    QString take(const QSharedPointer<DMMData> &record, QChar signal)
    {
        require(!record.isNull());
        const int mode = record->mode;
        require(mode >= 0 && mode < DMMData::modeCount);
        const DMMData &decoded = *record;
        require(typeid(decoded) == recordClassOf(mode));

        DataModel &live = *m_live.at(size_t(mode));
        const int row = live.addData(record) - 1;
        if (m_reading == Reading::Everything) {
            readLastRow(live);
            m_stored.at(size_t(mode))->addData(record);
            readLastRow(*m_stored.at(size_t(mode)));
            readPanelTexts(record);
            readChartPoint(record);
        }
        return signatureOf(live, row, signal);
    }

    void clear()
    {
        for (auto &model : m_live)
            model->clear();
        for (auto &model : m_stored)
            model->clear();
    }

private:
    static void readPanelTexts(const QSharedPointer<DMMData> &record)
    {
        if (record->mode == DMMData::dmVOLT)
            (void)DataModel::getVOLTViewStr(record.staticCast<DMMDataVOLT>());
        else if (record->mode == DMMData::dmCAP)
            (void)DataModel::getCAPViewStr(record.staticCast<DMMDataCAP>());
    }

    // The chart fits its axes to the points, so a point is finite or a gap.
    static void readChartPoint(const QSharedPointer<DMMData> &record)
    {
        (void)ChartPoint::key(*record);
        require(!std::isinf(ChartPoint::value(record)));
    }

    const Reading m_reading;
    ColumnSet m_columns;
    std::vector<std::unique_ptr<DataModel>> m_live;
    std::vector<std::unique_ptr<DataModel>> m_stored;
};

// One meter connection fed chunk by chunk, with the signatures of the records
// it emitted, in order.
class MeterRun
{
public:
    explicit MeterRun(ModelBench &bench)
    {
        QObject::connect(&m_meter, &MyDMM::updateLiveData, [this, &bench](const QSharedPointer<DMMData> &record) {
            m_signatures.push_back(bench.take(record, QLatin1Char('L')));
        });
        QObject::connect(&m_meter, &MyDMM::updateStoreData, [this, &bench](const QSharedPointer<DMMData> &record) {
            m_signatures.push_back(bench.take(record, QLatin1Char('S')));
        });
    }

    void feed(const std::vector<uint8_t> &chunk)
    {
        m_meter.slotSerialDeviceRead(chunk.data(), uint(chunk.size()));
        require(m_meter.bufferedByteCount() <= MyDMM::receiveBufferLimit);
    }

    // Empty chunks bring out whatever the buffer still completes; nothing
    // should be left, which the chunking check then confirms.
    void flush()
    {
        for (int before = -1; before != m_meter.bufferedByteCount();) {
            before = m_meter.bufferedByteCount();
            m_meter.slotSerialDeviceRead(nullptr, 0);
        }
    }

    const std::vector<QString> &signatures() const { return m_signatures; }

private:
    MyDMM m_meter;
    std::vector<QString> m_signatures;
};

// Sets the checksum of every frame in the stream, walking it the way frame
// assembly does: the sum of type byte and payload, 16 bits, big-endian.
void repairChecksums(std::vector<uint8_t> &stream)
{
    size_t at = 0;
    while (at + 4 <= stream.size()) {
        if (stream[at] != 0xAB || stream[at + 1] != 0xCD) {
            ++at;
            continue;
        }
        const size_t total = uint16_t((stream[at + 2] << 8 | stream[at + 3]) + 4);
        if (total < 7 || total > stream.size() - at) {
            at += 2;
            continue;
        }
        uint16_t sum = 0;
        for (size_t i = at + 4; i < at + total - 2; ++i)
            sum = uint16_t(sum + stream[i]);
        stream[at + total - 2] = uint8_t(sum >> 8);
        stream[at + total - 1] = uint8_t(sum);
        at += total;
    }
}

// Splits the input into the chunk sizes and the stream they cut.
class ChunkPlan
{
public:
    ChunkPlan(const uint8_t *data, size_t size)
    {
        if (size == 0)
            return;
        const size_t count = std::min<size_t>(data[0] & 0x07, size - 1);
        m_sizes.assign(data + 1, data + 1 + count);
        m_stream.assign(data + 1 + count, data + size);
        if (data[0] & 0x08)
            repairChecksums(m_stream);
    }

    const std::vector<uint8_t> &stream() const { return m_stream; }

    // Hands the stream to `feed` chunk by chunk; each chunk is a copy of its
    // own, so a read past its end is caught.
    template <typename Feed>
    void run(Feed feed) const
    {
        if (onlyEmptyChunks()) {
            for (size_t i = 0; i < m_sizes.size(); ++i)
                feed(std::vector<uint8_t>());
            feed(m_stream);
            return;
        }
        size_t at = 0;
        for (size_t i = 0; at < m_stream.size(); i = (i + 1) % m_sizes.size()) {
            const size_t length = std::min<size_t>(m_sizes.at(i), m_stream.size() - at);
            feed(std::vector<uint8_t>(m_stream.cbegin() + long(at), m_stream.cbegin() + long(at + length)));
            at += length;
        }
    }

private:
    bool onlyEmptyChunks() const
    {
        return std::all_of(m_sizes.cbegin(), m_sizes.cend(), [](uint8_t size) { return size == 0; });
    }

    std::vector<uint8_t> m_sizes;
    std::vector<uint8_t> m_stream;
};

void dropDebugLines(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    // Stored frames log themselves; at fuzzing speed that is only noise.
    if (type == QtDebugMsg)
        return;
    qt_message_output(type, context, message);
}

void ensureApplication()
{
    static int argc = 1;
    static char name[] = "fuzz_meterstream";
    static char *argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // Every record is stamped with the local time; with the zone named, the
    // C library does not look at the zone file again for each one.
    if (qEnvironmentVariableIsEmpty("TZ"))
        qputenv("TZ", "UTC");
    qInstallMessageHandler(dropDebugLines);
    ensureApplication();
    return 0;
}

// Frame assembly decides only on the bytes at the front of its buffer, so
// where the chunks begin and end must not change what comes out: the records
// of the chunked stream, flushed, equal those of the whole stream at once
// (as long as the stream stays below the buffer's bound, which cuts it).
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static ModelBench everything(ModelBench::Reading::Everything);
    static ModelBench reference(ModelBench::Reading::SignatureOnly);
    const ChunkPlan plan(data, size);

    MeterRun chunked(everything);
    plan.run([&chunked](const std::vector<uint8_t> &chunk) { chunked.feed(chunk); });
    chunked.flush();

    MeterRun whole(reference);
    whole.feed(plan.stream());
    whole.flush();

    if (plan.stream().size() <= size_t(MyDMM::receiveBufferLimit))
        require(chunked.signatures() == whole.signatures());

    everything.clear();
    reference.clear();
    return 0;
}
