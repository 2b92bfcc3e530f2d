// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "export/testscsvexport.h"

#include "insulation/curveanalysis.h"
#include "insulation/testdate.h"
#include "insulation/verdictrules.h"
#include "journal/equipmentstore.h"
#include "journal/readingstore.h"
#include "journal/teststore.h"
#include "util/csvline.h"
#include "util/safefile.h"

#include <QDateTime>
#include <QLocale>
#include <QSet>
#include <QVector>

#include <algorithm>

#include <cmath>

namespace {
QString number(double value)
{
    return std::isfinite(value) ? QLocale::c().toString(value, 'g', 6) : QString();
}

QString moment(qint64 ms)
{
    return QDateTime::fromMSecsSinceEpoch(ms).toString(Qt::ISODateWithMs);
}

const char *kindName(TestDetails::EquipmentKind kind)
{
    static const char *const names[] = {"rotating machine", "transformer", "cable", "other"};
    return names[int(kind)];
}

QString className(TestDetails::InsulationClass insulationClass)
{
    static const char *const names[] = {"", "A", "B", "F", "H"};
    return QString::fromLatin1(names[int(insulationClass)]);
}

QString windingName(TestDetails::WindingType winding)
{
    static const char *const names[] = {"", "form-wound after 1970", "random-wound or below 1 kV", "older or field"};
    return QString::fromLatin1(names[int(winding)]);
}

QStringList itemCells(const EquipmentItem &item)
{
    return {item.tag,
            item.description,
            item.site,
            item.location,
            QString::fromLatin1(kindName(item.kind)),
            number(item.ratedKilovolts),
            className(item.insulationClass),
            windingName(item.winding),
            number(item.baseCelsius),
            item.notes};
}

QStringList testCells(const InsulationTest &test, const TestDetails &details)
{
    const CurveAnalysis::Values values = CurveAnalysis::analyse(test);
    const Verdict verdict = VerdictRules::judge(test, values, details);
    const QString status = test.status == InsulationTest::Status::Interrupted ? QStringLiteral("interrupted")
                                                                              : QStringLiteral("completed");
    // The meter's ratio at set times that make it no PI or DAR, by its name.
    const bool setTimeRatio = std::isfinite(CurveAnalysis::meterRatio(test)) && !CurveAnalysis::isStandardPi(test)
        && !CurveAnalysis::isStandardDar(test);
    return {QString::number(test.id),
            test.uuid,
            moment(test.startedMs),
            moment(test.endedMs),
            test.modeName(),
            test.origin == InsulationTest::Origin::Memory ? QStringLiteral("memory") : QStringLiteral("live"),
            status,
            QString::number(test.setVolts),
            test.isMeasurement() ? test.measurementText : number(test.finalMegohms),
            test.finalOverRange ? QStringLiteral("yes") : QString(),
            number(CurveAnalysis::meterDar(test)),
            number(CurveAnalysis::meterPi(test)),
            test.compResult >= 0 ? QString::number(test.compResult) : QString(),
            number(values.r15),
            number(values.r30),
            number(values.r60),
            number(values.r600),
            number(values.dar),
            number(values.dar15),
            number(values.pi),
            number(verdict.correctedMegohms),
            number(verdict.baseCelsius),
            number(details.insulationCelsius),
            number(details.ambientCelsius),
            number(details.humidityPercent),
            details.operatorName,
            details.notes,
            verdict.outcomeText(),
            verdict.reasons.join(QStringLiteral("; ")),
            verdict.isQualified() ? QStringLiteral("yes") : QString(),
            verdict.rules.join(QStringLiteral("; ")),
            verdict.warnings.join(QStringLiteral("; ")),
            setTimeRatio ? CurveAnalysis::ratioName(test) : QString(),
            setTimeRatio ? number(CurveAnalysis::meterRatio(test)) : QString(),
            details.testPoint,
            TestDate::isKnown(test, details) ? moment(TestDate::testedMs(test, details)) : QString()};
}
} // namespace

TestsCsvExport::TestsCsvExport(QSqlDatabase journal)
    : m_journal(std::move(journal))
{
}

QStringList TestsCsvExport::header()
{
    return {tr("Tag"), tr("Description"), tr("Site"), tr("Location"), tr("Kind"), tr("Rated voltage (kV)"),
            tr("Insulation class"), tr("Winding"), tr("Base temperature (°C)"), tr("Item notes"), tr("Test"),
            tr("Test uuid"), tr("Started"), tr("Ended"), tr("Mode"), tr("Origin"), tr("Status"),
            tr("Set voltage (V)"), tr("Final R (MΩ)"), tr("Beyond the range"), tr("Meter's DAR"), tr("Meter's PI"),
            tr("COMP result"), tr("R15 (MΩ)"), tr("R30 (MΩ)"), tr("R60 (MΩ)"), tr("R600 (MΩ)"),
            tr("DAR R60/R30"), tr("DAR R60/R15"), tr("PI R600/R60"), tr("Corrected R (MΩ)"),
            tr("Corrected to (°C)"), tr("Insulation temperature (°C)"), tr("Ambient temperature (°C)"),
            tr("Relative humidity (%)"), tr("Operator"), tr("Notes"), tr("Verdict"), tr("Reasons"),
            tr("Qualified pass"), tr("Rules"), tr("Warnings"), tr("Meter's ratio at set times"),
            tr("Meter's ratio value"), tr("Test point"), tr("Tested")};
}

bool TestsCsvExport::write(const QString &fileName)
{
    const TestStore tests(m_journal);
    const ReadingStore readings(m_journal);
    const EquipmentStore register_(m_journal);
    SafeFile file(fileName);
    bool written = file.open() && file.write((CsvLine::join(header()) + QLatin1Char('\n')).toUtf8());
    QSet<qint64> reported;
    const QStringList noItem = QVector<QString>(10).toList();
    for (const EquipmentItem &item : register_.list()) {
        const QList<qint64> ofItem = register_.testsOf(item.id);
        if (ofItem.isEmpty() && written) {
            // Every row as wide as the header, so that a spreadsheet's columns stay aligned.
            QStringList cells = itemCells(item);
            while (cells.size() < header().size())
                cells << QString();
            written = file.write((CsvLine::join(cells) + QLatin1Char('\n')).toUtf8());
        }
        for (const qint64 id : ofItem) {
            const std::optional<InsulationTest> test = tests.load(id, readings);
            if (!test || !written)
                continue;
            reported.insert(id);
            written = file.write(
                (CsvLine::join(itemCells(item) + testCells(*test, tests.details(id))) + QLatin1Char('\n')).toUtf8());
        }
    }
    // Tests of no item of the register, the oldest first.
    QList<InsulationTest> rest = tests.list();
    std::reverse(rest.begin(), rest.end());
    for (const InsulationTest &listed : qAsConst(rest)) {
        if (reported.contains(listed.id) || !written)
            continue;
        const std::optional<InsulationTest> test = tests.load(listed.id, readings);
        if (test) {
            QStringList cells = noItem;
            cells[0] = tests.details(listed.id).equipment;
            written = file.write((CsvLine::join(cells + testCells(*test, tests.details(listed.id))) + QLatin1Char('\n'))
                                     .toUtf8());
        }
    }
    if (written && file.commit())
        return true;
    m_error = file.errorString();
    return false;
}
