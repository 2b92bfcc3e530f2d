// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "cli/livesampler.h"
#include "cli/loggeroptions.h"
#include "cli/recordwriter.h"
#include "hid/hiddevinfo.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QObject>
#include <QSharedPointer>
#include <QString>
#include <QTimer>
#include <QWeakPointer>

#include <memory>

class DMMData;
class JournalWriter;
class MyDMM;
class QTextStream;
class ReplayFeeder;
class StreamCapture;

// One logging session: records from a meter or a replayed stream pass the
// options' rules and go to the writer as they arrive, until a limit, a stop
// request, the end of the replay, a lost meter or a failure ends it.
class LoggerRun : public QObject
{
    Q_OBJECT

public:
    enum ExitStatus : int {
        Success = 0,
        Failure = 1,
        UsageError = 2,
        MeterLost = 3,
        // The run's records are in the journal; the team server has not
        // got them yet.
        NotSynced = 4,
        // The report is written, and says that the period holds no test.
        EmptyReport = 5,
    };

    LoggerRun(const LoggerOptions &options, QTextStream &status, QObject *parent = nullptr);
    ~LoggerRun() override;

    // A run opens its source first, then its outputs, then starts: a run
    // whose source fails creates or empties no file. Each step is false,
    // with a message on the status stream, when the run cannot go on.
    [[nodiscard]] bool openMeter(const QString &path);
    [[nodiscard]] bool openReplay(const QString &path);
    // Also keeps every record written in `journal`, an open one that must
    // outlive the run, in a session of `meter` as long as the run.
    void keepJournal(JournalWriter &journal, const HIDDevInfo &meter);
    // Opens the capture and starts writing to `writer`, which must outlive
    // the run.
    [[nodiscard]] bool start(RecordWriter &writer);

    // Ends the run cleanly: the meter is closed, whatever it had already
    // sent is written, then finished() comes. Safe to call from any slot.
    void stop();

    int liveWritten() const { return m_liveWritten; }
    int storedWritten() const { return m_storedWritten; }

signals:
    void started();
    void recordWritten(RecordWriter::Kind kind, const QSharedPointer<DMMData> &record);
    void finished(int exitStatus);

private:
    bool openCapture();
    void begin();
    void onLiveRecord(const QSharedPointer<DMMData> &record);
    void onStoredRecord(const QSharedPointer<DMMData> &record);
    void onFrameDecoded(const QSharedPointer<DMMData> &record, const QByteArray &frame);
    void onStream(const QByteArray &bytes);
    void onMeterGone();
    void onDeadlineTimer();
    void armDeadline();
    void writeRecord(RecordWriter::Kind kind, const QSharedPointer<DMMData> &record);
    void journalRecord(RecordWriter::Kind kind, const QSharedPointer<DMMData> &record);
    void onJournalFailed(const QString &reason);
    void failWith(const QString &message);
    void finishLater(int exitStatus);
    void finish();
    void report(const QString &message);

    LoggerOptions m_options;
    RecordWriter *m_writer = nullptr;
    QTextStream &m_status;
    std::unique_ptr<MyDMM> m_meter;
    std::unique_ptr<StreamCapture> m_capture;
    std::unique_ptr<ReplayFeeder> m_replay;
    QString m_meterPath;
    JournalWriter *m_journal = nullptr;
    HIDDevInfo m_journalMeter;
    QWeakPointer<DMMData> m_decoded; // the record whose frame is m_decodedFrame
    QByteArray m_decodedFrame;
    LiveSampler m_sampler;
    QTimer m_deadlineTimer;
    QDeadlineTimer m_deadline;
    int m_liveWritten = 0;
    int m_storedWritten = 0;
    int m_exitStatus = Success;
    bool m_accepting = false;     // records that arrive are written
    bool m_closing = false;       // the meter closes because the run ends
    bool m_finishQueued = false;
    bool m_finished = false;
    bool m_journalFailed = false;
};
