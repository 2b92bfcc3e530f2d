// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "cli/loggeroptions.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>

// Reads the logger's command line into LoggerOptions and checks that the
// options make sense together.
class LoggerOptionsParser
{
    Q_DECLARE_TR_FUNCTIONS(LoggerOptionsParser)

public:
    enum class Outcome { Run, Help, Version, Error };

    LoggerOptionsParser();

    // `arguments` starts with the program name, as QCoreApplication::arguments().
    Outcome parse(const QStringList &arguments);

    const LoggerOptions &options() const { return m_options; }
    // Why parse() gave Error, in one line.
    QString errorText() const { return m_error; }
    QString helpText() const;

private:
    QList<const QCommandLineOption *> loggerOptions() const;
    bool checkEachGivenOnce();
    bool checkNamesNotEmpty();
    bool readValues();
    bool readFormat();
    bool readSamples();
    bool readTime();
    bool readInterval();
    bool readSession();
    bool readReport();
    bool readPredictAt();
    bool readSetDetails();
    bool readDate(const QCommandLineOption &option, QDate &date);
    bool checkReportCombinations();
    bool checkCombinations();
    bool checkJournalCombinations();
    bool fail(const QString &message);

    QCommandLineParser m_parser;
    QCommandLineOption m_list;
    QCommandLineOption m_device;
    QCommandLineOption m_samples;
    QCommandLineOption m_time;
    QCommandLineOption m_interval;
    QCommandLineOption m_testTimeOnly;
    QCommandLineOption m_liveOnly;
    QCommandLineOption m_storedOnly;
    QCommandLineOption m_format;
    QCommandLineOption m_output;
    QCommandLineOption m_capture;
    QCommandLineOption m_replay;
    QCommandLineOption m_database;
    QCommandLineOption m_listSessions;
    QCommandLineOption m_listTests;
    QCommandLineOption m_predictAt;
    QCommandLineOption m_report;
    QCommandLineOption m_reportItem;
    QCommandLineOption m_from;
    QCommandLineOption m_to;
    QCommandLineOption m_session;
    QCommandLineOption m_setDetails;
    QCommandLineOption m_sync;
    QCommandLineOption m_help;
    QCommandLineOption m_version;
    LoggerOptions m_options;
    QString m_error;
};
