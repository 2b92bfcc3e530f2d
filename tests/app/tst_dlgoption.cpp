// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "app/dlgoption.h"
#include "ui_dlgoption.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>

class TestDlgOption : public QObject
{
    Q_OBJECT

private slots:
    void formPlacesWidgets_data();
    void formPlacesWidgets();
    void spinBoxesHaveTheirRanges();
    void infiniteDisablesSamplePoints();
    void okAcceptsCancelAndEscapeReject();
    void tabOrderFollowsTheForm();
};

void TestDlgOption::formPlacesWidgets_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("columnSpan");
    QTest::addColumn<QString>("text");

    QTest::newRow("label_3") << "label_3" << 0 << 0 << 1 << "Language";
    QTest::newRow("cbbLanguage") << "cbbLanguage" << 0 << 1 << 1 << QString();
    QTest::newRow("label") << "label" << 1 << 0 << 1 << "Sample Points";
    QTest::newRow("spinSamplePoints") << "spinSamplePoints" << 1 << 1 << 1 << QString();
    QTest::newRow("cbInfinite") << "cbInfinite" << 1 << 2 << 1 << "Infinite";
    QTest::newRow("label_2") << "label_2" << 2 << 0 << 1 << "Sample Interval";
    QTest::newRow("spinSampleInterval") << "spinSampleInterval" << 2 << 1 << 1 << QString();
    QTest::newRow("cbRecordAtTesttimg") << "cbRecordAtTesttimg" << 3 << 0 << 2 << "Record data only at test time";
    QTest::newRow("btnSyncServer") << "btnSyncServer" << 4 << 0 << 1 << "Team server…";
    QTest::newRow("btnCancel") << "btnCancel" << 4 << 1 << 1 << "Cancel";
    QTest::newRow("btnOK") << "btnOK" << 4 << 2 << 1 << "OK";
}

void TestDlgOption::formPlacesWidgets()
{
    QFETCH(QString, name);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(int, columnSpan);
    QFETCH(QString, text);

    DlgOption dialog;
    QCOMPARE(dialog.objectName(), QStringLiteral("DlgOption"));
    QCOMPARE(dialog.size(), QSize(300, 150));
    auto *grid = dialog.findChild<QGridLayout *>(QStringLiteral("gridLayout"));
    QVERIFY(grid);
    QWidget *widget = dialog.findChild<QWidget *>(name);
    QVERIFY(widget);

    int r = -1, c = -1, rs = 0, cs = 0;
    grid->getItemPosition(grid->indexOf(widget), &r, &c, &rs, &cs);
    QCOMPARE(r, row);
    QCOMPARE(c, column);
    QCOMPARE(cs, columnSpan);
    if (!text.isEmpty())
        QCOMPARE(widget->property("text").toString(), text);
}

void TestDlgOption::spinBoxesHaveTheirRanges()
{
    DlgOption dialog;
    QCOMPARE(dialog.ui->spinSamplePoints->minimum(), 1);
    QCOMPARE(dialog.ui->spinSamplePoints->maximum(), 999999999);
    QCOMPARE(dialog.ui->spinSampleInterval->minimum(), 0);
    QCOMPARE(dialog.ui->spinSampleInterval->maximum(), 999999999);
    QCOMPARE(dialog.ui->spinSampleInterval->suffix(), QStringLiteral(" ms"));
    QVERIFY(dialog.ui->spinSampleInterval->prefix().isEmpty());
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Dialog"));
}

void TestDlgOption::infiniteDisablesSamplePoints()
{
    DlgOption dialog;
    QVERIFY(dialog.ui->spinSamplePoints->isEnabled());
    dialog.ui->cbInfinite->setChecked(true);
    QVERIFY(!dialog.ui->spinSamplePoints->isEnabled());
    dialog.ui->cbInfinite->setChecked(false);
    QVERIFY(dialog.ui->spinSamplePoints->isEnabled());
}

// Cancel, like Escape, leaves the options as they were.
void TestDlgOption::okAcceptsCancelAndEscapeReject()
{
    DlgOption accepted;
    QSignalSpy acceptSpy(&accepted, &QDialog::accepted);
    accepted.show();
    QTest::mouseClick(accepted.ui->btnOK, Qt::LeftButton);
    QCOMPARE(acceptSpy.count(), 1);
    QCOMPARE(accepted.result(), int(QDialog::Accepted));

    DlgOption rejected;
    QSignalSpy rejectSpy(&rejected, &QDialog::rejected);
    rejected.show();
    QTest::keyClick(&rejected, Qt::Key_Escape);
    QCOMPARE(rejectSpy.count(), 1);
    QCOMPARE(rejected.result(), int(QDialog::Rejected));

    DlgOption cancelled;
    QSignalSpy cancelSpy(&cancelled, &QDialog::rejected);
    cancelled.show();
    QTest::mouseClick(cancelled.ui->btnCancel, Qt::LeftButton);
    QCOMPARE(cancelSpy.count(), 1);
    QCOMPARE(cancelled.result(), int(QDialog::Rejected));
}

void TestDlgOption::tabOrderFollowsTheForm()
{
    DlgOption dialog;
    const QList<QWidget *> expected{dialog.ui->cbbLanguage, dialog.ui->spinSamplePoints, dialog.ui->cbInfinite,
                                    dialog.ui->spinSampleInterval, dialog.ui->btnSyncServer, dialog.ui->btnOK,
                                    dialog.ui->btnCancel};
    QList<QWidget *> visited;
    QWidget *widget = expected.first();
    do {
        if (expected.contains(widget) && !visited.contains(widget))
            visited << widget;
        widget = widget->nextInFocusChain();
    } while (widget != expected.first());
    QCOMPARE(visited, expected);
}

QTEST_MAIN(TestDlgOption)
#include "tst_dlgoption.moc"
