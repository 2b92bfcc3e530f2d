// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "sim/democycle.h"

#include "meter/dmmdata.h"
#include "sim/framebuilder.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {
constexpr int variantCount = static_cast<int>(std::size(DemoCycle::testVoltages));

// What the insulation under test is like in each round: its resistance once
// charged, in MΩ, and the ratios a long test reports. The last one is beyond
// every range, so the meter shows its limit with the over-range mark.
struct Insulation
{
    double megohms;
    double dar;
    double pi;
};
constexpr Insulation insulations[variantCount] = {
    {2.5e3, 1.32, 2.1}, {48e3, 1.58, 3.4}, {850.0, 1.08, 1.2}, {1.2e6, 1.71, 3.9}, {5.0e7, 1.45, 2.6}};

// Highest insulation resistance the meter resolves at a test voltage.
double rangeLimitMegohms(int volts)
{
    return volts * 4.0e3;
}

quint16 minutesSeconds(int seconds)
{
    return static_cast<quint16>(((seconds / 60) << 8) | (seconds % 60));
}

ValueBox box(double value, const QString &unit = QString())
{
    ValueBox result;
    result.value = value;
    result.unit = unit;
    return result;
}

ValueBoxInt intBox(int value, const QString &unit)
{
    ValueBoxInt result;
    result.value = value;
    result.text = QString::number(value);
    result.unit = unit;
    return result;
}

ValueBox resistanceBox(double megohms)
{
    if (megohms >= 1.0e6)
        return box(megohms / 1.0e6, QStringLiteral("TΩ"));
    if (megohms >= 1.0e3)
        return box(megohms / 1.0e3, QStringLiteral("GΩ"));
    return box(megohms, QStringLiteral("MΩ"));
}

ValueBox currentBox(double nanoamps)
{
    if (nanoamps >= 1.0e6)
        return box(nanoamps / 1.0e6, QStringLiteral("mA"));
    if (nanoamps >= 1.0e3)
        return box(nanoamps / 1.0e3, QStringLiteral("uA"));
    return box(nanoamps, QStringLiteral("nA"));
}

// Voltage, current and resistance of an insulation reading; a resistance
// beyond the range shows as the limit, marked over range.
void setInsulation(DMMDataIR &record, int setVolts, int outVolts, double megohms)
{
    const double limit = rangeLimitMegohms(setVolts);
    const double shown = std::min(megohms, limit);
    record.setVoltage = intBox(setVolts, QStringLiteral("V"));
    record.outputVoltage = intBox(outVolts, QStringLiteral("V"));
    record.resistance = resistanceBox(shown);
    record.resistanceOverRange = megohms > limit;
    // V / MΩ is µA; the meter measures the true current, not the shown one.
    record.leakageCurrent = currentBox(megohms > 0.0 ? outVolts / megohms * 1.0e3 : 0.0);
}

// Output voltage while the test voltage ramps up in the first seconds.
int outputVolts(int setVolts, int seconds)
{
    if (seconds <= 0)
        return 0;
    if (seconds < 5)
        return setVolts * 9 / 10;
    return setVolts + setVolts / 50;
}

// Insulation charges up: the resistance rises towards its final value.
double chargedMegohms(double finalMegohms, int seconds)
{
    return finalMegohms * (1.0 - 0.45 * std::exp(-seconds / 30.0));
}

void setSecondResistance(DMMDataPIDAR &record, double megohms)
{
    const double limit = rangeLimitMegohms(record.setVoltage.value);
    record.resistance2 = resistanceBox(std::min(megohms, limit));
    record.resistance2OverRange = megohms > limit;
}

template <typename Record>
QByteArray live(const Record &record)
{
    return FrameBuilder::liveFrame(record);
}
} // namespace

DemoCycle::DemoCycle(int round)
    : m_variant(((round % variantCount) + variantCount) % variantCount)
    , m_testVoltage(testVoltages[m_variant])
{
    addIR();
    addTime();
    addPI();
    addDAR();
    addCOMP();
    addCAP();
    addVOLT();
    addRES();
}

void DemoCycle::addIR()
{
    const Insulation &insulation = insulations[m_variant];
    for (const int seconds : {0, 5, 15, 60, 300, 600}) {
        DMMDataIR record;
        record.testing = seconds > 0;
        record.testTime = minutesSeconds(seconds);
        setInsulation(record, m_testVoltage, outputVolts(m_testVoltage, seconds),
                      seconds > 0 ? chargedMegohms(insulation.megohms, seconds) : 0.0);
        if (seconds >= 60)
            record.dar = box(insulation.dar);
        if (seconds >= 600)
            record.pi = box(insulation.pi);
        m_live.append(live(record));
        if (seconds == 600)
            m_stored.append(FrameBuilder::storedFrame(record));
    }
}

void DemoCycle::addTime()
{
    const int setSeconds = 30 * (1 + m_variant % 3);
    for (int seconds = 0; seconds <= setSeconds; seconds += setSeconds / 3) {
        DMMDataTime record;
        record.testing = seconds > 0 && seconds < setSeconds;
        record.elapsedTime = minutesSeconds(seconds);
        record.setTime = minutesSeconds(setSeconds);
        setInsulation(record, m_testVoltage, outputVolts(m_testVoltage, seconds),
                      seconds > 0 ? chargedMegohms(insulations[m_variant].megohms, seconds) : 0.0);
        m_live.append(live(record));
        if (seconds == setSeconds)
            m_stored.append(FrameBuilder::storedFrame(record));
    }
}

// The PI test reads the resistance at one minute and at ten; their ratio is
// the index. The DAR test does the same at thirty seconds and one minute.
template <typename Record>
void addRatioTest(QList<QByteArray> &live, QList<QByteArray> &stored, int testVolts, const Insulation &insulation,
                  double ratio, int firstSeconds, int secondSeconds, ValueBox Record::*ratioBox)
{
    const double second = insulation.megohms;
    const double first = second / ratio;
    const int steps[] = {firstSeconds / 2, firstSeconds, (firstSeconds + secondSeconds) / 2, secondSeconds};
    for (const int seconds : steps) {
        Record record;
        const bool done = seconds == secondSeconds;
        record.testing = !done;
        record.elapsedTime = minutesSeconds(seconds);
        record.setTime = minutesSeconds(firstSeconds);
        record.setTime2 = minutesSeconds(secondSeconds);
        // The first reading rises until its timing point and is then held.
        const double held = seconds < firstSeconds ? first * (0.7 + 0.3 * seconds / firstSeconds) : first;
        setInsulation(record, testVolts, outputVolts(testVolts, seconds), held);
        if (done) {
            setSecondResistance(record, second);
            const bool beyondRange = record.resistanceOverRange || record.resistance2OverRange;
            record.*ratioBox = box(beyondRange ? 0.0 : ratio);
            stored.append(FrameBuilder::storedFrame(record));
        }
        live.append(FrameBuilder::liveFrame(record));
    }
}

void DemoCycle::addPI()
{
    const Insulation &insulation = insulations[m_variant];
    addRatioTest(m_live, m_stored, m_testVoltage, insulation, insulation.pi, 60, 600, &DMMDataPI::piRatio);
}

void DemoCycle::addDAR()
{
    const Insulation &insulation = insulations[m_variant];
    addRatioTest(m_live, m_stored, m_testVoltage, insulation, insulation.dar, 30, 60, &DMMDataDAR::darRatio);
}

void DemoCycle::addCOMP()
{
    static constexpr int limitsMegohms[variantCount] = {100, 200, 500, 1000, 2000};
    const int limit = limitsMegohms[m_variant];
    // A sound cable that passes, then a damp motor winding that fails.
    const double measured[] = {insulations[m_variant].megohms, limit * 0.43};
    for (const double megohms : measured) {
        for (const bool done : {false, true}) {
            DMMDataCOMP record;
            record.testing = !done;
            setInsulation(record, m_testVoltage, outputVolts(m_testVoltage, done ? 60 : 3),
                          chargedMegohms(megohms, done ? 60 : 3));
            record.compareLimit = limit >= 1000 ? intBox(limit / 1000, QStringLiteral("GΩ"))
                                                : intBox(limit, QStringLiteral("MΩ"));
            if (done)
                record.result = megohms > limit ? 2 : 1;
            m_live.append(live(record));
            if (done)
                m_stored.append(FrameBuilder::storedFrame(record));
        }
    }
}

void DemoCycle::addCAP()
{
    // The last two rounds measure beyond the range and below it.
    static constexpr double microfarads[variantCount] = {0.15, 0.47, 2.2, 50.0, 0.0004};
    constexpr double rangeMicrofarads = 10.0;
    const double value = microfarads[m_variant];
    for (const bool done : {false, true}) {
        DMMDataCAP record;
        record.testing = !done;
        record.setVoltage = intBox(m_testVoltage, QStringLiteral("V"));
        record.overRange = value > rangeMicrofarads;
        record.underRange = value < 0.001;
        record.capacitance = box(std::min(value, rangeMicrofarads) * (done ? 1.0 : 0.96), QStringLiteral("μF"));
        m_live.append(live(record));
        if (done)
            m_stored.append(FrameBuilder::storedFrame(record));
    }
}

void DemoCycle::addVOLT()
{
    struct Reading
    {
        int volts;
        bool dc;
        bool underRange;
        bool overload;
    };
    // Mains, a telecom battery, then a reading that differs by round.
    static constexpr Reading last[variantCount] = {
        {12, true, false, false}, {400, false, false, false}, {0, true, true, false},
        {1000, false, false, true}, {600, true, false, false}};
    const Reading readings[] = {{229 + m_variant % 3, false, false, false}, {-48, true, false, false},
                                last[m_variant]};
    for (const Reading &reading : readings) {
        DMMDataVOLT record;
        record.voltage = box(reading.volts, QStringLiteral("V"));
        record.acdc = reading.dc ? QStringLiteral("DC") : QStringLiteral("AC");
        record.negative = reading.volts < 0 ? 1 : 0;
        record.underRange = reading.underRange;
        record.overload = reading.overload;
        m_live.append(live(record));
    }
    DMMDataVOLT kept;
    kept.voltage = box(readings[0].volts, QStringLiteral("V"));
    kept.acdc = QStringLiteral("AC");
    m_stored.append(FrameBuilder::storedFrame(kept));
}

void DemoCycle::addRES()
{
    // Idle leads, a measurement, and in two rounds an open or shorted probe.
    static constexpr double ohms[variantCount] = {0.52, 12.7, 153.0, 1530.0, 0.08};
    static const QString lastText[variantCount] = {QString(), QString(), QStringLiteral("LO"), QString(),
                                                   QStringLiteral("OL")};
    const QString states[] = {QStringLiteral("----"), QString(), lastText[m_variant]};
    for (const QString &state : states) {
        DMMDataRES record;
        record.testing = state != QLatin1String("----");
        record.resistance = box(state.isEmpty() ? ohms[m_variant] : 0.0, QStringLiteral("Ω"));
        record.resistance.text = state;
        record.overRange = state == QLatin1String("OL");
        m_live.append(live(record));
    }
    DMMDataRES kept;
    kept.resistance = box(ohms[m_variant], QStringLiteral("Ω"));
    m_stored.append(FrameBuilder::storedFrame(kept));
}
