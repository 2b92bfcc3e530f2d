// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "cli/loggerrun.h"

#include "cli/replayfeeder.h"
#include "cli/streamcapture.h"
#include "hid/hidrawpath.h"
#include "journal/journalwriter.h"
#include "meter/mydmm.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

#include <algorithm>

namespace {
// QTimer counts in int milliseconds; a longer run re-arms it.
constexpr qint64 longestTimerMs = 3600 * 1000;

LiveSampler::Rules samplerRules(const LoggerOptions &options)
{
    LiveSampler::Rules rules;
    rules.samples = options.samples;
    rules.intervalMs = options.intervalMs;
    rules.testTimeOnly = options.testTimeOnly;
    return rules;
}
} // namespace

LoggerRun::LoggerRun(const LoggerOptions &options, QTextStream &status, QObject *parent)
    : QObject(parent)
    , m_options(options)
    , m_status(status)
    , m_meter(std::make_unique<MyDMM>())
    , m_sampler(samplerRules(options))
{
    connect(m_meter.get(), &MyDMM::frameDecoded, this, &LoggerRun::onFrameDecoded);
    connect(m_meter.get(), &MyDMM::updateLiveData, this, &LoggerRun::onLiveRecord);
    connect(m_meter.get(), &MyDMM::updateStoreData, this, &LoggerRun::onStoredRecord);
    connect(m_meter.get(), &MyDMM::streamReceived, this, &LoggerRun::onStream);
    connect(m_meter.get(), &MyDMM::closed, this, &LoggerRun::onMeterGone);
    connect(m_meter.get(), &MyDMM::communicationTimeout, this, &LoggerRun::onMeterGone);
    m_deadlineTimer.setSingleShot(true);
    connect(&m_deadlineTimer, &QTimer::timeout, this, &LoggerRun::onDeadlineTimer);
}

LoggerRun::~LoggerRun()
{
    m_closing = true;
    m_meter->close();
}

// Reports that arrive before start() wait in the event queue, which no step
// of the start turns: none is lost in between.
bool LoggerRun::openMeter(const QString &path)
{
    if (!m_meter->open(path)) {
        report(tr("Cannot open the meter at %1.").arg(path));
        if (!HidrawPath::isOpenable(path)) {
            report(tr("It is no HID device."));
            return false;
        }
#ifdef Q_OS_LINUX
        report(tr("Check that your user may read and write the meter's hidraw device: install the udev rule "
                  "60-tessra.rules that comes with Tessra, or put the line\n  SUBSYSTEM==\"hidraw\", "
                  "ATTRS{idVendor}==\"1a86\", ATTRS{idProduct}==\"e429\", TAG+=\"uaccess\"\ninto "
                  "/etc/udev/rules.d/60-tessra.rules, then plug the meter in again."));
#endif
        return false;
    }
    m_meterPath = path;
    return true;
}

bool LoggerRun::openReplay(const QString &path)
{
    m_replay = std::make_unique<ReplayFeeder>(path);
    if (!m_replay->open()) {
        report(m_replay->errorString());
        return false;
    }
    connect(m_replay.get(), &ReplayFeeder::chunkRead, this, [this](const QByteArray &bytes) {
        m_meter->slotSerialDeviceRead(reinterpret_cast<const uint8_t *>(bytes.constData()), uint(bytes.size()));
    });
    connect(m_replay.get(), &ReplayFeeder::finished, this, [this] { finishLater(Success); });
    connect(m_replay.get(), &ReplayFeeder::failed, this, &LoggerRun::failWith);
    return true;
}

void LoggerRun::keepJournal(JournalWriter &journal, const HIDDevInfo &meter)
{
    m_journal = &journal;
    m_journalMeter = meter;
    connect(m_journal, &JournalWriter::failed, this, &LoggerRun::onJournalFailed);
}

bool LoggerRun::start(RecordWriter &writer)
{
    if (!openCapture())
        return false;
    m_writer = &writer;
    if (!m_replay)
        report(tr("Logging the meter at %1; stop with Ctrl-C.").arg(m_meterPath));
    begin();
    if (m_replay)
        m_replay->start();
    return true;
}

void LoggerRun::stop()
{
    finishLater(Success);
}

bool LoggerRun::openCapture()
{
    if (m_options.capture.isEmpty())
        return true;
    m_capture = std::make_unique<StreamCapture>(m_options.capture);
    if (m_capture->open())
        return true;
    report(m_capture->errorString());
    return false;
}

void LoggerRun::begin()
{
    if (m_journal)
        m_journal->beginSession(m_journalMeter);
    m_accepting = true;
    m_sampler.start();
    if (m_options.timeMs > 0) {
        m_deadline.setRemainingTime(m_options.timeMs);
        armDeadline();
    }
    emit started();
}

void LoggerRun::onLiveRecord(const QSharedPointer<DMMData> &record)
{
    if (!m_accepting || m_options.storedOnly || !record || !m_sampler.accept(*record))
        return;
    writeRecord(RecordWriter::Kind::Live, record);
    if (m_sampler.limitReached()) {
        m_accepting = false;
        finishLater(Success);
    }
}

void LoggerRun::onStoredRecord(const QSharedPointer<DMMData> &record)
{
    if (!m_accepting || m_options.liveOnly || !record)
        return;
    writeRecord(RecordWriter::Kind::Stored, record);
}

// The decoder hands over each record's frame just before the record itself,
// on the same thread: the frame kept here is that of the next record.
void LoggerRun::onFrameDecoded(const QSharedPointer<DMMData> &record, const QByteArray &frame)
{
    m_decoded = record;
    m_decodedFrame = frame;
}

void LoggerRun::onStream(const QByteArray &bytes)
{
    if (m_capture && m_accepting && !m_capture->append(bytes))
        failWith(m_capture->errorString());
}

// The meter closed without being asked to, or reported that it went silent:
// it was unplugged. Everything it sent before has been written already.
void LoggerRun::onMeterGone()
{
    if (m_closing || m_finishQueued)
        return;
    report(tr("The meter was lost; every record received before has been written."));
    finishLater(MeterLost);
}

void LoggerRun::onDeadlineTimer()
{
    if (!m_deadline.hasExpired()) {
        armDeadline();
        return;
    }
    m_accepting = false;
    finishLater(Success);
}

void LoggerRun::armDeadline()
{
    m_deadlineTimer.start(int(std::clamp<qint64>(m_deadline.remainingTime(), 0, longestTimerMs)));
}

// The journal first: a run killed between the two steps never leaves a
// record printed that the journal does not keep.
void LoggerRun::writeRecord(RecordWriter::Kind kind, const QSharedPointer<DMMData> &record)
{
    journalRecord(kind, record);
    if (!m_writer->write(kind, record)) {
        failWith(m_writer->errorString());
        return;
    }
    ++(kind == RecordWriter::Kind::Live ? m_liveWritten : m_storedWritten);
    emit recordWritten(kind, record);
}

// The journal keeps the frame and the decode time: reading it back decodes
// the same record with the same stamp, so it prints as it was written here.
void LoggerRun::journalRecord(RecordWriter::Kind kind, const QSharedPointer<DMMData> &record)
{
    if (!m_journal || m_decoded.toStrongRef() != record)
        return;
    JournalReading reading;
    reading.kind = kind == RecordWriter::Kind::Live ? JournalReading::Live : JournalReading::Stored;
    reading.timeMs = record->dateTime.toMSecsSinceEpoch();
    reading.frame = m_decodedFrame;
    m_journal->write(reading);
}

// The records still reach the output, which matters more than the journal:
// the run goes on, and says so once.
void LoggerRun::onJournalFailed(const QString &reason)
{
    if (m_journalFailed)
        return;
    m_journalFailed = true;
    report(tr("Cannot keep the records in the journal %1: %2\nLogging goes on; the records that wait go "
              "into the journal once it takes them again.")
               .arg(QDir::toNativeSeparators(m_journal->fileName()), reason));
}

void LoggerRun::failWith(const QString &message)
{
    report(message);
    m_accepting = false;
    finishLater(Failure);
}

// Every end goes through the event loop: the meter connection must not be
// closed from inside one of its own signals.
void LoggerRun::finishLater(int exitStatus)
{
    // A failure outranks whatever ended the run before it.
    if (!m_finishQueued || exitStatus == Failure)
        m_exitStatus = exitStatus;
    if (m_finishQueued)
        return;
    m_finishQueued = true;
    QMetaObject::invokeMethod(this, &LoggerRun::finish, Qt::QueuedConnection);
}

void LoggerRun::finish()
{
    if (m_finished)
        return;
    m_finished = true;
    m_closing = true;
    m_deadlineTimer.stop();
    m_sampler.stop();
    if (m_replay)
        m_replay->stop();
    if (m_meter->actived()) {
        m_meter->close();
        // Reports read before the close still wait in the event queue.
        QCoreApplication::sendPostedEvents();
    }
    m_accepting = false;
    if (m_journal)
        m_journal->endSession();
    report(tr("%1 live and %2 stored records written.").arg(m_liveWritten).arg(m_storedWritten));
    if (m_journal && m_journal->lost() > 0)
        report(tr("%1 of them could not be kept in the journal %2: %3")
                   .arg(m_journal->lost())
                   .arg(QDir::toNativeSeparators(m_journal->fileName()), m_journal->errorString()));
    emit finished(m_exitStatus);
}

void LoggerRun::report(const QString &message)
{
    m_status << message << '\n';
    m_status.flush();
}
