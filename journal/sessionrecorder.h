// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "hid/hiddevinfo.h"
#include "insulation/insulationtest.h"
#include "insulation/testdetails.h"
#include "journal/journalsession.h"
#include "meter/dmmdata.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QObject>
#include <QSharedPointer>
#include <QSqlDatabase>
#include <QString>
#include <QTimer>
#include <QWeakPointer>

#include <memory>
#include <optional>

class JournalWriter;
class MemoryDownload;
class TestSegmenter;

// Keeps every reading the window records in the journal the moment it is
// recorded, one session per opening of the meter, cuts the readings into
// tests as they run, and knows which session a crash cut short.
class SessionRecorder : public QObject
{
    Q_OBJECT

public:
    explicit SessionRecorder(const QString &fileName, QObject *parent = nullptr);
    // The running test ends with the recorder, as with a close of the meter.
    ~SessionRecorder() override;

    // False, with errorString(), when the journal cannot be used; the
    // readings are then only shown.
    bool isOpen() const;
    QString fileName() const { return m_fileName; }
    QString errorString() const { return m_error; }
    JournalWriter *writer() const { return m_writer.get(); }
    // The writer's connection, for the windows on the GUI thread; invalid without a journal.
    QSqlDatabase database() const;
    // -1 while no session is recorded.
    qint64 sessionId() const;

    // Sessions started on the days from `from` to `to`; a null date leaves
    // that side open. The newest first.
    QList<JournalSession> sessions(const QDate &from = QDate(), const QDate &to = QDate()) const;
    // Refuses the session being recorded.
    bool deleteSession(qint64 id);
    // Ends the sessions that programs killed while recording left open; the
    // last of them when it is the newest session and has readings.
    std::optional<JournalSession> sessionCutShort();

    // The test the meter runs now, if any.
    std::optional<InsulationTest> runningTest() const;
    // Details offered for the next live test of `mode` (any insulation
    // mode for -1); a test is kept with them only once they are accepted,
    // and only the one test that ends next. Measurements, COMP results and
    // memory records are never filed by an offer made for another mode.
    void offerDetails(const TestDetails &details, int mode, bool accepted = false);
    void acceptOffer(bool accepted);
    TestDetails nextDetails() const { return m_nextDetails; }
    int offeredMode() const { return m_offeredMode; }
    bool isOfferAccepted() const { return m_offerAccepted; }
    // The details `test` is kept with when it ends; empty when none.
    TestDetails detailsFor(const InsulationTest &test) const;

    // Whether the stored record now on its way through the window is new to
    // the journal: a download of the meter's memory brings every record
    // again. True for a record whose frame is not known.
    bool admitStored(const QSharedPointer<DMMData> &record);

public slots:
    // The meter connection's frame of the record now on its way through the window.
    void takeFrame(const QSharedPointer<DMMData> &record, const QByteArray &frame);
    // A record the window gave a row in its live or stored table.
    void recordLive(const QSharedPointer<DMMData> &record);
    void recordStored(const QSharedPointer<DMMData> &record);
    // The meter about to be opened, as the HID layer describes it.
    void chooseMeter(const HIDDevInfo &meter);
    void meterOpened();
    void meterClosed();

signals:
    // The journal failed to open or to write; `reason` says why.
    void failed(const QString &reason);
    // The running test began or grew; a test ended and is kept.
    void testRunning(const InsulationTest &test);
    void testKept(const InsulationTest &test);
    // A session is complete in the journal, its tests cut.
    void sessionEnded();
    // The offered details, their mode or their acceptance changed.
    void offerChanged();
    // The records the running download of the meter's memory brought so
    // far, and how many of them were new.
    void downloadCounted(int records, int fresh);

private:
    void record(const QSharedPointer<DMMData> &record, bool stored);
    void keepTest(const InsulationTest &test);
    void endTests();

    QString m_fileName;
    QString m_error;
    std::unique_ptr<JournalWriter> m_writer;
    std::unique_ptr<TestSegmenter> m_segmenter;
    std::unique_ptr<MemoryDownload> m_download;
    // The frame the record now going through the window was decoded from.
    QWeakPointer<DMMData> m_decoded;
    QByteArray m_decodedFrame;
    HIDDevInfo m_chosenMeter;
    bool m_meterOpen = false;
    QTimer m_silence; // ends a test the meter fell silent in
    TestDetails m_nextDetails;
    int m_offeredMode = -1;
    bool m_offerAccepted = false;
};
