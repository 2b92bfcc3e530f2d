// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "meter/mydmm.h"
#include "models/datamodel.h"
#include "sim/framebuilder.h"
#include "sim/simulatedhid.h"
#include "sim/virtualhiddevice.h"
#include "support/csvtext.h"
#include "support/modalscript.h"
#include "support/samplerecords.h"
#include "support/windowfixture.h"
#include "window/templatewindow.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

#include <qcustomplot.h>

namespace {
const QString meterPath = QStringLiteral("/dev/hidraw-session");

QByteArray liveIrFrames(int count)
{
    QByteArray stream;
    for (int i = 0; i < count; ++i)
        stream += FrameBuilder::liveFrame(*SampleRecords::irAt(i, 100 + i));
    return stream;
}

int rows(const DataModel *model)
{
    return model->rowCount(QModelIndex());
}
} // namespace

// A technician's session: the meter streams readings of two modes and a
// download from its memory, the tables are exported, the window is closed and
// started again with the options chosen in the first run.
class TestSession : public QObject
{
    Q_OBJECT

private slots:
    void recordSwitchExportCloseAndRestart();
};

void TestSession::recordSwitchExportCloseAndRestart()
{
    SimulatedHid::reset();
    SimulatedHid::addDevice(VirtualHidDevice::meter(meterPath));
    WindowFixture fixture;
    QVERIFY(fixture.show());

    ModalScript options;
    options.dialog("DlgOption", [](QWidget *dialog) {
        dialog->findChild<QCheckBox *>("cbInfinite")->setChecked(false);
        dialog->findChild<QSpinBox *>("spinSamplePoints")->setValue(4);
        dialog->findChild<QPushButton *>("btnOK")->click();
    });
    fixture.find<QAction>("actionOptions")->trigger();
    QVERIFY(options.finished());

    auto *start = fixture.find<QAction>("actionStart");
    start->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(start->isChecked(), 10000);

    QVERIFY(SimulatedHid::queueStream(meterPath, liveIrFrames(6)));
    QTRY_COMPARE_WITH_TIMEOUT(fixture.label("lcdMain")->text().isEmpty(), false, 10000);
    QTRY_COMPARE_WITH_TIMEOUT(rows(fixture.liveModel()), 4, 10000);
    const DataModel *liveIr = fixture.liveModel();

    ModalScript clear;
    clear.messageBox(QMessageBox::Yes);
    fixture.find<QAction>("actionClear")->trigger();
    QVERIFY(SimulatedHid::queueStream(meterPath, FrameBuilder::liveFrame(*SampleRecords::volt())));
    QTRY_COMPARE_WITH_TIMEOUT(fixture.graph()->name(), QStringLiteral("VOLT"), 10000);
    QCOMPARE(rows(fixture.liveModel()), 1);
    QCOMPARE(fixture.graph()->dataCount(), 1);
    QCOMPARE(rows(liveIr), 0);

    ModalScript liveExport;
    liveExport.fileDialog(fixture.dir().filePath("live.csv"));
    liveExport.messageBox(QMessageBox::No);
    fixture.find<QAction>("actionExport")->trigger();
    QVERIFY(liveExport.finished());
    QCOMPARE(CsvText::readFile(fixture.dir().filePath("live.csv")).size(), 2);

    QByteArray download;
    for (int i = 0; i < 3; ++i)
        download += FrameBuilder::storedFrame(*SampleRecords::dar());
    QVERIFY(SimulatedHid::queueStream(meterPath, download));
    QTRY_COMPARE_WITH_TIMEOUT(fixture.tables()->currentIndex(), 1, 10000);
    QTRY_COMPARE_WITH_TIMEOUT(rows(fixture.storedModel()), 3, 10000);
    QCOMPARE(fixture.graph()->name(), QStringLiteral("DAR"));
    QVERIFY(fixture.find<QPushButton>("btnStoredDAR")->isChecked());

    ModalScript storedExport;
    storedExport.fileDialog(fixture.dir().filePath("stored.csv"));
    storedExport.messageBox(QMessageBox::No);
    fixture.find<QAction>("actionExport")->trigger();
    QVERIFY(storedExport.finished());
    const QList<QStringList> stored = CsvText::readFile(fixture.dir().filePath("stored.csv"));
    QCOMPARE(stored.size(), 4);
    QCOMPARE(stored.at(1).at(2), QStringLiteral("DAR"));

    fixture.restart();
    QCOMPARE(SimulatedHid::openHandleCount(), 0);
    QCOMPARE(fixture.setting("SamplePoints").toInt(), 4);
    QVERIFY(!fixture.find<QAction>("actionStart")->isCheckable());

    // The limit chosen in the first run holds in the second.
    start = fixture.find<QAction>("actionStart");
    start->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(start->isChecked(), 10000);
    QSignalSpy readings(fixture.meter(), &MyDMM::updateLiveData);
    QVERIFY(SimulatedHid::queueStream(meterPath, liveIrFrames(6)));
    QTRY_COMPARE_WITH_TIMEOUT(readings.count(), 6, 10000);
    QCOMPARE(rows(fixture.liveModel()), 4);
}

QTEST_MAIN(TestSession)
#include "tst_session.moc"
