// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "cli/detailsjson.h"

#include "cli/recordjson.h"
#include "insulation/testdetails.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

#include <cmath>
#include <functional>
#include <limits>
#include <vector>

namespace {
constexpr double nan = std::numeric_limits<double>::quiet_NaN();

// The names of a choice, by its value; a null name is "not given".
using Names = std::vector<const char *>;

const Names &kinds()
{
    static const Names names = {"rotating machine", "transformer", "cable", "other"};
    return names;
}

const Names &classes()
{
    static const Names names = {nullptr, "A", "B", "F", "H"};
    return names;
}

const Names &windings()
{
    static const Names names = {nullptr, "form-wound after 1970", "random-wound or below 1 kV", "older or field"};
    return names;
}

const Names &media()
{
    static const Names names = {nullptr, "solid", "oil-immersed"};
    return names;
}

const Names &corrections()
{
    static const Names names = {"standard", "halving"};
    return names;
}

QJsonValue number(double value)
{
    return std::isfinite(value) ? QJsonValue(value) : QJsonValue();
}

QJsonValue text(const QString &value)
{
    return value.isEmpty() ? QJsonValue() : QJsonValue(value);
}

QJsonValue name(const Names &names, int value)
{
    const char *chosen = value >= 0 && size_t(value) < names.size() ? names.at(size_t(value)) : nullptr;
    return chosen ? QJsonValue(QString::fromLatin1(chosen)) : QJsonValue();
}

// The values the forms take: a number outside them is a typing slip, not
// a measurement.
struct Range
{
    double lowest;
    double highest;
    bool lowestIncluded = true;

    bool contains(double value) const
    {
        return (lowestIncluded ? value >= lowest : value > lowest) && value <= highest;
    }
};

enum class Kind { Text, Number, Choice, Moment };

// One key: its type, what it may hold and where it goes.
struct Field
{
    const char *key;
    Kind kind;
    bool item = false;    // the item's rather than the test's
    bool nullable = true; // null clears it
    Range range = {};
    const Names *names = nullptr;
    std::function<QJsonValue(const TestDetails &)> get;
    std::function<void(TestDetails &, const QJsonValue &)> set;
};

double numberOf(const QJsonValue &value)
{
    return value.isNull() ? nan : value.toDouble();
}

int choiceOf(const Field &field, const QJsonValue &value)
{
    if (value.isNull())
        return 0;
    for (size_t i = 0; i < field.names->size(); ++i) {
        if (field.names->at(i) && value.toString() == QLatin1String(field.names->at(i)))
            return int(i);
    }
    return -1;
}

Field textField(const char *key, QString TestDetails::*member)
{
    return {key,
            Kind::Text,
            false,
            true,
            {},
            nullptr,
            [member](const TestDetails &d) { return text(d.*member); },
            [member](TestDetails &d, const QJsonValue &v) { d.*member = v.toString().trimmed(); }};
}

Field numberField(const char *key, double TestDetails::*member, Range range, bool item = false)
{
    return {key,
            Kind::Number,
            item,
            true,
            range,
            nullptr,
            [member](const TestDetails &d) { return number(d.*member); },
            [member](TestDetails &d, const QJsonValue &v) { d.*member = numberOf(v); }};
}

template<typename Enum>
Field choiceField(const char *key, Enum TestDetails::*member, const Names &names, bool item, bool nullable)
{
    Field field{key, Kind::Choice, item, nullable, {}, &names, {}, {}};
    field.get = [member, &names](const TestDetails &d) { return name(names, int(d.*member)); };
    field.set = [member, field](TestDetails &d, const QJsonValue &v) { d.*member = Enum(choiceOf(field, v)); };
    return field;
}

const std::vector<Field> &fields()
{
    // Temperatures as the forms take them: -60 °C is their "not given".
    static const Range celsius{-60, 200, false};
    static const std::vector<Field> all = {
        textField("equipment", &TestDetails::equipment),
        choiceField("kind", &TestDetails::kind, kinds(), true, false),
        numberField("ratedKilovolts", &TestDetails::ratedKilovolts, {0, 800, false}, true),
        choiceField("insulationClass", &TestDetails::insulationClass, classes(), true, true),
        choiceField("winding", &TestDetails::winding, windings(), true, true),
        numberField("insulationCelsius", &TestDetails::insulationCelsius, celsius),
        numberField("ambientCelsius", &TestDetails::ambientCelsius, celsius),
        numberField("humidityPercent", &TestDetails::humidityPercent, {0, 100}),
        textField("operator", &TestDetails::operatorName),
        textField("notes", &TestDetails::notes),
        {"baseCelsius", Kind::Number, true, true, celsius, nullptr,
         [](const TestDetails &d) { return number(d.effectiveBaseCelsius()); },
         // The kind's default, as printed, stays the kind's default.
         [](TestDetails &d, const QJsonValue &v) {
             if (!(std::isnan(d.baseCelsius) && numberOf(v) == d.effectiveBaseCelsius()))
                 d.baseCelsius = numberOf(v);
         }},
        {"halvingCelsius", Kind::Number, false, false, {1, 100}, nullptr,
         [](const TestDetails &d) { return number(d.halvingCelsius); },
         [](TestDetails &d, const QJsonValue &v) { d.halvingCelsius = v.toDouble(); }},
        choiceField("correction", &TestDetails::correction, corrections(), false, false),
        textField("testPoint", &TestDetails::testPoint),
        {"tested", Kind::Moment, false, true, {}, nullptr,
         [](const TestDetails &d) {
             return d.testedMs > 0 ? QJsonValue(RecordJson::timestamp(QDateTime::fromMSecsSinceEpoch(d.testedMs)))
                                   : QJsonValue();
         },
         [](TestDetails &d, const QJsonValue &v) {
             d.testedMs = v.isNull() ? 0 : QDateTime::fromString(v.toString(), Qt::ISODateWithMs).toMSecsSinceEpoch();
         }},
        choiceField("medium", &TestDetails::medium, media(), true, true),
        numberField("makerMinimumMegohms", &TestDetails::makerMinimumMegohms, {0, 1e8, false}, true),
        numberField("makerMinimumCelsius", &TestDetails::makerMinimumCelsius, celsius, true),
        numberField("makerMinimumPi", &TestDetails::makerMinimumPi, {1, 10}, true),
    };
    return all;
}

const Field *fieldOf(const QString &key)
{
    for (const Field &field : fields()) {
        if (key == QLatin1String(field.key))
            return &field;
    }
    return nullptr;
}

QString names(const Names &all)
{
    QStringList quoted;
    for (const char *name : all) {
        if (name)
            quoted << QStringLiteral("\"%1\"").arg(QString::fromLatin1(name));
    }
    return quoted.join(QStringLiteral(", "));
}

QString typeName(const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::Bool:
        return DetailsJson::tr("true or false");
    case QJsonValue::Double:
        return DetailsJson::tr("a number");
    case QJsonValue::String:
        return DetailsJson::tr("text");
    case QJsonValue::Array:
        return DetailsJson::tr("a list");
    case QJsonValue::Object:
        return DetailsJson::tr("an object");
    default:
        break;
    }
    return DetailsJson::tr("null");
}
} // namespace

OrderedJsonObject DetailsJson::object(const TestDetails &details)
{
    OrderedJsonObject object;
    for (const Field &field : fields())
        object.add(field.key, field.get(details));
    return object;
}

QJsonValue DetailsJson::valueOf(const TestDetails &details, const QString &key)
{
    const Field *field = fieldOf(key);
    return field ? field->get(details) : QJsonValue(QJsonValue::Undefined);
}

QStringList DetailsJson::itemKeys()
{
    QStringList keys;
    for (const Field &field : fields()) {
        if (field.item)
            keys << QString::fromLatin1(field.key);
    }
    return keys;
}

namespace {
// Why a value does not fit its key; empty when it does.
QString misfit(const Field &field, const QJsonValue &value)
{
    if (value.isNull())
        return field.nullable ? QString() : DetailsJson::tr("it cannot be null");
    switch (field.kind) {
    case Kind::Text:
        return value.isString() ? QString() : DetailsJson::tr("it takes text or null, not %1").arg(typeName(value));
    case Kind::Number:
        if (!value.isDouble())
            return DetailsJson::tr("it takes a number, not %1").arg(typeName(value));
        if (!field.range.contains(value.toDouble()))
            return DetailsJson::tr("%1 is out of range: it takes %2 %3 to %4")
                .arg(value.toDouble())
                .arg(field.range.lowestIncluded ? DetailsJson::tr("from") : DetailsJson::tr("above"))
                .arg(field.range.lowest)
                .arg(field.range.highest);
        return QString();
    case Kind::Choice:
        if (!value.isString() || choiceOf(field, value) < 0)
            return DetailsJson::tr("it takes one of %1%2")
                .arg(names(*field.names), field.nullable ? DetailsJson::tr(" or null") : QString());
        return QString();
    case Kind::Moment: {
        if (!value.isString())
            return DetailsJson::tr("it takes a date and time as text, not %1").arg(typeName(value));
        const QDateTime moment = QDateTime::fromString(value.toString(), Qt::ISODateWithMs);
        if (!moment.isValid())
            return DetailsJson::tr("\"%1\" is no date and time such as 2026-12-11T09:30:00+01:00")
                .arg(value.toString());
        // A day's leeway for a clock that is behind.
        if (moment.toMSecsSinceEpoch() <= 0 || moment > QDateTime::currentDateTime().addDays(1))
            return DetailsJson::tr("%1 is out of range: a test was made after 1970 and not in the future")
                .arg(value.toString());
        return QString();
    }
    }
    return QString();
}
} // namespace

bool DetailsJson::read(const QByteArray &json, TestDetails &details, QStringList &given, QString &error)
{
    QJsonParseError parsed;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parsed);
    if (parsed.error != QJsonParseError::NoError) {
        error = tr("The details are no JSON: %1 at character %2.").arg(parsed.errorString()).arg(parsed.offset);
        return false;
    }
    if (!document.isObject()) {
        error = tr("The details are one JSON object, with the keys --list-tests prints under \"details\".");
        return false;
    }
    const QJsonObject object = document.object();
    for (auto it = object.constBegin(); it != object.constEnd(); ++it) {
        const Field *field = fieldOf(it.key());
        if (!field) {
            error = tr("%1: no such key; the keys are those --list-tests prints under \"details\".").arg(it.key());
            return false;
        }
        const QString why = misfit(*field, it.value());
        if (!why.isEmpty()) {
            error = QStringLiteral("%1: %2.").arg(it.key(), why);
            return false;
        }
    }
    TestDetails edited = details;
    given.clear();
    // In the order of the keys, so that a base temperature is read with the
    // kind it goes with.
    for (const Field &field : fields()) {
        const QString key = QString::fromLatin1(field.key);
        if (!object.contains(key))
            continue;
        field.set(edited, object.value(key));
        given << key;
    }
    details = edited;
    return true;
}
