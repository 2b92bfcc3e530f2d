// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "cli/loggeroptionsparser.h"

#include <algorithm>
#include <cmath>

namespace {
// Beyond this a run length in milliseconds no longer fits the clocks.
constexpr double maxSeconds = 1e12;
} // namespace

LoggerOptionsParser::LoggerOptionsParser()
    : m_list(QStringLiteral("list"), tr("List the attached meters and exit."))
    , m_device(QStringLiteral("device"), tr("Log the meter at PATH (as --list shows it)."), tr("PATH"))
    , m_samples(QStringLiteral("samples"), tr("Stop after N live records."), tr("N"))
    , m_time(QStringLiteral("time"), tr("Stop after SECONDS."), tr("SECONDS"))
    , m_interval(QStringLiteral("interval"), tr("Write at most one live record every MS milliseconds."), tr("MS"))
    , m_testTimeOnly(QStringLiteral("test-time-only"),
                     tr("Write live records only while the meter is testing (voltage readings always)."))
    , m_liveOnly(QStringLiteral("live-only"), tr("Write live records only."))
    , m_storedOnly(QStringLiteral("stored-only"), tr("Write the records of the meter's memory only."))
    , m_format(QStringLiteral("format"), tr("Output format: jsonl (default) or csv."), tr("FORMAT"),
               QStringLiteral("jsonl"))
    , m_output(QStringLiteral("output"),
               tr("jsonl: write to FILE instead of standard output; csv: write one file per mode into DIR."),
               tr("FILE|DIR"))
    , m_capture(QStringLiteral("capture"), tr("Also save the raw stream bytes to FILE."), tr("FILE"))
    , m_replay(QStringLiteral("replay"),
               tr("Decode a saved stream from FILE instead of a meter; a FIFO or /dev/stdin is read as it comes."),
               tr("FILE"))
    , m_database(QStringLiteral("db"),
                 tr("Also keep every record written in the journal FILE, as the window keeps its own (created "
                    "when missing); with --list-sessions or --session, read FILE back instead."),
                 tr("FILE"))
    , m_listSessions(QStringLiteral("list-sessions"),
                     tr("List the sessions of the journal --db FILE, one JSON object per line, and exit."))
    , m_listTests(QStringLiteral("list-tests"),
                  tr("Print the journal's insulation tests, one JSON object per line, with the values their "
                     "curves give and their verdicts."))
    , m_predictAt(QStringLiteral("predict-at"),
                  tr("With --list-tests: predict each test's ten-minute resistance and PI from its readings up to "
                     "SECONDS of test time only, not up to ten minutes."),
                  tr("SECONDS"))
    , m_report(QStringLiteral("report"), tr("Write the report of the journal's test ID, as --list-tests shows it, "
                                            "as PDF to --output FILE."),
               tr("ID"))
    , m_reportItem(QStringLiteral("report-item"),
                   tr("Write the report of every test of the register's item TAG as PDF to --output FILE."), tr("TAG"))
    , m_from(QStringLiteral("from"), tr("With --report-item: the tests from DATE (YYYY-MM-DD) on."), tr("DATE"))
    , m_to(QStringLiteral("to"), tr("With --report-item: the tests up to DATE (YYYY-MM-DD), that day included."),
           tr("DATE"))
    , m_session(QStringLiteral("session"),
                tr("Write the records of the journal's session ID, as --list-sessions shows it, exactly as they "
                   "were written when logged, then exit."),
                tr("ID"))
    , m_setDetails(QStringLiteral("set-details"),
                   tr("Save the details of the journal's test ID, as --list-tests shows it, from one JSON object on "
                      "standard input with the keys --list-tests prints under \"details\": a key given replaces "
                      "its value (null clears it), one left out stays. The edit goes to the team server with the "
                      "next sync, or at once with --sync."),
                   tr("ID"))
    , m_sync(QStringLiteral("sync"),
             tr("When the run ends, sync the journal --db FILE with the team server set in options.ini: its "
                "sessions and tests go up, colleagues' come down. The password comes from libpq's password or "
                "service file, or PGPASSWORD."))
    , m_help(m_parser.addHelpOption())
    , m_version(m_parser.addVersionOption())
{
    m_parser.setApplicationDescription(
        tr("Writes the readings of a Tessra insulation resistance tester as they arrive, "
           "until interrupted or a limit is reached.\n"
           "Exit status: 0 done, 1 failure, 2 bad arguments or details refused, 3 meter lost, 4 kept in the journal but not synced, "
           "5 a report of a period without tests."));
    for (const QCommandLineOption *option : loggerOptions())
        m_parser.addOption(*option);
}

QList<const QCommandLineOption *> LoggerOptionsParser::loggerOptions() const
{
    return {&m_list,     &m_device,   &m_samples,    &m_time,     &m_interval,     &m_testTimeOnly, &m_liveOnly,
            &m_storedOnly, &m_format, &m_output,     &m_capture,  &m_replay,       &m_database,     &m_listSessions,
            &m_listTests, &m_predictAt, &m_session, &m_report,     &m_reportItem, &m_from,       &m_to,
            &m_setDetails, &m_sync};
}

LoggerOptionsParser::Outcome LoggerOptionsParser::parse(const QStringList &arguments)
{
    m_options = LoggerOptions();
    m_error.clear();
    if (!m_parser.parse(arguments)) {
        fail(m_parser.errorText());
        return Outcome::Error;
    }
    if (m_parser.isSet(m_help))
        return Outcome::Help;
    if (m_parser.isSet(m_version))
        return Outcome::Version;
    if (!m_parser.positionalArguments().isEmpty()) {
        fail(tr("Unexpected argument '%1'.").arg(m_parser.positionalArguments().constFirst()));
        return Outcome::Error;
    }
    if (!checkEachGivenOnce() || !checkNamesNotEmpty() || !readValues() || !checkCombinations())
        return Outcome::Error;
    return Outcome::Run;
}

// "--db a.sqlite --db b.sqlite" would keep the records in one of them, and
// nothing would say which.
bool LoggerOptionsParser::checkEachGivenOnce()
{
    const QStringList given = m_parser.optionNames();
    for (const QCommandLineOption *option : loggerOptions()) {
        const auto times = std::count_if(given.cbegin(), given.cend(),
                                         [option](const QString &name) { return option->names().contains(name); });
        if (times > 1)
            return fail(tr("--%1 is given more than once.").arg(option->names().constLast()));
    }
    return true;
}

// An empty name would fall back to a default (standard output, no journal)
// the user did not ask for.
bool LoggerOptionsParser::checkNamesNotEmpty()
{
    for (const QCommandLineOption *option : {&m_device, &m_output, &m_capture, &m_replay, &m_database}) {
        if (m_parser.isSet(*option) && m_parser.value(*option).isEmpty())
            return fail(tr("--%1 needs a name; the name given is empty.").arg(option->names().constLast()));
    }
    return true;
}

QString LoggerOptionsParser::helpText() const
{
    return m_parser.helpText();
}

bool LoggerOptionsParser::readValues()
{
    m_options.list = m_parser.isSet(m_list);
    m_options.device = m_parser.value(m_device);
    m_options.replay = m_parser.value(m_replay);
    m_options.capture = m_parser.value(m_capture);
    m_options.output = m_parser.value(m_output);
    m_options.testTimeOnly = m_parser.isSet(m_testTimeOnly);
    m_options.liveOnly = m_parser.isSet(m_liveOnly);
    m_options.storedOnly = m_parser.isSet(m_storedOnly);
    m_options.database = m_parser.value(m_database);
    m_options.listSessions = m_parser.isSet(m_listSessions);
    m_options.listTests = m_parser.isSet(m_listTests);
    m_options.sync = m_parser.isSet(m_sync);
    return readFormat() && readSamples() && readTime() && readInterval() && readSession() && readReport()
           && readPredictAt() && readSetDetails();
}

bool LoggerOptionsParser::readSetDetails()
{
    if (!m_parser.isSet(m_setDetails))
        return true;
    bool ok = false;
    m_options.setDetails = m_parser.value(m_setDetails).toLongLong(&ok);
    if (!ok || m_options.setDetails < 1)
        return fail(tr("--set-details needs a test id as --list-tests shows it, not '%1'.")
                        .arg(m_parser.value(m_setDetails)));
    return true;
}

bool LoggerOptionsParser::readFormat()
{
    const QString format = m_parser.value(m_format);
    if (format == QLatin1String("jsonl"))
        m_options.format = LoggerOptions::Format::Jsonl;
    else if (format == QLatin1String("csv"))
        m_options.format = LoggerOptions::Format::Csv;
    else
        return fail(tr("Unknown format '%1': use jsonl or csv.").arg(format));
    return true;
}

bool LoggerOptionsParser::readSamples()
{
    if (!m_parser.isSet(m_samples))
        return true;
    bool ok = false;
    const int samples = m_parser.value(m_samples).toInt(&ok);
    if (!ok || samples < 1)
        return fail(tr("--samples needs a whole number of at least 1, not '%1'.").arg(m_parser.value(m_samples)));
    m_options.samples = samples;
    return true;
}

bool LoggerOptionsParser::readTime()
{
    if (!m_parser.isSet(m_time))
        return true;
    bool ok = false;
    const double seconds = m_parser.value(m_time).toDouble(&ok);
    if (!ok || !std::isfinite(seconds) || seconds <= 0 || seconds > maxSeconds)
        return fail(tr("--time needs a number of seconds greater than 0, not '%1'.").arg(m_parser.value(m_time)));
    m_options.timeMs = std::max<qint64>(1, std::llround(seconds * 1000.0));
    return true;
}

bool LoggerOptionsParser::readInterval()
{
    if (!m_parser.isSet(m_interval))
        return true;
    bool ok = false;
    const int interval = m_parser.value(m_interval).toInt(&ok);
    if (!ok || interval < 0)
        return fail(tr("--interval needs a whole number of milliseconds, 0 or more, not '%1'.")
                        .arg(m_parser.value(m_interval)));
    m_options.intervalMs = interval;
    return true;
}

bool LoggerOptionsParser::readSession()
{
    if (!m_parser.isSet(m_session))
        return true;
    bool ok = false;
    const qint64 session = m_parser.value(m_session).toLongLong(&ok);
    if (!ok || session < 1)
        return fail(tr("--session needs a session id as --list-sessions shows it, not '%1'.")
                        .arg(m_parser.value(m_session)));
    m_options.session = session;
    return true;
}

bool LoggerOptionsParser::readReport()
{
    if (m_parser.isSet(m_report)) {
        bool ok = false;
        m_options.reportTest = m_parser.value(m_report).toLongLong(&ok);
        if (!ok || m_options.reportTest < 1)
            return fail(tr("--report needs a test id as --list-tests shows it, not '%1'.").arg(m_parser.value(m_report)));
    }
    m_options.reportItem = m_parser.value(m_reportItem).trimmed();
    if (m_parser.isSet(m_reportItem) && m_options.reportItem.isEmpty())
        return fail(tr("--report-item needs the tag of an item of the register."));
    return readDate(m_from, m_options.from) && readDate(m_to, m_options.to);
}

bool LoggerOptionsParser::readPredictAt()
{
    if (!m_parser.isSet(m_predictAt))
        return true;
    bool ok = false;
    const double seconds = m_parser.value(m_predictAt).toDouble(&ok);
    if (!ok || !std::isfinite(seconds) || seconds <= 0)
        return fail(tr("--predict-at needs a test time in seconds greater than 0, not '%1'.")
                        .arg(m_parser.value(m_predictAt)));
    m_options.predictAt = seconds;
    return true;
}

bool LoggerOptionsParser::readDate(const QCommandLineOption &option, QDate &date)
{
    if (!m_parser.isSet(option))
        return true;
    date = QDate::fromString(m_parser.value(option), Qt::ISODate);
    if (date.isValid())
        return true;
    return fail(tr("--%1 needs a date as YYYY-MM-DD, not '%2'.")
                    .arg(option.names().constFirst(), m_parser.value(option)));
}

// A report is a PDF of what the journal keeps, into a file of its own.
bool LoggerOptionsParser::checkReportCombinations()
{
    if ((m_parser.isSet(m_from) || m_parser.isSet(m_to)) && m_options.reportItem.isEmpty())
        return fail(tr("--from and --to choose the tests of --report-item."));
    if (!m_options.reports())
        return true;
    if (m_options.reportTest > 0 && !m_options.reportItem.isEmpty())
        return fail(tr("--report and --report-item exclude each other."));
    if (m_options.output.isEmpty())
        return fail(tr("A report needs --output FILE.pdf."));
    if (m_parser.isSet(m_format))
        return fail(tr("A report is PDF and takes no --format."));
    if (m_options.from.isValid() && m_options.to.isValid() && m_options.from > m_options.to)
        return fail(tr("--from comes after --to."));
    return true;
}

bool LoggerOptionsParser::checkCombinations()
{
    if (!checkJournalCombinations() || !checkReportCombinations())
        return false;
    if (m_options.liveOnly && m_options.storedOnly)
        return fail(tr("--live-only and --stored-only exclude each other."));
    if (m_options.storedOnly && m_options.samples > 0)
        return fail(tr("--samples counts live records, which --stored-only leaves out."));
    if (!m_options.replay.isEmpty() && !m_options.device.isEmpty())
        return fail(tr("--replay and --device exclude each other."));
    if (m_options.list && (!m_options.replay.isEmpty() || !m_options.device.isEmpty()))
        return fail(tr("--list takes no --device or --replay."));
    if (m_options.format == LoggerOptions::Format::Csv && m_options.output.isEmpty() && !m_options.list)
        return fail(tr("--format csv needs --output DIR for its files."));
    return true;
}

// Reading a journal back writes what was kept: nothing limits, filters or
// captures it, and no meter or replay takes part.
bool LoggerOptionsParser::checkJournalCombinations()
{
    if (m_options.list && !m_options.database.isEmpty())
        return fail(tr("--list takes no --db; --list-sessions lists the journal's sessions."));
    if (m_options.sync && (m_options.database.isEmpty() || m_options.list
                           || (m_options.readsJournal() && m_options.setDetails < 1)))
        return fail(tr("--sync needs --db FILE and a run that logs into it, or --set-details."));
    if (m_parser.isSet(m_predictAt) && !m_options.listTests)
        return fail(tr("--predict-at goes with --list-tests."));
    if (!m_options.readsJournal())
        return true;
    const QString reading = m_options.listSessions     ? QStringLiteral("--list-sessions")
                            : m_options.listTests      ? QStringLiteral("--list-tests")
                            : m_options.setDetails > 0 ? QStringLiteral("--set-details")
                            : m_options.reportTest > 0 ? QStringLiteral("--report")
                            : m_options.reports()      ? QStringLiteral("--report-item")
                                                       : QStringLiteral("--session");
    if (m_options.database.isEmpty())
        return fail(tr("%1 needs --db FILE, the journal to read.").arg(reading));
    if (int(m_options.listSessions) + int(m_options.listTests) + int(m_options.session > 0) + int(m_options.reports())
            + int(m_options.setDetails > 0)
        > 1)
        return fail(tr("--list-sessions, --list-tests, --session, --set-details and the reports exclude each other."));
    for (const QCommandLineOption *option : {&m_list, &m_device, &m_replay, &m_capture, &m_samples, &m_time,
                                             &m_interval, &m_testTimeOnly, &m_liveOnly, &m_storedOnly}) {
        if (m_parser.isSet(*option))
            return fail(tr("%1 reads the journal back and takes no --%2.").arg(reading, option->names().constFirst()));
    }
    if (m_options.setDetails > 0 && (m_parser.isSet(m_format) || m_parser.isSet(m_output)))
        return fail(tr("--set-details reads standard input and takes no --format or --output."));
    if ((m_options.listSessions || m_options.listTests) && (m_parser.isSet(m_format) || m_parser.isSet(m_output)))
        return fail(tr("%1 writes JSON lines to standard output and takes no --format or --output.").arg(reading));
    return true;
}

bool LoggerOptionsParser::fail(const QString &message)
{
    m_error = message;
    return false;
}
