// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "hid/hiddevinfo.h"
#include "journal/journalsession.h"
#include "meter/dmmdata.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QObject>
#include <QSharedPointer>
#include <QString>
#include <QWeakPointer>

#include <memory>

class BackgroundJob;
class JournalWriter;
class MyDMM;
class TemplateWindow;
class QWidget;

// Keeps every reading the window records in the journal as it is recorded,
// one session per opening of the meter, and brings sessions back into the
// window: the one a crash cut short, and any other from the history.
class WindowJournal : public QObject
{
    Q_OBJECT

public:
    WindowJournal(TemplateWindow &window, MyDMM &meter, const QString &fileName, QObject *parent = nullptr);
    ~WindowJournal() override;

    bool isOpen() const;
    QString fileName() const { return m_fileName; }
    JournalWriter *writer() const { return m_writer.get(); }

    // Sessions started on the days from `from` to `to`; a null date leaves
    // that side open. The newest first.
    QList<JournalSession> sessions(const QDate &from = QDate(), const QDate &to = QDate()) const;
    // Each loads or writes the whole session or nothing, with progress shown
    // in the dialog's bar (or a progress window without one) and a cancel.
    bool openSession(qint64 id, QWidget *dialog = nullptr);
    bool exportSession(qint64 id, const QString &directory, QWidget *dialog = nullptr);
    bool deleteSession(qint64 id);
    QString errorString() const { return m_error; }

public slots:
    void showHistory();
    // Offers the readings of the last session when it did not end cleanly.
    void offerRestore();

signals:
    // A session's readings are back in the tables.
    void sessionOpened(qint64 id, int readings);

private:
    void connectWindow();
    void onFrameDecoded(const QSharedPointer<DMMData> &record, const QByteArray &frame);
    void onRecorded(const QSharedPointer<DMMData> &record, bool stored);
    void onMeterOpened();
    void onMeterClosed();
    void reportFailure(const QString &reason);
    bool runJob(BackgroundJob &job, const QString &label, QWidget *dialog);

    TemplateWindow &m_window;
    MyDMM &m_meter;
    QString m_fileName;
    std::unique_ptr<JournalWriter> m_writer;
    // The frame the record now going through the window was decoded from.
    QWeakPointer<DMMData> m_decoded;
    QByteArray m_decodedFrame;
    HIDDevInfo m_chosenMeter;
    bool m_meterOpen = false;
    bool m_failureShown = false;
    QString m_error;
};
