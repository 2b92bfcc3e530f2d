// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
//
// The journal: what keeping a reading costs against what the window spends
// on it, the size of a million readings on disk, and bringing a session of a
// million readings back into the tables against decoding the same frames
// from a capture file into the same tables.
#include "app/proglobal.h"
#include "bench/appscoped.h"
#include "bench/benchfigures.h"
#include "bench/benchreadings.h"
#include "journal/journalreading.h"
#include "journal/journalwriter.h"
#include "journal/sessionreader.h"
#include "meter/mydmm.h"
#include "models/columnset.h"
#include "models/datamodel.h"
#include "models/modelfactory.h"
#include "sim/democycle.h"
#include "window/templatewindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <benchmark/benchmark.h>

#include <iterator>
#include <memory>
#include <vector>

namespace {
constexpr int million = 1000000;
constexpr int readingsPerSession = 100000;

// Live frames as a meter sends them through a long day: every mode, many
// values, in the order the demonstration meter runs its tests.
QList<QByteArray> dayOfFrames()
{
    QList<QByteArray> frames;
    for (int round = 0; round < int(std::size(DemoCycle::testVoltages)); ++round) {
        const DemoCycle cycle(round);
        frames += cycle.liveFrames() + cycle.storedFrames();
    }
    return frames;
}

JournalReading readingOf(const QByteArray &frame, qint64 timeMs)
{
    JournalReading reading;
    reading.kind = quint8(frame.at(4)) == MyDMM::storedFrameType ? JournalReading::Stored : JournalReading::Live;
    reading.timeMs = timeMs;
    reading.frame = frame;
    return reading;
}

void feed(MyDMM &meter, const QByteArray &bytes)
{
    meter.slotSerialDeviceRead(reinterpret_cast<const uint8_t *>(bytes.constData()), uint(bytes.size()));
}

// The window in a directory of its own. Without a journal, where one stands
// in its way (a directory by the journal's name).
class Window
{
public:
    explicit Window(bool journalled)
        : m_dir(QDir::current().filePath(journalled ? QStringLiteral("with") : QStringLiteral("without")))
    {
        QDir().mkpath(m_dir);
        if (!journalled)
            QDir(m_dir).mkpath(QStringLiteral("tessra.sqlite"));
        const QString previous = QDir::currentPath();
        QDir::setCurrent(m_dir);
        ProGlobal::instance()->setAppTitle(QStringLiteral("Tessra"));
        ProGlobal::instance()->setAppVersion(QStringLiteral("1.00"));
        m_window = std::make_unique<TemplateWindow>();
        m_window->resize(1280, 800);
        m_window->show();
        QDir::setCurrent(previous);
        settle();
    }

    MyDMM &meter() const { return *m_window->findChild<MyDMM *>(); }

    static void settle()
    {
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }

private:
    QString m_dir;
    std::unique_ptr<TemplateWindow> m_window;
};

// Gone with the application, before its objects are.
struct WindowWithoutJournal : Window
{
    WindowWithoutJournal()
        : Window(false)
    {
    }
};

// One live IR frame after another, as the meter sends them, each followed by
// the pass of the event loop that draws it.
void WindowReading(benchmark::State &state)
{
    const Window &window = appScoped<WindowWithoutJournal>();
    const QList<QByteArray> frames = BenchReadings::everyLayout(0);
    const QByteArray ir = frames.first();
    for (auto _ : state) {
        feed(window.meter(), ir);
        Window::settle();
    }
}

// What the window adds for its journal to each reading: one reading written
// and committed, on the thread that records it.
void JournalWrite(benchmark::State &state)
{
    JournalWriter writer(QDir::current().filePath(QStringLiteral("write.sqlite")), QStringLiteral("window"));
    if (!writer.open()) {
        state.SkipWithError("journal cannot be opened");
        return;
    }
    const QByteArray ir = BenchReadings::everyLayout(0).first();
    qint64 time = 1765360000000;
    for (auto _ : state)
        writer.write(readingOf(ir, time += 300));
}

// A million readings in sessions of a hundred thousand: the file's bytes per
// reading once the log is folded in.
void JournalBytes(benchmark::State &state)
{
    const QString name = QDir::current().filePath(QStringLiteral("size.sqlite"));
    for (auto _ : state) {
        QFile::remove(name);
        JournalWriter writer(name, QStringLiteral("logger"));
        if (!writer.open()) {
            state.SkipWithError("journal cannot be opened");
            return;
        }
        const QList<QByteArray> frames = dayOfFrames();
        qint64 time = 1765360000000;
        for (int i = 0; i < million; ++i) {
            if (i % readingsPerSession == 0)
                writer.beginSession(HIDDevInfo());
            writer.write(readingOf(frames.at(i % frames.size()), time += 300));
        }
        writer.endSession();
    }
    state.counters["bytesPerReading"] = double(QFileInfo(name).size()) / million;
}

struct Tables
{
    ColumnSet columns;
    std::vector<std::unique_ptr<DataModel>> live;
    std::vector<std::unique_ptr<DataModel>> stored;

    Tables()
    {
        for (int mode = 0; mode < DMMData::modeCount; ++mode) {
            live.push_back(ModelFactory::createLiveModel(mode, columns.columns(mode)));
            stored.push_back(ModelFactory::createStoredModel(mode, columns.columns(mode)));
        }
    }

    void fill(const QList<QSharedPointer<DMMData>> &records, bool isStored)
    {
        QVector<QList<QSharedPointer<DMMData>>> byMode(DMMData::modeCount);
        for (const QSharedPointer<DMMData> &record : records)
            byMode[record->mode].append(record);
        for (int mode = 0; mode < DMMData::modeCount; ++mode)
            (isStored ? stored : live).at(size_t(mode))->addRecords(byMode.at(mode));
    }

    int rows() const
    {
        int count = 0;
        for (const auto *models : {&live, &stored}) {
            for (const auto &model : *models)
                count += model->rowCount();
        }
        return count;
    }
};

QString restoreJournal()
{
    return QDir::current().filePath(QStringLiteral("restore.sqlite"));
}

QString captureFile()
{
    return QDir::current().filePath(QStringLiteral("capture.bin"));
}

// A session of a million readings in a journal, and the same frames as the
// meter's byte stream in a capture file.
void prepareSession()
{
    if (QFile::exists(restoreJournal()))
        return;
    const QList<QByteArray> frames = dayOfFrames();
    JournalWriter writer(restoreJournal(), QStringLiteral("logger"));
    if (!writer.open())
        return;
    QFile capture(captureFile());
    capture.open(QIODevice::WriteOnly);
    qint64 time = 1765360000000;
    writer.beginSession(HIDDevInfo());
    for (int i = 0; i < million; ++i) {
        const QByteArray &frame = frames.at(i % frames.size());
        writer.write(readingOf(frame, time += 300));
        capture.write(frame);
    }
    writer.endSession();
}

// The session's readings read back, decoded with their times and put in the
// tables of their kind and mode.
void RestoreSession(benchmark::State &state)
{
    prepareSession();
    for (auto _ : state) {
        SessionReader reader(restoreJournal());
        SessionReader::Records records;
        if (!reader.open() || !reader.readRecords(reader.sessions().first().id, records)) {
            state.SkipWithError("the session cannot be read");
            return;
        }
        Tables tables;
        tables.fill(records.live, false);
        tables.fill(records.stored, true);
        state.counters["rows"] = tables.rows();
    }
}

// The same frames from the capture file, cut out of the stream and decoded
// as the logger's replay does it, into the same tables.
void DecodeCapture(benchmark::State &state)
{
    prepareSession();
    for (auto _ : state) {
        QFile capture(captureFile());
        if (!capture.open(QIODevice::ReadOnly)) {
            state.SkipWithError("the capture cannot be read");
            return;
        }
        SessionReader::Records records;
        MyDMM meter;
        QObject::connect(&meter, &MyDMM::updateLiveData,
                         [&records](const QSharedPointer<DMMData> &record) { records.live.append(record); });
        QObject::connect(&meter, &MyDMM::updateStoreData,
                         [&records](const QSharedPointer<DMMData> &record) { records.stored.append(record); });
        for (QByteArray chunk = capture.read(4096); !chunk.isEmpty(); chunk = capture.read(4096))
            feed(meter, chunk);
        Tables tables;
        tables.fill(records.live, false);
        tables.fill(records.stored, true);
        state.counters["rows"] = tables.rows();
    }
}

BENCHMARK(WindowReading)->Iterations(400)->Unit(benchmark::kMicrosecond);
BENCHMARK(JournalWrite)->Iterations(20000)->Unit(benchmark::kMicrosecond);
BENCHMARK(JournalBytes)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(RestoreSession)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(DecodeCapture)->Iterations(1)->Unit(benchmark::kMillisecond);

[[maybe_unused]] const bool figures[] = {
    BenchFigures::addRatio("journal write / the window's own live reading", "JournalWrite", "WindowReading", 0.05),
    BenchFigures::addCounter("journal bytes per reading at 1 000 000 readings", "JournalBytes", "bytesPerReading",
                             200.0, false),
    BenchFigures::addRatio("restore of 1 000 000 readings / decoding them from a capture, same tables",
                           "RestoreSession", "DecodeCapture", 1.5),
};
} // namespace
