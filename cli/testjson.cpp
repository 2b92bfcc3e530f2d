// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "cli/testjson.h"

#include "cli/detailsjson.h"
#include "cli/orderedjsonobject.h"
#include "cli/recordjson.h"
#include "insulation/curveanalysis.h"
#include "insulation/insulationtest.h"
#include "insulation/pipredictor.h"
#include "insulation/predictionreview.h"
#include "insulation/testdetails.h"
#include "insulation/verdictrules.h"
#include "meter/dmmdata.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonValue>

#include <algorithm>
#include <cmath>
#include <optional>

namespace {
QJsonValue number(double value)
{
    return std::isfinite(value) ? QJsonValue(value) : QJsonValue();
}

QJsonValue text(const QString &value)
{
    return value.isEmpty() ? QJsonValue() : QJsonValue(value);
}

QString moment(qint64 ms)
{
    return RecordJson::timestamp(QDateTime::fromMSecsSinceEpoch(ms));
}

const char *statusName(InsulationTest::Status status)
{
    switch (status) {
    case InsulationTest::Status::Running:
        return "running";
    case InsulationTest::Status::Completed:
        return "completed";
    case InsulationTest::Status::Interrupted:
        break;
    }
    return "interrupted";
}

const char *outcomeName(Verdict::Outcome outcome)
{
    switch (outcome) {
    case Verdict::Outcome::Pass:
        return "pass";
    case Verdict::Outcome::Fail:
        return "fail";
    case Verdict::Outcome::NotAssessed:
        break;
    }
    return "not assessed";
}

OrderedJsonObject meterValues(const InsulationTest &test)
{
    OrderedJsonObject meter;
    meter.add("megohms", number(test.finalMegohms));
    meter.add("overRange", test.finalOverRange);
    meter.add("dar", number(CurveAnalysis::meterDar(test)));
    meter.add("pi", number(CurveAnalysis::meterPi(test)));
    // A PI or DAR test's own ratio, named by its set times ("R5min/R1min").
    meter.add("ratio", number(CurveAnalysis::meterRatio(test)));
    meter.add("ratioName", text(CurveAnalysis::ratioName(test)));
    meter.add("result", test.compResult >= 0 ? QJsonValue(test.compResult) : QJsonValue());
    meter.add("measurement", text(test.measurementText));
    return meter;
}

OrderedJsonObject derived(const CurveAnalysis::Values &values)
{
    OrderedJsonObject object;
    object.add("r15", number(values.r15));
    object.add("r30", number(values.r30));
    object.add("r60", number(values.r60));
    object.add("r600", number(values.r600));
    object.add("dar", number(values.dar));
    object.add("dar15", number(values.dar15));
    object.add("pi", number(values.pi));
    object.add("ratioAtSetTimes", number(values.ratioAtSetTimes));
    object.add("darDiffersFromMeter", values.darDiffersFromMeter);
    object.add("piDiffersFromMeter", values.piDiffersFromMeter);
    return object;
}

std::optional<OrderedJsonObject> predictionOf(const InsulationTest &test, double predictAtSeconds)
{
    if (!PredictionReview::follows(test))
        return std::nullopt;
    const double upTo = predictAtSeconds > 0 ? std::min(predictAtSeconds, PiPredictor::tenMinutes)
                                             : PiPredictor::tenMinutes;
    const PiPrediction prediction = PiPredictor().predict(test.curve, upTo);
    const bool made = prediction.isMade();
    const auto value = [made](double number) { return made ? number : CurveAnalysis::nan; };
    OrderedJsonObject object;
    object.add("fromSeconds", prediction.fromSeconds);
    object.add("r600", number(value(prediction.r600)));
    object.add("r600Low", number(value(prediction.r600Low)));
    object.add("r600High", number(value(prediction.r600High)));
    object.add("pi", number(value(prediction.pi)));
    object.add("piLow", number(value(prediction.piLow)));
    object.add("piHigh", number(value(prediction.piHigh)));
    if (!made)
        object.add("reason", prediction.reasonText());
    return object;
}

OrderedJsonObject verdictOf(const Verdict &verdict)
{
    OrderedJsonObject object;
    object.add("outcome", QString::fromLatin1(outcomeName(verdict.outcome)));
    object.add("qualified", verdict.isQualified());
    object.add("text", verdict.outcomeText());
    object.add("reasons", QJsonArray::fromStringList(verdict.reasons));
    object.add("rules", QJsonArray::fromStringList(verdict.rules));
    object.add("warnings", QJsonArray::fromStringList(verdict.warnings));
    object.add("correctedMegohms", number(verdict.correctedMegohms));
    object.add("baseCelsius", number(verdict.baseCelsius));
    object.add("minimumMegohms", number(verdict.minimumMegohms));
    object.add("minimumPi", number(verdict.minimumPi));
    return object;
}
} // namespace

QByteArray TestJson::line(const InsulationTest &test, const TestDetails &details, double predictAtSeconds)
{
    const CurveAnalysis::Values values = CurveAnalysis::analyse(test);
    OrderedJsonObject out;
    out.add("id", test.id);
    out.add("uuid", test.uuid);
    out.add("session", test.sessionId);
    out.add("mode", test.modeName());
    out.add("origin", test.origin == InsulationTest::Origin::Memory ? QStringLiteral("memory") : QStringLiteral("live"));
    out.add("status", QString::fromLatin1(statusName(test.status)));
    out.add("started", moment(test.startedMs));
    out.add("ended", moment(test.endedMs));
    out.add("setVoltage", test.setVolts);
    out.add("points", test.curve.size());
    out.add("meter", meterValues(test));
    out.add("derived", derived(values));
    const std::optional<OrderedJsonObject> prediction = predictionOf(test, predictAtSeconds);
    if (prediction)
        out.add("prediction", *prediction);
    else
        out.add("prediction", QJsonValue());
    out.add("details", DetailsJson::object(details));
    out.add("verdict", verdictOf(VerdictRules::judge(test, values, details)));
    return out.text();
}
