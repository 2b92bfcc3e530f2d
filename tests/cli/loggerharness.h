// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

// Runs the logger in-process against the simulated meter, and what its
// tests compare its output with.

#include "cli/loggercli.h"
#include "cli/recordwriter.h"
#include "meter/mydmm.h"
#include "sim/democycle.h"
#include "sim/simulatedhid.h"
#include "support/meterinput.h"

#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QList>
#include <QMap>
#include <QPair>
#include <QSharedPointer>
#include <QString>
#include <QStringList>

#include <functional>

using Written = QPair<RecordWriter::Kind, QSharedPointer<DMMData>>;

inline QList<QByteArray> linesOf(const QByteArray &text)
{
    QList<QByteArray> all = text.split('\n');
    if (!all.isEmpty() && all.constLast().isEmpty())
        all.removeLast();
    return all;
}

// What one in-process run of the logger left behind.
struct Outcome
{
    int status = -1;
    QByteArray out;
    QString err;
    QList<Written> written;

    QList<QByteArray> lines() const { return linesOf(out); }
};

using Hook = std::function<void(LoggerCli &cli, int writtenSoFar)>;

// Runs the logger as its program would, with `onStarted` called once records
// can arrive and `onWritten` after every record it writes.
inline Outcome runLogger(const QStringList &arguments, const Hook &onStarted = {}, const Hook &onWritten = {})
{
    QBuffer out;
    QBuffer err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    LoggerCli cli(out, err);
    Outcome outcome;
    QObject::connect(&cli, &LoggerCli::started, [&] {
        if (onStarted)
            onStarted(cli, 0);
    });
    QObject::connect(&cli, &LoggerCli::recordWritten,
                     [&](RecordWriter::Kind kind, const QSharedPointer<DMMData> &record) {
                         outcome.written.append({kind, record});
                         if (onWritten)
                             onWritten(cli, outcome.written.size());
                     });
    QStringList all{QStringLiteral("tessra-cli")};
    // A bound on meter runs that a test ends itself, should it fail to.
    bool bounded = false;
    for (const char *option : {"--time", "--replay", "--list-sessions", "--list-tests", "--session", "--set-details"})
        bounded = bounded || arguments.contains(QLatin1String(option));
    if (!bounded)
        all << QStringLiteral("--time") << QStringLiteral("60");
    outcome.status = cli.run(all + arguments);
    outcome.out = out.data();
    outcome.err = QString::fromUtf8(err.data());
    return outcome;
}

// Runs the logger on a journal with `input` as its standard input.
inline Outcome runLoggerWithInput(const QStringList &arguments, const QByteArray &input)
{
    QBuffer out;
    QBuffer err;
    QBuffer in;
    in.setData(input);
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    in.open(QIODevice::ReadOnly);
    LoggerCli cli(out, err);
    cli.setInput(&in);
    Outcome outcome;
    outcome.status = cli.run(QStringList{QStringLiteral("tessra-cli")} + arguments);
    outcome.out = out.data();
    outcome.err = QString::fromUtf8(err.data());
    return outcome;
}

inline Hook sendStream(const QString &path, const QByteArray &stream)
{
    return [path, stream](LoggerCli &, int) { SimulatedHid::queueStream(path, stream); };
}

inline Hook stopAfter(int count)
{
    return [count](LoggerCli &cli, int written) {
        if (written == count)
            cli.requestStop();
    };
}

// The records a stream decodes into, with their kinds, in order: what the
// meter sent, as a meter connection of its own sees it.
inline QList<Written> decode(const QByteArray &stream)
{
    MyDMM meter;
    QList<Written> records;
    QObject::connect(&meter, &MyDMM::updateLiveData, [&](const QSharedPointer<DMMData> &record) {
        records.append({RecordWriter::Kind::Live, record});
    });
    QObject::connect(&meter, &MyDMM::updateStoreData, [&](const QSharedPointer<DMMData> &record) {
        records.append({RecordWriter::Kind::Stored, record});
    });
    for (const QByteArray &report : SimulatedHid::streamReports(stream))
        feedMeter(meter, report.mid(1, quint8(report.at(0))));
    return records;
}

// A demonstration round: the eight modes live, then the eight from memory.
inline QByteArray demoStream(int round = 1)
{
    const DemoCycle cycle(round);
    QByteArray stream;
    for (const QByteArray &frame : cycle.liveFrames() + cycle.storedFrames())
        stream += frame;
    return stream;
}

inline QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Every file under `directory`, by its path there, with its bytes.
inline QMap<QString, QByteArray> filesUnder(const QString &directory = QStringLiteral("."))
{
    QMap<QString, QByteArray> files;
    const QDir top(QDir(directory).absolutePath());
    QDirIterator found(top.path(), QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (found.hasNext()) {
        const QString path = found.next();
        files.insert(top.relativeFilePath(path), readAll(path));
    }
    return files;
}
