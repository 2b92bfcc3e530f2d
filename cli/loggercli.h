// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "cli/loggeroptions.h"
#include "cli/recordwriter.h"
#include "hid/hiddevinfo.h"

#include <QObject>
#include <QSharedPointer>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include <memory>

class DMMData;
class JournalPrinter;
class JournalWriter;
class LoggerRun;
class QIODevice;

// The headless logger's command: reads the command line, lists meters, runs
// one logging session or reads a journal back, and returns the process's
// exit status. Data
// goes to `out` (or the files the options name), messages to `err`.
class LoggerCli : public QObject
{
    Q_OBJECT

public:
    LoggerCli(QIODevice &out, QIODevice &err, QObject *parent = nullptr);
    ~LoggerCli() override;

    // `arguments` starts with the program name. Blocks in an event loop of
    // its own until the session ends.
    int run(const QStringList &arguments);

    // Where --set-details reads its details; standard input unless set.
    void setInput(QIODevice *in) { m_in = in; }

    // The clean stop that SIGINT and SIGTERM trigger; nothing between runs.
    void requestStop();

signals:
    void started();
    void recordWritten(RecordWriter::Kind kind, const QSharedPointer<DMMData> &record);

private:
    int listMeters();
    bool chooseMeter(const LoggerOptions &options, QString &path);
    std::unique_ptr<RecordWriter> createWriter(const LoggerOptions &options, std::unique_ptr<QIODevice> &file);
    int session(const LoggerOptions &options);
    std::unique_ptr<JournalWriter> openJournal(const QString &fileName);
    int syncJournal(const QString &fileName, int runStatus, int notKept = 0);
    static HIDDevInfo journalMeter(const LoggerOptions &options, const QString &path);
    int readJournal(const LoggerOptions &options);
    int listSessions(JournalPrinter &printer);
    int listTests(JournalPrinter &printer, double predictAtSeconds);
    int writeReport(const LoggerOptions &options);
    int setDetails(const LoggerOptions &options);
    QByteArray readInput();
    int printSession(JournalPrinter &printer, const LoggerOptions &options);
    int usageError(const QString &message);
    void print(QTextStream &stream, const QString &text);

    QIODevice &m_out;
    QTextStream m_outText;
    QTextStream m_err;
    LoggerRun *m_run = nullptr; // the session under way, if any
    QIODevice *m_in = nullptr;
};
