// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "cli/loggercli.h"

#include "cli/csvrecordwriter.h"
#include "cli/jsonlrecordwriter.h"
#include "cli/loggeroptionsparser.h"
#include "cli/loggerrun.h"
#include "cli/meterlist.h"
#include "cli/terminationsignals.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>

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
        print(m_err, tr("%1: %2\nTry '%1 --help' for more information.\n")
                         .arg(QCoreApplication::applicationName(), parser.errorText()));
        return LoggerRun::UsageError;
    case LoggerOptionsParser::Outcome::Run:
        break;
    }
    return parser.options().list ? listMeters() : log(parser.options());
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

int LoggerCli::log(const LoggerOptions &options)
{
    std::unique_ptr<QIODevice> outputFile;
    const std::unique_ptr<RecordWriter> writer = createWriter(options, outputFile);
    if (!writer)
        return LoggerRun::Failure;
    return session(options, *writer);
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

int LoggerCli::session(const LoggerOptions &options, RecordWriter &writer)
{
    QString path;
    if (options.replay.isEmpty() && !chooseMeter(options, path))
        return LoggerRun::Failure;

    LoggerRun run(options, writer, m_err);
    connect(&run, &LoggerRun::started, this, &LoggerCli::started);
    connect(&run, &LoggerRun::recordWritten, this, &LoggerCli::recordWritten);
    QEventLoop loop;
    connect(&run, &LoggerRun::finished, &loop, &QEventLoop::exit);
    TerminationSignals termination;
    connect(&termination, &TerminationSignals::received, &run, &LoggerRun::stop);

    m_run = &run;
    const bool started = options.replay.isEmpty() ? run.startMeter(path) : run.startReplay(options.replay);
    const int status = started ? loop.exec() : int(LoggerRun::Failure);
    m_run = nullptr;
    return status;
}

void LoggerCli::print(QTextStream &stream, const QString &text)
{
    stream << text;
    stream.flush();
}
