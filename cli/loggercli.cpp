// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "cli/loggercli.h"

#include "cli/csvrecordwriter.h"
#include "cli/jsonlrecordwriter.h"
#include "cli/loggeroptionsparser.h"
#include "cli/loggerrun.h"
#include "cli/meterlist.h"
#include "cli/outputconflicts.h"
#include "cli/terminationsignals.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QScopedValueRollback>

LoggerCli::LoggerCli(QIODevice &out, QIODevice &err, QObject *parent)
    : QObject(parent)
    , m_out(out)
    , m_outText(&out)
    , m_err(&err)
{
    m_outText.setCodec("UTF-8");
    m_err.setCodec("UTF-8");
}

LoggerCli::~LoggerCli() = default;

int LoggerCli::run(const QStringList &arguments)
{
    LoggerOptionsParser parser;
    switch (parser.parse(arguments)) {
    case LoggerOptionsParser::Outcome::Help:
        print(m_outText, parser.helpText());
        return LoggerRun::Success;
    case LoggerOptionsParser::Outcome::Version:
        print(m_outText, QStringLiteral("%1 %2\n").arg(QCoreApplication::applicationName(),
                                                       QCoreApplication::applicationVersion()));
        return LoggerRun::Success;
    case LoggerOptionsParser::Outcome::Error:
        return usageError(parser.errorText());
    case LoggerOptionsParser::Outcome::Run:
        break;
    }
    const LoggerOptions &options = parser.options();
    if (options.list)
        return listMeters();
    OutputConflicts conflicts;
    if (!conflicts.check(options))
        return usageError(conflicts.errorString());
    return session(options);
}

void LoggerCli::requestStop()
{
    if (m_run)
        m_run->stop();
}

int LoggerCli::listMeters()
{
    const QList<HIDDevInfo> meters = MeterList::attached();
    if (meters.isEmpty())
        print(m_err, tr("No meter found.\n"));
    for (const HIDDevInfo &meter : meters)
        print(m_outText, MeterList::describe(meter) + QLatin1Char('\n'));
    return LoggerRun::Success;
}

bool LoggerCli::chooseMeter(const LoggerOptions &options, QString &path)
{
    if (!options.device.isEmpty()) {
        path = options.device;
        return true;
    }
    const QList<HIDDevInfo> meters = MeterList::attached();
    if (meters.isEmpty()) {
        print(m_err, tr("No meter found.\n"));
        return false;
    }
    if (meters.size() > 1) {
        QString text = tr("Several meters are attached; choose one with --device PATH:\n");
        for (const HIDDevInfo &meter : meters)
            text += QStringLiteral("  ") + MeterList::describe(meter) + QLatin1Char('\n');
        print(m_err, text);
        return false;
    }
    path = meters.constFirst().path;
    return true;
}

std::unique_ptr<RecordWriter> LoggerCli::createWriter(const LoggerOptions &options,
                                                      std::unique_ptr<QIODevice> &file)
{
    if (options.format == LoggerOptions::Format::Csv) {
        auto csv = std::make_unique<CsvRecordWriter>(options.output);
        if (csv->prepare())
            return csv;
        print(m_err, csv->errorString() + QLatin1Char('\n'));
        return nullptr;
    }
    if (options.output.isEmpty())
        return std::make_unique<JsonlRecordWriter>(m_out);
    auto output = std::make_unique<QFile>(options.output);
    if (!output->open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        print(m_err, tr("Cannot write %1: %2\n").arg(QDir::toNativeSeparators(options.output), output->errorString()));
        return nullptr;
    }
    file = std::move(output);
    return std::make_unique<JsonlRecordWriter>(*file);
}

// Nothing is created or emptied before the meter or the replayed file is
// open, so that a run that fails at once leaves every file as it was.
// SIGINT and SIGTERM are caught from the first step on, so that they end
// the run cleanly, with its summary, whenever they come.
int LoggerCli::session(const LoggerOptions &options)
{
    QString path;
    if (options.replay.isEmpty() && !chooseMeter(options, path))
        return LoggerRun::Failure;

    // Declared before the run, which writes to them until it ends.
    std::unique_ptr<QIODevice> outputFile;
    std::unique_ptr<RecordWriter> writer;
    LoggerRun run(options, m_err);
    connect(&run, &LoggerRun::started, this, &LoggerCli::started);
    connect(&run, &LoggerRun::recordWritten, this, &LoggerCli::recordWritten);
    QEventLoop loop;
    connect(&run, &LoggerRun::finished, &loop, &QEventLoop::exit);
    TerminationSignals termination;
    connect(&termination, &TerminationSignals::received, &run, &LoggerRun::stop);
    const QScopedValueRollback<LoggerRun *> current(m_run, &run);

    const bool opened = options.replay.isEmpty() ? run.openMeter(path) : run.openReplay(options.replay);
    if (!opened)
        return LoggerRun::Failure;
    writer = createWriter(options, outputFile);
    if (!writer || !run.start(*writer))
        return LoggerRun::Failure;
    return loop.exec();
}

int LoggerCli::usageError(const QString &message)
{
    print(m_err, tr("%1: %2\nTry '%1 --help' for more information.\n")
                     .arg(QCoreApplication::applicationName(), message));
    return LoggerRun::UsageError;
}

void LoggerCli::print(QTextStream &stream, const QString &text)
{
    stream << text;
    stream.flush();
}
