// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "cli/loggercli.h"
#include "cli/loggeroptionsparser.h"
#include "cli/loggerrun.h"

#include <QBuffer>
#include <QTest>

class TestOptions : public QObject
{
    Q_OBJECT

private slots:
    void badArgumentsExitWithStatusTwo_data();
    void badArgumentsExitWithStatusTwo();
    void valuesAreRead_data();
    void valuesAreRead();
};

void TestOptions::badArgumentsExitWithStatusTwo_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");

    QTest::newRow("unknown option") << QStringList{"--bogus"} << "Unknown option 'bogus'";
    QTest::newRow("missing value") << QStringList{"--samples"} << "Missing value after '--samples'";
    QTest::newRow("stray argument") << QStringList{"now"} << "Unexpected argument 'now'";
    QTest::newRow("samples not a number") << QStringList{"--samples", "ten"} << "--samples needs";
    QTest::newRow("samples zero") << QStringList{"--samples", "0"} << "--samples needs";
    QTest::newRow("time negative") << QStringList{"--time", "-1"} << "--time needs";
    QTest::newRow("time not finite") << QStringList{"--time", "inf"} << "--time needs";
    QTest::newRow("interval negative") << QStringList{"--interval", "-5"} << "--interval needs";
    QTest::newRow("interval fractional") << QStringList{"--interval", "2.5"} << "--interval needs";
    QTest::newRow("unknown format") << QStringList{"--format", "xml"} << "Unknown format 'xml'";
    QTest::newRow("csv without a directory") << QStringList{"--format", "csv"} << "--output DIR";
    QTest::newRow("live-only with stored-only") << QStringList{"--live-only", "--stored-only"} << "exclude each other";
    QTest::newRow("samples with stored-only") << QStringList{"--stored-only", "--samples", "3"} << "--stored-only";
    QTest::newRow("replay with device") << QStringList{"--replay", "a.bin", "--device", "/dev/hidraw0"}
                                        << "exclude each other";
    QTest::newRow("list with device") << QStringList{"--list", "--device", "/dev/hidraw0"} << "--list takes no";
    QTest::newRow("list with db") << QStringList{"--list", "--db", "j.sqlite"} << "--list takes no --db";
    QTest::newRow("session without db") << QStringList{"--session", "1"} << "--session needs --db";
    QTest::newRow("list-sessions without db") << QStringList{"--list-sessions"} << "--list-sessions needs --db";
    QTest::newRow("list-sessions with session") << QStringList{"--db", "j.sqlite", "--list-sessions", "--session", "1"}
                                                << "exclude each other";
    QTest::newRow("session not a number") << QStringList{"--db", "j.sqlite", "--session", "last"}
                                          << "--session needs a session id";
    QTest::newRow("session zero") << QStringList{"--db", "j.sqlite", "--session", "0"}
                                  << "--session needs a session id";
    QTest::newRow("db given twice") << QStringList{"--db", "a.sqlite", "--db", "b.sqlite"}
                                    << "--db is given more than once";
    QTest::newRow("flag given twice") << QStringList{"--live-only", "--live-only"}
                                      << "--live-only is given more than once";
    QTest::newRow("output given twice") << QStringList{"--output", "a.jsonl", "--output", "a.jsonl"}
                                        << "--output is given more than once";
    QTest::newRow("empty journal name") << QStringList{"--db", ""} << "--db needs a name; the name given is empty";
    QTest::newRow("empty output name") << QStringList{"--output", ""} << "--output needs a name";
    QTest::newRow("empty replay name") << QStringList{"--replay", ""} << "--replay needs a name";
    QTest::newRow("predict-at without list-tests") << QStringList{"--db", "j.sqlite", "--list-sessions",
                                                                  "--predict-at", "180"}
                                                   << "--predict-at goes with --list-tests";
    QTest::newRow("predict-at zero") << QStringList{"--db", "j.sqlite", "--list-tests", "--predict-at", "0"}
                                     << "--predict-at needs";
    QTest::newRow("predict-at not a number") << QStringList{"--db", "j.sqlite", "--list-tests", "--predict-at", "3min"}
                                             << "--predict-at needs";
    QTest::newRow("list-sessions to csv") << QStringList{"--db", "j.sqlite", "--list-sessions", "--format", "csv",
                                                         "--output", "tables"}
                                          << "takes no --format or --output";

    // What a logging run is told to write or read means nothing to one
    // that reads a journal back.
    const QList<QStringList> recordingOptions{{"--samples", "5"},   {"--interval", "100"}, {"--test-time-only"},
                                              {"--live-only"},      {"--stored-only"},     {"--time", "5"},
                                              {"--replay", "a.bin"}, {"--device", "/dev/hidraw0"},
                                              {"--capture", "c.bin"}};
    for (const QStringList &reader : {QStringList{"--session", "1"}, QStringList{"--list-sessions"}}) {
        for (const QStringList &option : recordingOptions) {
            QTest::addRow("%s with %s", qPrintable(reader.constFirst()), qPrintable(option.constFirst()))
                << QStringList{"--db", "j.sqlite"} + reader + option
                << QStringLiteral("%1 reads the journal back and takes no %2").arg(reader.constFirst(),
                                                                                    option.constFirst());
        }
    }
}

void TestOptions::badArgumentsExitWithStatusTwo()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);

    QBuffer out;
    QBuffer err;
    QVERIFY(out.open(QIODevice::WriteOnly) && err.open(QIODevice::WriteOnly));
    LoggerCli cli(out, err);
    QCOMPARE(cli.run(QStringList{"tessra-cli"} + arguments), int(LoggerRun::UsageError));

    const QString text = QString::fromUtf8(err.data());
    QVERIFY2(text.contains(message), qPrintable(text));
    QVERIFY2(text.contains(QLatin1String("--help")), qPrintable(text));
    QVERIFY(out.data().isEmpty());
}

void TestOptions::valuesAreRead_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("samples");
    QTest::addColumn<qint64>("timeMs");
    QTest::addColumn<int>("intervalMs");
    QTest::addColumn<bool>("csv");

    QTest::newRow("defaults") << QStringList{} << -1 << qint64(-1) << 0 << false;
    QTest::newRow("limits") << QStringList{"--samples", "10", "--time", "1.5", "--interval", "250"} << 10
                            << qint64(1500) << 250 << false;
    QTest::newRow("a moment rounds up to a millisecond") << QStringList{"--time", "0.0001"} << -1 << qint64(1) << 0
                                                         << false;
    QTest::newRow("a month, beyond a 32-bit timer")
        << QStringList{"--time", "2592000"} << -1 << qint64(2592000000) << 0 << false;
    QTest::newRow("csv") << QStringList{"--format", "csv", "--output", "out"} << -1 << qint64(-1) << 0 << true;
}

void TestOptions::valuesAreRead()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, samples);
    QFETCH(qint64, timeMs);
    QFETCH(int, intervalMs);
    QFETCH(bool, csv);

    LoggerOptionsParser parser;
    QCOMPARE(parser.parse(QStringList{"tessra-cli"} + arguments), LoggerOptionsParser::Outcome::Run);
    const LoggerOptions &options = parser.options();
    QCOMPARE(options.samples, samples);
    QCOMPARE(options.timeMs, timeMs);
    QCOMPARE(options.intervalMs, intervalMs);
    QCOMPARE(options.format == LoggerOptions::Format::Csv, csv);
}

QTEST_GUILESS_MAIN(TestOptions)
#include "tst_options.moc"
