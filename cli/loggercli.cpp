// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "cli/loggercli.h"

#include "cli/csvrecordwriter.h"
#include "cli/detailsedit.h"
#include "cli/journalprinter.h"
#include "cli/jsonlrecordwriter.h"
#include "cli/loggeroptionsparser.h"
#include "cli/loggerrun.h"
#include "journal/journaldatabase.h"
#include "journal/journalupkeep.h"
#include "report/reportsettings.h"
#include "report/reportsource.h"
#include "report/reportwriter.h"
#include "cli/meterlist.h"
#include "cli/outputconflicts.h"
#include "cli/terminationsignals.h"
#include "journal/journalwriter.h"
#include "sync/syncengine.h"
#include "sync/syncsettings.h"
#include "app/settingskeys.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QScopedValueRollback>

#include <cstdio>

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
    if (options.readsJournal())
        return readJournal(options);
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

// Nothing is created or emptied before the meter or the replayed file and
// the journal are open, so that a run that fails at once leaves every file
// as it was.
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
    std::unique_ptr<JournalWriter> journal;
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
    if (!options.database.isEmpty()) {
        journal = openJournal(options.database);
        if (!journal)
            return LoggerRun::Failure;
        run.keepJournal(*journal, journalMeter(options, path));
    }
    writer = createWriter(options, outputFile);
    if (!writer || !run.start(*writer))
        return LoggerRun::Failure;
    const int status = loop.exec();
    if (!options.sync)
        return status;
    // Only an ended session goes up.
    if (journal)
        journal->endSession();
    return syncJournal(options.database, status, journal ? journal->lost() : 0);
}

// What the run recorded is safe in the journal whatever the server says;
// a failed sync leaves it there for the next one.
int LoggerCli::syncJournal(const QString &fileName, int runStatus, int notKept)
{
    const QSettings options(QString::fromLatin1(SettingsKeys::fileName), QSettings::IniFormat);
    SyncSettings settings = SyncSettings::load(options);
    if (!settings.host.isEmpty() || !settings.service.isEmpty())
        settings.enabled = true;
    if (!settings.isConfigured()) {
        print(m_err, tr("--sync: no team server is set in %1; set one in the window's options.\n")
                         .arg(QString::fromLatin1(SettingsKeys::fileName)));
        return runStatus == LoggerRun::Success ? int(LoggerRun::NotSynced) : runStatus;
    }
    SyncEngine engine(fileName, settings);
    const bool synced = engine.run();
    // Told once: an edit that lost and is kept in history, a row of the
    // server's left out.
    for (const QString &notice : engine.report().notices)
        print(m_err, notice + QLatin1Char('\n'));
    if (!synced) {
        const QString kept = notKept > 0 ? tr("The records the journal took go with the next sync; %1 could not be "
                                              "kept in it (see above).")
                                               .arg(notKept)
                                         : tr("The records are kept in the journal and go with the next sync.");
        print(m_err, tr("Not synced: %1 %2\n").arg(engine.errorString().trimmed(), kept));
        return runStatus == LoggerRun::Success ? int(LoggerRun::NotSynced) : runStatus;
    }
    const SyncReport &report = engine.report();
    print(m_err, tr("Synced with %1: %2 sessions and %3 tests sent, %4 sessions and %5 tests received.\n")
                     .arg(settings.serverName())
                     .arg(report.sessionsUp)
                     .arg(report.testsUp)
                     .arg(report.sessionsDown)
                     .arg(report.testsDown));
    return runStatus;
}

std::unique_ptr<JournalWriter> LoggerCli::openJournal(const QString &fileName)
{
    auto journal = std::make_unique<JournalWriter>(fileName, QStringLiteral("logger"));
    if (journal->open())
        return journal;
    print(m_err, tr("Cannot use the journal %1: %2\n").arg(QDir::toNativeSeparators(fileName), journal->errorString()));
    return nullptr;
}

// The meter as --list names it; a replay is known by the file it reads. The
// journal takes text, empty when unknown, for each of the meter's names.
HIDDevInfo LoggerCli::journalMeter(const LoggerOptions &options, const QString &path)
{
    HIDDevInfo meter;
    meter.path = options.replay.isEmpty() ? path : QFileInfo(options.replay).absoluteFilePath();
    if (options.replay.isEmpty()) {
        for (const HIDDevInfo &attached : MeterList::attached()) {
            if (attached.path == path)
                meter = attached;
        }
    }
    for (QString *name : {&meter.path, &meter.serialNumber, &meter.manufacturer, &meter.product}) {
        if (name->isNull())
            *name = QStringLiteral("");
    }
    return meter;
}

int LoggerCli::readJournal(const LoggerOptions &options)
{
    if (options.reports())
        return writeReport(options);
    if (options.setDetails > 0)
        return setDetails(options);
    JournalPrinter printer(options.database);
    if (!printer.open()) {
        print(m_err, tr("Cannot read the journal %1: %2\n")
                         .arg(QDir::toNativeSeparators(options.database), printer.errorString()));
        return LoggerRun::Failure;
    }
    // A journal that a program left with sessions not cut into tests is
    // brought up to date as it is opened.
    const bool upToDate = JournalUpkeep::catchUp(printer.database());
    if (options.listTests) {
        if (!upToDate) {
            print(m_err, tr("Cannot cut the journal's sessions into tests.\n"));
            return LoggerRun::Failure;
        }
        return listTests(printer, options.predictAt);
    }
    return options.listSessions ? listSessions(printer) : printSession(printer, options);
}

// The report comes from what the journal keeps; the file is written whole
// or not at all.
int LoggerCli::writeReport(const LoggerOptions &options)
{
    if (!QFileInfo::exists(options.database)) {
        print(m_err, tr("Cannot read the journal %1: There is no such file.\n")
                         .arg(QDir::toNativeSeparators(options.database)));
        return LoggerRun::Failure;
    }
    JournalDatabase journal(options.database);
    if (!journal.open()) {
        print(m_err, tr("Cannot read the journal %1: %2\n")
                         .arg(QDir::toNativeSeparators(options.database), journal.errorString()));
        return LoggerRun::Failure;
    }
    JournalUpkeep::catchUp(journal.connection());
    ReportSource source(journal.connection());
    const std::optional<ReportContent> content = options.reportTest > 0
        ? source.forTest(options.reportTest)
        : source.forItem(options.reportItem, options.from, options.to);
    if (!content) {
        print(m_err, source.errorString() + QLatin1Char('\n'));
        return LoggerRun::Failure;
    }
    ReportWriter writer(*content, ReportSettings::load());
    if (!writer.write(options.output)) {
        print(m_err, tr("Cannot write the report %1: %2\n")
                         .arg(QDir::toNativeSeparators(options.output), writer.errorString()));
        return LoggerRun::Failure;
    }
    // Spelled out: without an English catalogue "%n" leaves "test(s)" on screen.
    const QString file = QDir::toNativeSeparators(options.output);
    if (content->tests.isEmpty()) {
        print(m_err, tr("%1 has no test in the period; the report %2 says so.\n").arg(options.reportItem, file));
        return LoggerRun::EmptyReport;
    }
    print(m_err, content->tests.size() == 1 ? tr("1 test reported in %1.\n").arg(file)
                                            : tr("%1 tests reported in %2.\n").arg(content->tests.size()).arg(file));
    return LoggerRun::Success;
}

// Nothing is saved unless the whole object fits.
int LoggerCli::setDetails(const LoggerOptions &options)
{
    DetailsEdit edit(options.database);
    switch (edit.save(options.setDetails, readInput())) {
    case DetailsEdit::Outcome::Refused:
        print(m_err, tr("The details are refused, nothing was saved: %1\n").arg(edit.errorString()));
        return LoggerRun::UsageError;
    case DetailsEdit::Outcome::Failed:
        print(m_err, edit.errorString() + QLatin1Char('\n'));
        return LoggerRun::Failure;
    case DetailsEdit::Outcome::Saved:
        break;
    }
    print(m_err, tr("The details of test %1 are saved.\n").arg(options.setDetails));
    return options.sync ? syncJournal(options.database, LoggerRun::Success) : int(LoggerRun::Success);
}

QByteArray LoggerCli::readInput()
{
    if (m_in)
        return m_in->readAll();
    QFile in;
    return in.open(stdin, QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

int LoggerCli::listTests(JournalPrinter &printer, double predictAtSeconds)
{
    if (printer.writeTests(m_out, predictAtSeconds))
        return LoggerRun::Success;
    print(m_err, printer.errorString() + QLatin1Char('\n'));
    return LoggerRun::Failure;
}

int LoggerCli::listSessions(JournalPrinter &printer)
{
    if (printer.writeSessions(m_out))
        return LoggerRun::Success;
    print(m_err, printer.errorString() + QLatin1Char('\n'));
    return LoggerRun::Failure;
}

// The output is created only once the session is known to be there.
int LoggerCli::printSession(JournalPrinter &printer, const LoggerOptions &options)
{
    if (!printer.hasSession(options.session)) {
        print(m_err, tr("The journal %1 has no session %2; --list-sessions shows those it has.\n")
                         .arg(QDir::toNativeSeparators(options.database))
                         .arg(options.session));
        return LoggerRun::Failure;
    }
    std::unique_ptr<QIODevice> outputFile;
    const std::unique_ptr<RecordWriter> writer = createWriter(options, outputFile);
    if (!writer)
        return LoggerRun::Failure;
    const bool written = printer.writeSession(options.session, *writer);
    if (!written)
        print(m_err, printer.errorString() + QLatin1Char('\n'));
    print(m_err, tr("%1 live and %2 stored records written.\n").arg(printer.liveWritten()).arg(printer.storedWritten()));
    return written ? LoggerRun::Success : LoggerRun::Failure;
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
