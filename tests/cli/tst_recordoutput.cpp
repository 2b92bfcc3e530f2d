// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "cli/csvrecordwriter.h"
#include "cli/jsonlrecordwriter.h"
#include "cli/recordjson.h"
#include "models/columnset.h"
#include "models/datamodel.h"
#include "models/modelfactory.h"
#include "support/recorddescription.h"
#include "support/samplerecords.h"
#include "support/tempworkdir.h"
#include "util/utils.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTest>

#include <cmath>
#include <ctime>
#include <limits>

Q_DECLARE_METATYPE(DMMData::DataMode)
Q_DECLARE_METATYPE(RecordWriter::Kind)

namespace {
const char *const classNames[DMMData::modeCount] = {"DMMDataIR",   "DMMDataTime", "DMMDataPI",   "DMMDataDAR",
                                                    "DMMDataCOMP", "DMMDataCAP",  "DMMDataVOLT", "DMMDataRES"};

int modeOfName(const QString &name)
{
    for (int mode = 0; mode < DMMData::modeCount; ++mode) {
        if (DMMData::modeName(mode) == name)
            return mode;
    }
    return -1;
}

QString number(const QJsonValue &value)
{
    return value.isNull() ? QStringLiteral("nan") : QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
}

// A meter time comes back as its text, whose two numbers are the bytes.
QString timeLine(const QString &key, const QJsonObject &time)
{
    const QStringList parts = time.value(QLatin1String("text")).toString().split(QLatin1Char(':'));
    const int minutes = parts.value(0).toInt();
    const int seconds = parts.value(1).toInt();
    if (time.value(QLatin1String("value")).toInt() != minutes * 60 + seconds)
        return key + QStringLiteral(": value and text disagree");
    return QStringLiteral("%1: 0x%2").arg(key).arg(minutes << 8 | seconds, 4, 16, QLatin1Char('0'));
}

QString memberLine(const QString &key, const QJsonValue &value)
{
    if (value.isBool())
        return QStringLiteral("%1: %2").arg(key, value.toBool() ? QStringLiteral("true") : QStringLiteral("false"));
    if (value.isDouble())
        return QStringLiteral("%1: %2").arg(key, number(value));
    if (value.isString())
        return QStringLiteral("%1: %2").arg(key, value.toString());
    const QJsonObject object = value.toObject();
    if (object.value(QLatin1String("unit")) == QLatin1String("s"))
        return timeLine(key, object);
    if (!object.contains(QLatin1String("unit")))
        return QStringLiteral("%1: %2").arg(key, number(object.value(QLatin1String("value"))));
    return QStringLiteral("%1: '%2' %3 '%4'")
        .arg(key, object.value(QLatin1String("text")).toString(), number(object.value(QLatin1String("value"))),
             object.value(QLatin1String("unit")).toString());
}

// The JSON of a record described like RecordDescription describes a record.
QStringList describeJson(const QJsonObject &object)
{
    const int mode = modeOfName(object.value(QLatin1String("mode")).toString());
    QStringList lines{QStringLiteral("class: %1").arg(QLatin1String(mode >= 0 ? classNames[mode] : "?")),
                      QStringLiteral("mode: %1").arg(mode)};
    for (auto member = object.begin(); member != object.end(); ++member) {
        if (member.key() != QLatin1String("kind") && member.key() != QLatin1String("time")
            && member.key() != QLatin1String("mode"))
            lines << memberLine(member.key(), member.value());
    }
    lines.sort();
    return lines;
}

QStringList sorted(QStringList lines)
{
    lines.sort();
    return lines;
}

QJsonObject parseLine(const QByteArray &line)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(line, &error);
    if (error.error != QJsonParseError::NoError)
        qWarning() << "not JSON:" << error.errorString() << line;
    return document.object();
}

// Sets and unsets TZ for the process; Qt's local time follows tzset().
class TimeZoneScope
{
public:
    explicit TimeZoneScope(const QByteArray &zone)
        : m_previous(qgetenv("TZ"))
        , m_hadZone(qEnvironmentVariableIsSet("TZ"))
    {
        qputenv("TZ", zone);
        tzset();
    }
    ~TimeZoneScope()
    {
        if (m_hadZone)
            qputenv("TZ", m_previous);
        else
            qunsetenv("TZ");
        tzset();
    }

private:
    QByteArray m_previous;
    bool m_hadZone = false;
};

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}
} // namespace

class TestRecordOutput : public QObject
{
    Q_OBJECT

private slots:
    void timestampHasMillisecondsAndOffset_data();
    void timestampHasMillisecondsAndOffset();
    void jsonCarriesEveryField_data();
    void jsonCarriesEveryField();
    void jsonLineKeepsTheRecordOrder();
    void nonFiniteValueIsNullAndLeavesTheRecord();
    void jsonlWriterReportsAFullDisk();
    void csvFileMatchesTheWindowExport_data();
    void csvFileMatchesTheWindowExport();
    void csvKeepsKindsAndModesApartAndReplacesOldFiles();
    void csvWriterFailures_data();
    void csvWriterFailures();
};

void TestRecordOutput::timestampHasMillisecondsAndOffset_data()
{
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<QDateTime>("utc");
    QTest::addColumn<QString>("expected");

    const QDateTime winter(QDate(2026, 12, 10), QTime(4, 15, 14, 123), Qt::UTC);
    const QDateTime summer(QDate(2026, 7, 1), QTime(23, 59, 59, 7), Qt::UTC);
    // POSIX zone rules need no time zone database.
    QTest::newRow("UTC") << QByteArray("UTC0") << winter << "2026-12-10T04:15:14.123+00:00";
    QTest::newRow("east, half hour") << QByteArray("IST-5:30") << winter << "2026-12-10T09:45:14.123+05:30";
    QTest::newRow("west, day before") << QByteArray("PST8") << winter << "2026-12-09T20:15:14.123-08:00";
    QTest::newRow("summer time, next day")
        << QByteArray("CET-1CEST,M3.5.0,M10.5.0/3") << summer << "2026-07-02T01:59:59.007+02:00";
    QTest::newRow("winter time") << QByteArray("CET-1CEST,M3.5.0,M10.5.0/3") << winter
                                 << "2026-12-10T05:15:14.123+01:00";
}

void TestRecordOutput::timestampHasMillisecondsAndOffset()
{
    QFETCH(QByteArray, zone);
    QFETCH(QDateTime, utc);
    QFETCH(QString, expected);

    TimeZoneScope scope(zone);
    // As the decoders stamp records: local time.
    const QDateTime local = utc.toLocalTime();
    QCOMPARE(RecordJson::timestamp(local), expected);
    QCOMPARE(QDateTime::fromString(expected, Qt::ISODateWithMs), utc);
}

void TestRecordOutput::jsonCarriesEveryField_data()
{
    QTest::addColumn<DMMData::DataMode>("mode");
    for (int mode = 0; mode < DMMData::modeCount; ++mode)
        QTest::newRow(classNames[mode]) << DMMData::DataMode(mode);
}

void TestRecordOutput::jsonCarriesEveryField()
{
    QFETCH(DMMData::DataMode, mode);

    QSharedPointer<DMMData> record = SampleRecords::ofMode(mode);
    record->testing = true;
    record->auxValue = -42;
    if (auto *ir = record.dynamicCast<DMMDataIR>().data()) {
        ir->resistanceOverRange = true;
        ir->testTime = 0x010A;
        ir->stateFlag2 = true;
    }
    if (auto *time = record.dynamicCast<DMMDataTime>().data()) {
        time->elapsedTime = 0xFF3C; // shown as sent, 255:60
        time->setTime = 0x0A00;
    }
    if (auto *comp = record.dynamicCast<DMMDataCOMP>().data())
        comp->result = 7;
    if (auto *volt = record.dynamicCast<DMMDataVOLT>().data()) {
        volt->negative = 1;
        volt->overload = true;
        volt->acdc = QStringLiteral("DC \"quoted\"\n");
    }

    const QJsonObject object = parseLine(RecordJson::line(RecordWriter::Kind::Stored, *record));
    QCOMPARE(object.value(QLatin1String("kind")).toString(), QStringLiteral("stored"));
    QCOMPARE(describeJson(object), sorted(RecordDescription::describe(*record)));
}

void TestRecordOutput::jsonLineKeepsTheRecordOrder()
{
    const auto record = SampleRecords::comp();
    record->result = 2;
    const QByteArray line = RecordJson::line(RecordWriter::Kind::Live, *record);

    QVERIFY2(line.startsWith(R"({"kind":"live","time":")"), line);
    QVERIFY2(line.contains(R"("mode":"COMP","testing":false,"auxValue":0,"resistance":{"value":)"), line);
    QVERIFY2(line.contains(R"("result":{"value":2,"text":"PASS"})"), line);
    QVERIFY(!line.contains('\n'));
}

void TestRecordOutput::nonFiniteValueIsNullAndLeavesTheRecord()
{
    const auto record = SampleRecords::res();
    record->resistance.value = std::numeric_limits<double>::quiet_NaN();
    record->resistance.text = QStringLiteral("OL");

    const QJsonObject object = parseLine(RecordJson::line(RecordWriter::Kind::Live, *record));
    const QJsonObject resistance = object.value(QLatin1String("resistance")).toObject();
    QVERIFY(resistance.value(QLatin1String("value")).isNull());
    QCOMPARE(resistance.value(QLatin1String("text")).toString(), QStringLiteral("OL"));
    QVERIFY(std::isnan(record->resistance.value));
}

void TestRecordOutput::jsonlWriterReportsAFullDisk()
{
    QFile full(QStringLiteral("/dev/full"));
    if (!full.open(QIODevice::WriteOnly))
        QSKIP("/dev/full is not available here");
    JsonlRecordWriter writer(full);
    QVERIFY(!writer.write(RecordWriter::Kind::Live, SampleRecords::ir()));
    QVERIFY(!writer.errorString().isEmpty());
}

void TestRecordOutput::csvFileMatchesTheWindowExport_data()
{
    QTest::addColumn<RecordWriter::Kind>("kind");
    QTest::addColumn<DMMData::DataMode>("mode");
    for (const RecordWriter::Kind kind : {RecordWriter::Kind::Live, RecordWriter::Kind::Stored}) {
        for (int mode = 0; mode < DMMData::modeCount; ++mode) {
            const QString name = RecordWriter::kindName(kind) + QLatin1Char(' ') + DMMData::modeName(mode);
            QTest::newRow(qPrintable(name)) << kind << DMMData::DataMode(mode);
        }
    }
}

void TestRecordOutput::csvFileMatchesTheWindowExport()
{
    QFETCH(RecordWriter::Kind, kind);
    QFETCH(DMMData::DataMode, mode);

    TempWorkDir dir;
    QVERIFY(dir.isValid());
    const QList<QSharedPointer<DMMData>> records{SampleRecords::ofMode(mode), SampleRecords::ofMode(mode),
                                                 SampleRecords::ofMode(mode)};
    records[1]->dateTime = records[1]->dateTime.addSecs(61);
    if (auto *volt = records[2].dynamicCast<DMMDataVOLT>().data())
        volt->acdc = QStringLiteral("A\"C, D\"C"); // a cell that needs quoting

    CsvRecordWriter writer(dir.filePath(QStringLiteral("out")));
    QVERIFY(writer.prepare());
    for (const QSharedPointer<DMMData> &record : records)
        QVERIFY2(writer.write(kind, record), qPrintable(writer.errorString()));

    const ColumnSet columns;
    const std::unique_ptr<DataModel> model = kind == RecordWriter::Kind::Live
                                                 ? ModelFactory::createLiveModel(mode, columns.columns(mode))
                                                 : ModelFactory::createStoredModel(mode, columns.columns(mode));
    for (const QSharedPointer<DMMData> &record : records)
        model->addData(record);
    QVERIFY(Utils::exportToCSV(model.get(), dir.filePath(QStringLiteral("export.csv"))));

    const QString written = dir.filePath(QStringLiteral("out/") + CsvRecordWriter::fileName(kind, mode));
    QCOMPARE(readAll(written), readAll(dir.filePath(QStringLiteral("export.csv"))));
}

void TestRecordOutput::csvKeepsKindsAndModesApartAndReplacesOldFiles()
{
    TempWorkDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir().mkpath(QStringLiteral("out")));
    QFile old(QStringLiteral("out/live-IR.csv"));
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(4096, 'x'));
    old.close();

    CsvRecordWriter writer(QStringLiteral("out"));
    QVERIFY(writer.prepare());
    QVERIFY(writer.write(RecordWriter::Kind::Live, SampleRecords::ir()));
    QVERIFY(writer.write(RecordWriter::Kind::Stored, SampleRecords::ir()));
    QVERIFY(writer.write(RecordWriter::Kind::Live, SampleRecords::res()));
    QVERIFY(writer.write(RecordWriter::Kind::Live, SampleRecords::ir()));

    QCOMPARE(QDir(QStringLiteral("out")).entryList(QDir::Files),
             (QStringList{"live-IR.csv", "live-RES.csv", "stored-IR.csv"}));
    const QList<QByteArray> liveIr = readAll(QStringLiteral("out/live-IR.csv")).split('\n');
    QCOMPARE(liveIr.size(), 4); // header, two rows, and the empty rest after the last line feed
    QVERIFY(liveIr.at(1).startsWith("1,"));
    QVERIFY(liveIr.at(2).startsWith("2,"));
    QVERIFY(readAll(QStringLiteral("out/stored-IR.csv")).split('\n').at(1).startsWith("1,-,IR,"));
}

void TestRecordOutput::csvWriterFailures_data()
{
    QTest::addColumn<QString>("obstacle");
    QTest::newRow("directory is a file") << "out";
    QTest::newRow("mode file is a directory") << "out/live-IR.csv/";
}

void TestRecordOutput::csvWriterFailures()
{
    QFETCH(QString, obstacle);

    TempWorkDir dir;
    QVERIFY(dir.isValid());
    if (obstacle.endsWith(QLatin1Char('/'))) {
        QVERIFY(QDir().mkpath(obstacle));
    } else {
        QFile file(obstacle);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

    CsvRecordWriter writer(QStringLiteral("out"));
    const bool written = writer.prepare() && writer.write(RecordWriter::Kind::Live, SampleRecords::ir());
    QVERIFY(!written);
    QVERIFY(writer.errorString().contains(QLatin1String("out")));
}

QTEST_GUILESS_MAIN(TestRecordOutput)
#include "tst_recordoutput.moc"
