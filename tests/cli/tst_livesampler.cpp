// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "cli/livesampler.h"
#include "meter/dmmdata.h"

#include <QTest>

namespace {
// A script of events: 'r' a reading taken during a test, 'n' one taken
// outside a test, 'v' a voltage reading outside a test, 't' an interval tick.
// The result has one character per reading: '1' written, '0' left out.
QString play(LiveSampler &sampler, const QString &script)
{
    QString written;
    for (const QChar event : script) {
        if (event == QLatin1Char('t')) {
            sampler.tick();
            continue;
        }
        DMMDataIR reading;
        DMMDataVOLT voltage;
        DMMData &record = event == QLatin1Char('v') ? static_cast<DMMData &>(voltage) : reading;
        reading.mode = DMMData::dmIR;
        reading.testing = event == QLatin1Char('r');
        voltage.mode = DMMData::dmVOLT;
        voltage.testing = false;
        written += sampler.accept(record) ? QLatin1Char('1') : QLatin1Char('0');
    }
    return written;
}
} // namespace

class TestLiveSampler : public QObject
{
    Q_OBJECT

private slots:
    void rulesDecideWhichReadingsAreWritten_data();
    void rulesDecideWhichReadingsAreWritten();
};

void TestLiveSampler::rulesDecideWhichReadingsAreWritten_data()
{
    QTest::addColumn<int>("samples");
    QTest::addColumn<int>("intervalMs");
    QTest::addColumn<bool>("testTimeOnly");
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("written");
    QTest::addColumn<bool>("limitReached");

    QTest::newRow("no rules: every reading") << -1 << 0 << false << "rnvrn" << "11111" << false;
    QTest::newRow("limit: stops at the count") << 2 << 0 << false << "rnrr" << "1100" << true;
    QTest::newRow("limit not yet reached") << 3 << 0 << false << "rn" << "11" << false;
    QTest::newRow("interval: first reading at once, then one per tick")
        << -1 << 1000 << false << "rrtrrttr" << "10101" << false;
    QTest::newRow("interval: ticks do not add up") << -1 << 1000 << false << "rtttrr" << "110" << false;
    QTest::newRow("test time only: voltage readings always") << -1 << 0 << true << "nvrn" << "0110" << false;
    QTest::newRow("test time only: a dropped reading leaves the tick")
        << -1 << 1000 << true << "rtnnr" << "1001" << false;
    QTest::newRow("limit counts written readings only") << 2 << 0 << true << "nrnnr" << "01001" << true;
    QTest::newRow("limit with interval") << 2 << 1000 << false << "rtrtr" << "110" << true;
}

void TestLiveSampler::rulesDecideWhichReadingsAreWritten()
{
    QFETCH(int, samples);
    QFETCH(int, intervalMs);
    QFETCH(bool, testTimeOnly);
    QFETCH(QString, script);
    QFETCH(QString, written);
    QFETCH(bool, limitReached);

    LiveSampler::Rules rules;
    rules.samples = samples;
    rules.intervalMs = intervalMs;
    rules.testTimeOnly = testTimeOnly;
    LiveSampler sampler(rules);
    sampler.start();

    QCOMPARE(play(sampler, script), written);
    QCOMPARE(sampler.limitReached(), limitReached);
    QCOMPARE(sampler.accepted(), written.count(QLatin1Char('1')));
}

QTEST_GUILESS_MAIN(TestLiveSampler)
#include "tst_livesampler.moc"
