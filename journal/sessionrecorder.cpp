// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "journal/sessionrecorder.h"

#include "app/proglobal.h"
#include "insulation/testsegmenter.h"
#include "journal/journalwriter.h"
#include "journal/memorydownload.h"
#include "journal/readingstore.h"
#include "journal/sessionstore.h"
#include "journal/teststore.h"

#include "meter/mydmm.h"

#include <QDateTime>

namespace {
// The header's byte that tells a live frame from a stored one.
constexpr int frameTypeOffset = 4;
} // namespace

SessionRecorder::SessionRecorder(const QString &fileName, QObject *parent)
    : QObject(parent)
    , m_fileName(fileName)
    , m_writer(std::make_unique<JournalWriter>(fileName, QStringLiteral("window")))
    , m_segmenter(std::make_unique<TestSegmenter>())
{
    connect(m_segmenter.get(), &TestSegmenter::testStarted, this, &SessionRecorder::testRunning);
    connect(m_segmenter.get(), &TestSegmenter::testUpdated, this, &SessionRecorder::testRunning);
    connect(m_segmenter.get(), &TestSegmenter::testFinished, this, &SessionRecorder::keepTest);
    m_silence.setInterval(1000);
    connect(&m_silence, &QTimer::timeout, this,
            [this] { m_segmenter->advanceTo(QDateTime::currentMSecsSinceEpoch()); });
    m_writer->setProgramVersion(ProGlobal::instance()->appVersion());
    connect(m_writer.get(), &JournalWriter::failed, this, &SessionRecorder::failed);
    if (!m_writer->open()) {
        m_error = m_writer->errorString();
        m_writer.reset();
    }
    m_download = std::make_unique<MemoryDownload>(database());
}

SessionRecorder::~SessionRecorder()
{
    endTests();
}

bool SessionRecorder::isOpen() const
{
    return m_writer != nullptr;
}

QSqlDatabase SessionRecorder::database() const
{
    return m_writer ? m_writer->database() : QSqlDatabase();
}

qint64 SessionRecorder::sessionId() const
{
    return m_writer ? m_writer->sessionId() : -1;
}

QList<JournalSession> SessionRecorder::sessions(const QDate &from, const QDate &to) const
{
    if (!m_writer)
        return {};
    const qint64 fromMs = from.isValid() ? QDateTime(from.startOfDay()).toMSecsSinceEpoch() : -1;
    const qint64 toMs = to.isValid() ? QDateTime(to.addDays(1).startOfDay()).toMSecsSinceEpoch() : -1;
    return m_writer->sessions().list(fromMs, toMs);
}

bool SessionRecorder::deleteSession(qint64 id)
{
    if (!m_writer)
        return false;
    if (m_writer->sessionId() == id) {
        m_error = tr("The session is being recorded.");
        return false;
    }
    if (m_writer->sessions().remove(id)) {
        m_download->forgetKnown();
        return true;
    }
    m_error = m_writer->sessions().errorString();
    return false;
}

std::optional<JournalSession> SessionRecorder::sessionCutShort()
{
    if (!m_writer)
        return std::nullopt;
    const QList<JournalSession> abandoned = m_writer->closeAbandonedSessions();
    // A colleague's session come down meanwhile is no session of this
    // laptop's to restore, and hides none.
    const std::optional<JournalSession> last = m_writer->sessions().latest(RowOrigin::Here);
    if (!last || last->cleanEnd || last->total() == 0)
        return std::nullopt;
    for (const JournalSession &session : abandoned) {
        if (session.id == last->id)
            return last;
    }
    return std::nullopt;
}

std::optional<InsulationTest> SessionRecorder::runningTest() const
{
    return m_segmenter->running();
}

// The window records a record, if at all, within the decoder's signal, so
// the frame of the record now on its way is the one to keep.
void SessionRecorder::takeFrame(const QSharedPointer<DMMData> &record, const QByteArray &frame)
{
    m_decoded = record;
    m_decodedFrame = frame;
    if (frame.size() > frameTypeOffset && quint8(frame.at(frameTypeOffset)) != MyDMM::storedFrameType)
        m_download->end();
}

bool SessionRecorder::admitStored(const QSharedPointer<DMMData> &record)
{
    if (!record || m_decoded.toStrongRef() != record)
        return true;
    const bool fresh = m_download->admit(m_decodedFrame, record->dateTime.toMSecsSinceEpoch());
    emit downloadCounted(m_download->records(), m_download->fresh());
    return fresh;
}

void SessionRecorder::recordLive(const QSharedPointer<DMMData> &record)
{
    this->record(record, false);
}

void SessionRecorder::recordStored(const QSharedPointer<DMMData> &record)
{
    this->record(record, true);
}

void SessionRecorder::record(const QSharedPointer<DMMData> &record, bool stored)
{
    if (!m_writer || !record || m_decoded.toStrongRef() != record)
        return;
    JournalReading reading;
    reading.kind = stored ? JournalReading::Stored : JournalReading::Live;
    reading.timeMs = record->dateTime.toMSecsSinceEpoch();
    reading.frame = m_decodedFrame;
    const qint64 seq = m_writer->write(reading);
    if (stored)
        m_segmenter->addStored(record, seq);
    else
        m_segmenter->addLive(record, seq);
    if (!m_silence.isActive())
        m_silence.start();
}

void SessionRecorder::chooseMeter(const HIDDevInfo &meter)
{
    m_chosenMeter = meter;
}

// A test is kept when it ends, with the details the technician gave for it.
void SessionRecorder::keepTest(const InsulationTest &finished)
{
    InsulationTest test = finished;
    test.sessionId = m_writer ? m_writer->sessionId() : -1;
    if (!m_writer || test.sessionId < 0)
        return;
    TestStore store(m_writer->database());
    if (!store.add(test)) {
        emit failed(store.errorString());
        return;
    }
    const TestDetails details = detailsFor(test);
    if (!details.isEmpty()) {
        if (!store.saveDetails(test.id, details))
            emit failed(store.errorString());
        // Accepted for one test: the one after is asked about again.
        m_offerAccepted = false;
        emit offerChanged();
    }
    store.setThroughSeq(test.sessionId, test.lastSeq);
    emit testKept(test);
}

void SessionRecorder::offerDetails(const TestDetails &details, int mode, bool accepted)
{
    m_nextDetails = details;
    m_offeredMode = mode;
    m_offerAccepted = accepted && !details.isEmpty();
    emit offerChanged();
}

void SessionRecorder::acceptOffer(bool accepted)
{
    if (m_offerAccepted == (accepted && !m_nextDetails.isEmpty()))
        return;
    m_offerAccepted = accepted && !m_nextDetails.isEmpty();
    emit offerChanged();
}

TestDetails SessionRecorder::detailsFor(const InsulationTest &test) const
{
    if (!m_offerAccepted || test.origin != InsulationTest::Origin::Live)
        return TestDetails();
    const bool insulation = !test.isMeasurement() && test.mode != DMMData::dmCOMP;
    const bool sameMode = m_offeredMode < 0 ? insulation : test.mode == m_offeredMode;
    return sameMode ? m_nextDetails : TestDetails();
}

// What the session's readings hold after its last test has been looked at.
void SessionRecorder::endTests()
{
    m_silence.stop();
    m_segmenter->finish();
    if (m_writer && m_writer->sessionId() >= 0)
        TestStore(m_writer->database())
            .setThroughSeq(m_writer->sessionId(), m_writer->readings().nextSeq(m_writer->sessionId()) - 1);
}

// The meter connection announces each change twice.
void SessionRecorder::meterOpened()
{
    if (m_meterOpen)
        return;
    m_meterOpen = true;
    m_download->setMeter(m_chosenMeter);
    endTests();
    if (m_writer)
        m_writer->beginSession(m_chosenMeter);
}

// Reports read just before the close still wait in the event queue; the
// session ends behind them, so that their readings are still its own.
void SessionRecorder::meterClosed()
{
    if (!m_meterOpen)
        return;
    m_meterOpen = false;
    m_chosenMeter = HIDDevInfo();
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_meterOpen)
                return;
            endTests();
            if (m_writer)
                m_writer->endSession();
            emit sessionEnded();
        },
        Qt::QueuedConnection);
}
