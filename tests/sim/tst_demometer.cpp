// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "meter/dmmdata.h"
#include "meter/mydmm.h"
#include "sim/demoscenario.h"
#include "sim/simulatedhid.h"

#include <QDir>
#include <QSet>
#include <QTest>
#include <QThread>

namespace {
const QString meterPath = QStringLiteral("/dev/hidraw-demo");
constexpr int waitMs = 10000;

int processThreadCount()
{
    return QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size();
}
} // namespace

class TestDemoMeter : public QObject
{
    Q_OBJECT

private slots:
    void reopenedMeterKeepsDeliveringEveryMode();
};

void TestDemoMeter::reopenedMeterKeepsDeliveringEveryMode()
{
    SimulatedHid::reset();
    DemoScenario::installMeter(meterPath, DemoScenario::Pace::Fast);
    const int threadsBefore = processThreadCount();

    MyDMM dmm;
    QSet<int> liveModes;
    QSet<int> storedModes;
    bool onGuiThread = true;
    connect(&dmm, &MyDMM::updateLiveData, this, [&](const QSharedPointer<DMMData> &record) {
        onGuiThread = onGuiThread && QThread::currentThread() == thread();
        liveModes.insert(record->mode);
    });
    connect(&dmm, &MyDMM::updateStoreData, this, [&](const QSharedPointer<DMMData> &record) {
        onGuiThread = onGuiThread && QThread::currentThread() == thread();
        storedModes.insert(record->mode);
    });

    for (int session = 0; session < 100; ++session) {
        liveModes.clear();
        storedModes.clear();
        QVERIFY2(dmm.open(meterPath), qPrintable(QString::number(session)));
        QTRY_VERIFY_WITH_TIMEOUT(liveModes.size() == DMMData::modeCount && storedModes.size() == DMMData::modeCount,
                                 waitMs);
        dmm.close();
        QVERIFY(!dmm.actived());
        QCOMPARE(SimulatedHid::openHandleCount(), 0);
    }
    QVERIFY(onGuiThread);
    // Finished threads may take a moment to leave the process's list.
    QTRY_COMPARE_WITH_TIMEOUT(processThreadCount(), threadsBefore, waitMs);
}

QTEST_GUILESS_MAIN(TestDemoMeter)
#include "tst_demometer.moc"
