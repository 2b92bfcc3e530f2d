// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "sim/democycle.h"

#include "meter/dmmdata.h"
#include "sim/framebuilder.h"

#include <QVector>

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {
constexpr int variantCount = static_cast<int>(std::size(DemoCycle::testVoltages));

// What the insulation under test is like in each round: its resistance after
// ten minutes in MΩ, its polarization index, and how fast its absorption
// current dies away (the exponent n below). The last one ends beyond every
// range, so the meter shows its limit with the over-range mark.
struct Insulation
{
    double megohmsAt10Min;
    double pi;
    double decay;
};
constexpr Insulation insulations[variantCount] = {
    {2.5e3, 2.1, 0.5}, {48e3, 3.4, 0.75}, {850.0, 1.2, 0.5}, {1.2e6, 3.9, 0.85}, {5.0e7, 2.6, 0.65}};

// The user stops the IR test a little after its PI is there. Its readings are
// further apart than the PI test's, to keep a round short.
constexpr int irStopSeconds = 630;
constexpr int irLateStep = 30;
// How long a comparison reads before it gives its verdict.
constexpr int compSeconds = 10;

// Under a steady voltage, insulation carries its leakage current and an
// absorption current that dies away as t^-n; what the meter reads is
//   R(t) = V / I(t) = R_leak / (1 + a·t^-n),   a = I_abs / I_leak.
// a and R_leak follow from the resistance at ten minutes and the PI, so the
// curve passes through exactly those; DAR follows from n. Nothing is measured
// before the voltage is on.
double megohmsAt(const Insulation &insulation, double seconds)
{
    if (seconds <= 0.0)
        return 0.0;
    const double n = insulation.decay;
    const double absorption = (insulation.pi - 1.0) / (std::pow(60.0, -n) - insulation.pi * std::pow(600.0, -n));
    const double leakMegohms = insulation.megohmsAt10Min * (1.0 + absorption * std::pow(600.0, -n));
    return leakMegohms / (1.0 + absorption * std::pow(seconds, -n));
}

// Highest insulation resistance the meter resolves at a test voltage.
double rangeLimitMegohms(int volts)
{
    return volts * 4.0e3;
}

double unitMegohms(double megohms)
{
    if (megohms >= 1.0e6)
        return 1.0e6;
    if (megohms >= 1.0e3)
        return 1.0e3;
    return 1.0;
}

// The meter shows three digits and cuts the rest off.
double threeDigits(double value)
{
    const double scale = value < 10.0 ? 100.0 : value < 100.0 ? 10.0 : 1.0;
    return std::floor(value * scale) / scale;
}

// A resistance as the meter shows it: three digits in MΩ, GΩ or TΩ, or beyond
// the range the range's limit, marked over range.
struct Shown
{
    double megohms = 0.0;
    bool overRange = false;
};

Shown shown(double megohms, int setVolts)
{
    const double limit = rangeLimitMegohms(setVolts);
    if (megohms > limit)
        return {limit, true};
    const double unit = unitMegohms(megohms);
    return {threeDigits(megohms / unit) * unit, false};
}

// The meter works its DAR and PI out from the readings it shows, to two
// decimals; with either reading beyond the range it has no ratio to give.
double meterRatio(const Shown &first, const Shown &second)
{
    if (first.overRange || second.overRange)
        return 0.0;
    return std::round(second.megohms / first.megohms * 100.0) / 100.0;
}

double meterRatio(const Insulation &insulation, int setVolts, int firstSeconds, int secondSeconds)
{
    return meterRatio(shown(megohmsAt(insulation, firstSeconds), setVolts),
                      shown(megohmsAt(insulation, secondSeconds), setVolts));
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

void setResistance(DMMDataIR &record, const Shown &reading)
{
    record.resistance = resistanceBox(reading.megohms);
    record.resistanceOverRange = reading.overRange;
}

void setSecondResistance(DMMDataPIDAR &record, const Shown &reading)
{
    record.resistance2 = resistanceBox(reading.megohms);
    record.resistance2OverRange = reading.overRange;
}

// Voltage, current and resistance of an insulation reading.
void setInsulation(DMMDataIR &record, int setVolts, int outVolts, double megohms)
{
    record.setVoltage = intBox(setVolts, QStringLiteral("V"));
    record.outputVoltage = intBox(outVolts, QStringLiteral("V"));
    setResistance(record, shown(megohms, setVolts));
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

// Elapsed seconds of a test's readings up to its end. The meter's clock runs
// far ahead of its frames, so that a ten-minute test passes in about twenty
// seconds; its steps are short early on, where the resistance climbs fastest,
// and fall on the marks DAR and PI are read at: 15 s, 30 s, 1 min and 10 min.
// After the first minute they are `lateStep` long.
QVector<int> readingSeconds(int endSeconds, int lateStep = 10)
{
    QVector<int> times;
    for (int seconds = 1; seconds < endSeconds; seconds += seconds < 5 ? 1 : seconds < 60 ? 5 : lateStep)
        times.append(seconds);
    times.append(endSeconds);
    return times;
}

// The same, after a reading of the meter waiting at 0 s for the start.
QVector<int> fromRest(const QVector<int> &times)
{
    return QVector<int>{0} + times;
}

// A test's readings at `times` (testing, but for a reading at rest at 0 s),
// then the meter's held result at the last of them, which it also keeps in
// its memory. `fill` sets a reading's fields for its elapsed seconds and can
// tell the held result by its testing flag.
template <typename Record, typename Fill>
void appendTest(QList<QByteArray> &live, QList<QByteArray> &stored, const QVector<int> &times, const Fill &fill)
{
    for (const int seconds : times) {
        Record reading;
        reading.testing = seconds > 0;
        fill(reading, seconds);
        live.append(FrameBuilder::liveFrame(reading));
    }
    Record held;
    held.testing = false;
    fill(held, times.last());
    live.append(FrameBuilder::liveFrame(held));
    stored.append(FrameBuilder::storedFrame(held));
}

// The PI test reads the resistance at one minute and at ten; their ratio is
// the index. The DAR test does the same at thirty seconds and one minute.
// While testing, the meter shows the present reading, and the second timing
// point's once it is reached; its result holds the readings at both points.
template <typename Record>
void addRatioTest(QList<QByteArray> &live, QList<QByteArray> &stored, int testVolts, const Insulation &insulation,
                  int firstSeconds, int secondSeconds, ValueBox Record::*ratioBox)
{
    const Shown first = shown(megohmsAt(insulation, firstSeconds), testVolts);
    const Shown second = shown(megohmsAt(insulation, secondSeconds), testVolts);
    const auto fill = [&](Record &record, int seconds) {
        record.elapsedTime = minutesSeconds(seconds);
        record.setTime = minutesSeconds(firstSeconds);
        record.setTime2 = minutesSeconds(secondSeconds);
        setInsulation(record, testVolts, outputVolts(testVolts, seconds), megohmsAt(insulation, seconds));
        if (seconds >= secondSeconds)
            setSecondResistance(record, second);
        if (!record.testing) {
            setResistance(record, first);
            record.*ratioBox = box(meterRatio(first, second));
        }
    };
    appendTest<Record>(live, stored, readingSeconds(secondSeconds), fill);
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
    const double dar = meterRatio(insulation, m_testVoltage, 30, 60);
    const double pi = meterRatio(insulation, m_testVoltage, 60, 600);
    const auto fill = [&](DMMDataIR &record, int seconds) {
        record.testTime = minutesSeconds(seconds);
        setInsulation(record, m_testVoltage, outputVolts(m_testVoltage, seconds), megohmsAt(insulation, seconds));
        if (seconds >= 60)
            record.dar = box(dar);
        if (seconds >= 600)
            record.pi = box(pi);
    };
    appendTest<DMMDataIR>(m_live, m_stored, fromRest(readingSeconds(irStopSeconds, irLateStep)), fill);
}

void DemoCycle::addTime()
{
    const Insulation &insulation = insulations[m_variant];
    const int setSeconds = 30 * (1 + m_variant % 3);
    // In one round of each cycle the user stops the test halfway.
    const int endSeconds = m_variant == interruptedRound ? setSeconds / 2 : setSeconds;
    const auto fill = [&](DMMDataTime &record, int seconds) {
        record.elapsedTime = minutesSeconds(seconds);
        record.setTime = minutesSeconds(setSeconds);
        setInsulation(record, m_testVoltage, outputVolts(m_testVoltage, seconds), megohmsAt(insulation, seconds));
    };
    appendTest<DMMDataTime>(m_live, m_stored, fromRest(readingSeconds(endSeconds)), fill);
}

void DemoCycle::addPI()
{
    addRatioTest(m_live, m_stored, m_testVoltage, insulations[m_variant], 60, 600, &DMMDataPI::piRatio);
}

void DemoCycle::addDAR()
{
    addRatioTest(m_live, m_stored, m_testVoltage, insulations[m_variant], 30, 60, &DMMDataDAR::darRatio);
}

void DemoCycle::addCOMP()
{
    static constexpr int limitsMegohms[variantCount] = {100, 200, 500, 1000, 2000};
    const Insulation &insulation = insulations[m_variant];
    const int limit = limitsMegohms[m_variant];
    // A sound cable that passes, then a damp motor winding that fails, each
    // charging like the round's insulation until the verdict.
    for (const double finalMegohms : {insulation.megohmsAt10Min, limit * 0.43}) {
        const double scale = finalMegohms / megohmsAt(insulation, compSeconds);
        const bool passes = shown(finalMegohms, m_testVoltage).megohms > limit;
        const auto fill = [&](DMMDataCOMP &record, int seconds) {
            setInsulation(record, m_testVoltage, outputVolts(m_testVoltage, seconds),
                          scale * megohmsAt(insulation, seconds));
            record.compareLimit = limit >= 1000 ? intBox(limit / 1000, QStringLiteral("GΩ"))
                                                : intBox(limit, QStringLiteral("MΩ"));
            if (!record.testing)
                record.result = passes ? 2 : 1;
        };
        appendTest<DMMDataCOMP>(m_live, m_stored, {2, 4, 6, 8, compSeconds}, fill);
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
        m_live.append(FrameBuilder::liveFrame(record));
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
        m_live.append(FrameBuilder::liveFrame(record));
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
        m_live.append(FrameBuilder::liveFrame(record));
    }
    DMMDataRES kept;
    kept.resistance = box(ohms[m_variant], QStringLiteral("Ω"));
    m_stored.append(FrameBuilder::storedFrame(kept));
}
