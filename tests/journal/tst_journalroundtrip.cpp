// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "journal/journalreading.h"
#include "journal/journalwriter.h"
#include "journal/sessionreader.h"
#include "meter/framedecoder.h"
#include "meter/mydmm.h"
#include "models/columnset.h"
#include "models/datamodel.h"
#include "models/modelfactory.h"
#include "sim/democycle.h"
#include "sim/framebuilder.h"
#include "support/csvtext.h"
#include "support/recorddescription.h"
#include "support/samplerecords.h"
#include "support/tempworkdir.h"
#include "window/chartpoint.h"

#include <QTest>

#include <cmath>
#include <iterator>
#include <limits>
#include <memory>

namespace {
using Frames = QList<QByteArray>;

int modeOf(const QByteArray &frame)
{
    return quint8(frame.at(5));
}

// Every frame of the demonstration meter's rounds of one kind and mode, and
// one whose main value is no number.
Frames framesOf(bool stored, int mode)
{
    Frames frames;
    for (int round = 0; round < int(std::size(DemoCycle::testVoltages)); ++round) {
        const DemoCycle cycle(round);
        for (const QByteArray &frame : stored ? cycle.storedFrames() : cycle.liveFrames()) {
            if (modeOf(frame) == mode)
                frames << frame;
        }
    }
    const QSharedPointer<DMMData> odd = SampleRecords::ofMode(static_cast<DMMData::DataMode>(mode));
    const double nan = std::numeric_limits<double>::quiet_NaN();
    if (auto *ir = dynamic_cast<DMMDataIR *>(odd.data()))
        ir->resistance.value = nan;
    if (auto *pi = dynamic_cast<DMMDataPI *>(odd.data()))
        pi->piRatio.value = nan;
    if (auto *dar = dynamic_cast<DMMDataDAR *>(odd.data()))
        dar->darRatio.value = nan;
    if (auto *cap = dynamic_cast<DMMDataCAP *>(odd.data()))
        cap->capacitance.value = nan;
    if (auto *res = dynamic_cast<DMMDataRES *>(odd.data()))
        res->resistance.value = nan;
    frames << (stored ? FrameBuilder::storedFrame(*odd) : FrameBuilder::liveFrame(*odd));
    return frames;
}

QList<QStringList> cellsOf(bool stored, int mode, const QList<QSharedPointer<DMMData>> &records)
{
    const ColumnSet columns;
    const std::unique_ptr<DataModel> model = stored ? ModelFactory::createStoredModel(mode, columns.columns(mode))
                                                    : ModelFactory::createLiveModel(mode, columns.columns(mode));
    model->addRecords(records);
    return CsvText::cellsOf(*model);
}

bool samePoint(const QSharedPointer<DMMData> &a, const QSharedPointer<DMMData> &b)
{
    const double first = ChartPoint::value(a);
    const double second = ChartPoint::value(b);
    return ChartPoint::key(*a) == ChartPoint::key(*b)
        && (first == second || (std::isnan(first) && std::isnan(second)));
}
} // namespace

class TestJournalRoundTrip : public QObject
{
    Q_OBJECT

private slots:
    void everyModeAndKindComesBackExactly_data();
    void everyModeAndKindComesBackExactly();
    void readingsKeepTheirOrderAcrossKinds();
};

void TestJournalRoundTrip::everyModeAndKindComesBackExactly_data()
{
    QTest::addColumn<bool>("stored");
    QTest::addColumn<int>("mode");
    for (const bool stored : {false, true}) {
        for (int mode = 0; mode < DMMData::modeCount; ++mode)
            QTest::addRow("%s %s", stored ? "stored" : "live", qPrintable(DMMData::modeName(mode))) << stored << mode;
    }
}

// Field by field, time stamp to the millisecond, table cell by cell and
// chart point by chart point.
void TestJournalRoundTrip::everyModeAndKindComesBackExactly()
{
    QFETCH(bool, stored);
    QFETCH(int, mode);
    const TempWorkDir dir;
    const Frames frames = framesOf(stored, mode);

    QList<QSharedPointer<DMMData>> originals;
    {
        JournalWriter writer(dir.filePath("journal.sqlite"), QStringLiteral("window"));
        QVERIFY2(writer.open(), qPrintable(writer.errorString()));
        for (const QByteArray &frame : frames) {
            const QSharedPointer<DMMData> record = stored ? FrameDecoder::storedRecordOf(frame) : FrameDecoder::liveRecordOf(frame);
            QVERIFY(record);
            originals << record;
            JournalReading reading;
            reading.kind = stored ? JournalReading::Stored : JournalReading::Live;
            reading.timeMs = record->dateTime.toMSecsSinceEpoch();
            reading.frame = frame;
            writer.write(reading);
            QTest::qWait(1); // readings a millisecond apart, as a meter's are at least
        }
        QCOMPARE(writer.unwritten(), 0);
    }

    SessionReader reader(dir.filePath("journal.sqlite"));
    QVERIFY2(reader.open(), qPrintable(reader.errorString()));
    const QList<JournalSession> sessions = reader.sessions();
    QCOMPARE(sessions.size(), 1);
    QVERIFY(sessions.first().cleanEnd);
    QCOMPARE(sessions.first().counts.value({stored ? JournalReading::Stored : JournalReading::Live, mode}),
             frames.size());
    SessionReader::Records records;
    QVERIFY(reader.readRecords(sessions.first().id, records));
    const QList<QSharedPointer<DMMData>> restored = stored ? records.stored : records.live;
    QVERIFY((stored ? records.live : records.stored).isEmpty());
    QCOMPARE(restored.size(), originals.size());

    for (int i = 0; i < restored.size(); ++i) {
        QCOMPARE(RecordDescription::describe(*restored.at(i)), RecordDescription::describe(*originals.at(i)));
        QCOMPARE(restored.at(i)->dateTime, originals.at(i)->dateTime);
        QCOMPARE(restored.at(i)->dateTime.toString(Qt::ISODateWithMs),
                 originals.at(i)->dateTime.toString(Qt::ISODateWithMs));
        QVERIFY2(samePoint(restored.at(i), originals.at(i)), qPrintable(QString::number(i)));
    }
    QCOMPARE(cellsOf(stored, mode, restored), cellsOf(stored, mode, originals));
}

// A download between live readings comes back where it was.
void TestJournalRoundTrip::readingsKeepTheirOrderAcrossKinds()
{
    const TempWorkDir dir;
    const DemoCycle cycle(1);
    QList<JournalReading> written;
    {
        JournalWriter writer(dir.filePath("journal.sqlite"), QStringLiteral("logger"));
        QVERIFY(writer.open());
        qint64 time = 1700000000000;
        for (const QByteArray &frame : cycle.liveFrames().mid(0, 5) + cycle.storedFrames() + cycle.liveFrames().mid(5)) {
            JournalReading reading;
            reading.kind = quint8(frame.at(4)) == MyDMM::storedFrameType ? JournalReading::Stored
                                                                          : JournalReading::Live;
            reading.timeMs = time++;
            reading.frame = frame;
            writer.write(reading);
            written << reading;
        }
    }
    SessionReader reader(dir.filePath("journal.sqlite"));
    QVERIFY(reader.open());
    QList<JournalReading> read;
    QVERIFY(reader.forEachReading(reader.sessions().first().id, [&read](const JournalReading &reading) {
        read << reading;
        return true;
    }));
    QCOMPARE(read.size(), written.size());
    for (int i = 0; i < read.size(); ++i) {
        QCOMPARE(read.at(i).kind, written.at(i).kind);
        QCOMPARE(read.at(i).timeMs, written.at(i).timeMs);
        QCOMPARE(read.at(i).frame, written.at(i).frame);
    }
}

QTEST_MAIN(TestJournalRoundTrip)
#include "tst_journalroundtrip.moc"
