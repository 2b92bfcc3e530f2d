// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "meter/dmmdata.h"
#include "meter/mydmm.h"
#include "models/datamodel.h"
#include "sim/framebuilder.h"
#include "sim/simulatedhid.h"
#include "support/windowfixture.h"

#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {
const QString meterPath = QStringLiteral("/dev/hidraw-sim0");
constexpr int waitMs = 10000;

// Live VOLT frames of 101 V, 102 V and so on, from `first` on.
QByteArray liveVoltFrames(int first, int count)
{
    QByteArray stream;
    for (int volts = first; volts < first + count; ++volts) {
        DMMDataVOLT record;
        record.voltage.value = 100 + volts;
        record.voltage.unit = QStringLiteral("V");
        record.acdc = QStringLiteral("AC");
        stream += FrameBuilder::liveFrame(record);
    }
    return stream;
}

// What the window showed when its error message came up.
struct ErrorSeen
{
    QString text;
    bool startChecked = true;
};

// Confirms the next message box and notes its text and the Start action.
void confirmNextMessageBox(const QAction *start, ErrorSeen *seen)
{
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, start, seen] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen->text = box->text();
        seen->startChecked = start->isChecked();
        box->button(QMessageBox::Ok)->click();
        poll->deleteLater();
    });
    poll->start(10);
}
} // namespace

// The window's side of a meter that is unplugged while it records.
class TestUnplug : public QObject
{
    Q_OBJECT

private slots:
    void unplugIsReportedRecordsStayAndStartWorksAgain();
};

void TestUnplug::unplugIsReportedRecordsStayAndStartWorksAgain()
{
    SimulatedHid::reset();
    SimulatedHid::addDevice(VirtualHidDevice::meter(meterPath));
    WindowFixture fixture;
    auto *start = fixture.find<QAction>(QStringLiteral("actionStart"));
    QVERIFY(SimulatedHid::queueStream(meterPath, liveVoltFrames(1, 3)));
    start->trigger();
    QVERIFY(start->isChecked());
    QTRY_COMPARE_WITH_TIMEOUT(fixture.liveModel()->rowCount(QModelIndex()), 3, waitMs);

    ErrorSeen seen;
    confirmNextMessageBox(start, &seen);
    QVERIFY(SimulatedHid::unplug(meterPath));

    QTRY_VERIFY_WITH_TIMEOUT(!seen.text.isEmpty(), waitMs);
    QCOMPARE(seen.text, QStringLiteral("Data communication error.The equipment may have been disconnected."));
    QVERIFY(!seen.startChecked);
    QVERIFY(!fixture.meter()->actived());
    QCOMPARE(fixture.liveModel()->rowCount(QModelIndex()), 3);
    QCOMPARE(fixture.values(), (QVector<double>{101, 102, 103}));

    // Plugged in again, Start takes up where the records left off.
    SimulatedHid::addDevice(VirtualHidDevice::meter(meterPath));
    QVERIFY(SimulatedHid::queueStream(meterPath, liveVoltFrames(4, 1)));
    start->trigger();
    QVERIFY(start->isChecked());
    QTRY_COMPARE_WITH_TIMEOUT(fixture.liveModel()->rowCount(QModelIndex()), 4, waitMs);
    QCOMPARE(fixture.values(), (QVector<double>{101, 102, 103, 104}));
    start->trigger();
    QVERIFY(!fixture.meter()->actived());
}

QTEST_MAIN(TestUnplug)
#include "tst_unplug.moc"
