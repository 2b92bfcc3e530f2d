// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "models/datamodel.h"
#include "support/modalscript.h"
#include "support/samplerecords.h"
#include "support/windowfixture.h"
#include "window/templatewindow.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <functional>

namespace {
// What the options dialog showed when it opened.
struct OptionsShown
{
    QString title;
    QStringList languages;
    QStringList languageData;
    QString language;
    bool infinite = false;
    bool pointsEnabled = false;
    int points = 0;
    int interval = 0;
    QString intervalSuffix;
    bool atTesttime = false;
};

using OptionsEdit = std::function<void(QDialog &)>;

template <class Widget>
Widget *child(QDialog &dialog, const char *name)
{
    return dialog.findChild<Widget *>(QLatin1String(name));
}

OptionsShown readOptions(QDialog &dialog)
{
    OptionsShown shown;
    shown.title = dialog.windowTitle();
    auto *languages = child<QComboBox>(dialog, "cbbLanguage");
    for (int i = 0; i < languages->count(); ++i) {
        shown.languages << languages->itemText(i);
        shown.languageData << languages->itemData(i).toString();
    }
    shown.language = languages->currentText();
    shown.infinite = child<QCheckBox>(dialog, "cbInfinite")->isChecked();
    shown.pointsEnabled = child<QSpinBox>(dialog, "spinSamplePoints")->isEnabled();
    shown.points = child<QSpinBox>(dialog, "spinSamplePoints")->value();
    shown.interval = child<QSpinBox>(dialog, "spinSampleInterval")->value();
    shown.intervalSuffix = child<QSpinBox>(dialog, "spinSampleInterval")->suffix();
    shown.atTesttime = child<QCheckBox>(dialog, "cbRecordAtTesttimg")->isChecked();
    return shown;
}

// Opens the options dialog, reports what it showed, applies `edit`, then
// presses OK or, with `accept` false, closes it as the Escape key does.
OptionsShown runOptions(const WindowFixture &fixture, const OptionsEdit &edit, bool accept = true)
{
    OptionsShown shown;
    ModalScript script;
    script.dialog("DlgOption", [&](QWidget *widget) {
        auto &dialog = static_cast<QDialog &>(*widget);
        shown = readOptions(dialog);
        if (edit)
            edit(dialog);
        if (accept)
            child<QPushButton>(dialog, "btnOK")->click();
        else
            dialog.reject();
    });
    fixture.find<QAction>("actionOptions")->trigger();
    return shown;
}

void setPoints(QDialog &dialog, bool infinite, int points)
{
    child<QCheckBox>(dialog, "cbInfinite")->setChecked(infinite);
    child<QSpinBox>(dialog, "spinSamplePoints")->setValue(points);
}

int liveRows(const WindowFixture &fixture)
{
    return fixture.liveModel()->rowCount(QModelIndex());
}
} // namespace

Q_DECLARE_METATYPE(OptionsEdit)

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void firstStartShowsDefaultsAndKeepsEnglish();
    void cancellingStillRewritesTheFile();
    void dialogShowsStoredValues_data();
    void dialogShowsStoredValues();
    void acceptingStoresTheEdits_data();
    void acceptingStoresTheEdits();
    void acceptedLimitsTakeEffectAtOnce();
    void acceptedIntervalRestartsTheTimer();
    void damagedValuesFallBackToDefaults_data();
    void damagedValuesFallBackToDefaults();
    void unreadableFileGivesDefaults();
    void settingsAndGeometrySurviveARestart();
};

void TestSettings::firstStartShowsDefaultsAndKeepsEnglish()
{
    WindowFixture fixture;
    QVERIFY(!QFile::exists("options.ini"));
    const OptionsShown shown = runOptions(fixture, nullptr);
    QCOMPARE(shown.title, QStringLiteral("Options"));
    QCOMPARE(shown.languages, (QStringList{"Chinese", "English"}));
    QCOMPARE(shown.languageData, (QStringList{"zh_CN", "en_US"}));
    QCOMPARE(shown.language, QStringLiteral("English"));
    QVERIFY(shown.infinite);
    QVERIFY(!shown.pointsEnabled);
    QCOMPARE(shown.points, 1);
    QCOMPARE(shown.interval, 0);
    QCOMPARE(shown.intervalSuffix, QStringLiteral(" ms"));
    QVERIFY(!shown.atTesttime);

    QCOMPARE(fixture.setting("Language").toString(), QStringLiteral("en_US"));
    QCOMPARE(fixture.setting("SamplePoints").toInt(), -1);
    QCOMPARE(fixture.setting("SampleInterval").toInt(), 0);
    QCOMPARE(fixture.setting("RecordAtTesttime").toBool(), false);
    QVERIFY(!fixture.setting("geometry").toByteArray().isEmpty());
}

void TestSettings::cancellingStillRewritesTheFile()
{
    WindowFixture fixture({{"SamplePoints", 7}});
    runOptions(fixture, [](QDialog &dialog) { setPoints(dialog, false, 99); }, false);
    QCOMPARE(fixture.setting("Language").toString(), QStringLiteral("0"));
    QCOMPARE(fixture.setting("SamplePoints").toInt(), 7);
    QCOMPARE(fixture.setting("SampleInterval").toInt(), 0);
    QVERIFY(!fixture.setting("geometry").toByteArray().isEmpty());
}

void TestSettings::dialogShowsStoredValues_data()
{
    QTest::addColumn<QVariantMap>("settings");
    QTest::addColumn<QString>("language");
    QTest::addColumn<bool>("infinite");
    QTest::addColumn<int>("points");
    QTest::addColumn<int>("interval");
    QTest::addColumn<bool>("atTesttime");

    QTest::newRow("Chinese") << QVariantMap{{"Language", "zh_CN"}} << "Chinese" << true << 1 << 0 << false;
    QTest::newRow("English") << QVariantMap{{"Language", "en_US"}} << "English" << true << 1 << 0 << false;
    QTest::newRow("unknown language is English")
        << QVariantMap{{"Language", "fr_FR"}} << "English" << true << 1 << 0 << false;
    QTest::newRow("limits and test time")
        << QVariantMap{{"SamplePoints", 250}, {"SampleInterval", 1500}, {"RecordAtTesttime", true}} << "English"
        << false << 250 << 1500 << true;
    QTest::newRow("most points the dialog takes")
        << QVariantMap{{"SamplePoints", 999999999}} << "English" << false << 999999999 << 0 << false;
}

void TestSettings::dialogShowsStoredValues()
{
    QFETCH(QVariantMap, settings);
    WindowFixture fixture(settings);
    const OptionsShown shown = runOptions(fixture, nullptr, false);
    QTEST(shown.language, "language");
    QTEST(shown.infinite, "infinite");
    QCOMPARE(shown.pointsEnabled, !shown.infinite);
    QTEST(shown.points, "points");
    QTEST(shown.interval, "interval");
    QTEST(shown.atTesttime, "atTesttime");
}

void TestSettings::acceptingStoresTheEdits_data()
{
    QTest::addColumn<QVariantMap>("settings");
    QTest::addColumn<OptionsEdit>("edit");
    QTest::addColumn<QVariantMap>("stored");

    QTest::newRow("zero points accepted as no limit")
        << QVariantMap{{"SamplePoints", 0}} << OptionsEdit() << QVariantMap{{"SamplePoints", -1}};
    QTest::newRow("unchecking Infinite stores the points")
        << QVariantMap() << OptionsEdit([](QDialog &d) { setPoints(d, false, 42); })
        << QVariantMap{{"SamplePoints", 42}};
    QTest::newRow("checking Infinite stores no limit")
        << QVariantMap{{"SamplePoints", 42}} << OptionsEdit([](QDialog &d) { setPoints(d, true, 42); })
        << QVariantMap{{"SamplePoints", -1}};
    QTest::newRow("Chinese chosen")
        << QVariantMap{{"Language", "en_US"}}
        << OptionsEdit([](QDialog &d) { child<QComboBox>(d, "cbbLanguage")->setCurrentIndex(0); })
        << QVariantMap{{"Language", "zh_CN"}};
    QTest::newRow("interval and test time")
        << QVariantMap() << OptionsEdit([](QDialog &d) {
               child<QSpinBox>(d, "spinSampleInterval")->setValue(250);
               child<QCheckBox>(d, "cbRecordAtTesttimg")->setChecked(true);
           })
        << QVariantMap{{"SampleInterval", 250}, {"RecordAtTesttime", true}};
}

void TestSettings::acceptingStoresTheEdits()
{
    QFETCH(QVariantMap, settings);
    QFETCH(OptionsEdit, edit);
    QFETCH(QVariantMap, stored);
    WindowFixture fixture(settings);
    const OptionsShown shown = runOptions(fixture, edit);
    QVERIFY(!shown.title.isEmpty());
    for (auto it = stored.cbegin(); it != stored.cend(); ++it)
        QCOMPARE(fixture.setting(it.key()).toString(), it.value().toString());
}

void TestSettings::acceptedLimitsTakeEffectAtOnce()
{
    WindowFixture fixture;
    runOptions(fixture, [](QDialog &d) {
        setPoints(d, false, 2);
        child<QCheckBox>(d, "cbRecordAtTesttimg")->setChecked(true);
    });
    for (int i = 0; i < 4; ++i) {
        auto reading = SampleRecords::irAt(i, 10);
        reading->testing = true;
        fixture.live(reading);
    }
    QCOMPARE(liveRows(fixture), 2);
}

// An hour-long interval holds every reading back until the dialog sets a
// short one, whose ticks then let readings through; 0 stops the timer.
void TestSettings::acceptedIntervalRestartsTheTimer()
{
    WindowFixture fixture({{"SampleInterval", 3600000}});
    fixture.live(SampleRecords::irAt(0, 10));
    QCOMPARE(liveRows(fixture), 0);

    runOptions(fixture, [](QDialog &d) { child<QSpinBox>(d, "spinSampleInterval")->setValue(20); });
    int fed = 0;
    QTRY_VERIFY_WITH_TIMEOUT((fixture.live(SampleRecords::irAt(++fed, 10)), liveRows(fixture) == 1), 10000);

    runOptions(fixture, [](QDialog &d) { child<QSpinBox>(d, "spinSampleInterval")->setValue(0); });
    fixture.live(SampleRecords::irAt(++fed, 10));
    fixture.live(SampleRecords::irAt(++fed, 10));
    QCOMPARE(liveRows(fixture), 3);
}

void TestSettings::damagedValuesFallBackToDefaults_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("rowsRecorded");
    QTest::addColumn<bool>("infinite");
    QTest::addColumn<int>("interval");
    QTest::addColumn<bool>("atTesttime");

    QTest::newRow("binary junk") << QByteArray("\x00\xff\x13[\x01=\x02\n\xfe\xfd", 10) << 3 << true << 0 << false;
    QTest::newRow("words for numbers")
        << QByteArray("[General]\nSamplePoints=many\nSampleInterval=soon\nRecordAtTesttime=perhaps\n") << 3 << true
        << 0 << false;
    QTest::newRow("numbers beyond int")
        << QByteArray("[General]\nSamplePoints=99999999999999\nSampleInterval=-99999999999999\n") << 3 << true
        << 0 << false;
    QTest::newRow("damaged geometry") << QByteArray("[General]\ngeometry=@ByteArray(\\x1\\x2junk)\n") << 3 << true
                                      << 0 << false;
    // Values the dialog could not have written would silently stop every
    // reading from being recorded; the dialog shows what is in effect.
    QTest::newRow("no sample points") << QByteArray("[General]\nSamplePoints=0\n") << 3 << true << 0 << false;
    QTest::newRow("points below no limit") << QByteArray("[General]\nSamplePoints=-20\n") << 3 << true << 0 << false;
    QTest::newRow("points beyond the dialog") << QByteArray("[General]\nSamplePoints=2000000000\n") << 3 << true
                                              << 0 << false;
    QTest::newRow("negative interval") << QByteArray("[General]\nSampleInterval=-5\n") << 3 << true << 0 << false;
    QTest::newRow("test time as a number")
        << QByteArray("[General]\nRecordAtTesttime=1\nSampleInterval=0\n") << 0 << true << 0 << true;
}

// A damaged file must neither stop the program nor silently stop recording.
void TestSettings::damagedValuesFallBackToDefaults()
{
    QFETCH(QByteArray, file);
    QFETCH(int, rowsRecorded);
    WindowFixture fixture;
    fixture.restartOn(file);
    for (int i = 0; i < 3; ++i)
        fixture.live(SampleRecords::irAt(i, 10));
    QCOMPARE(liveRows(fixture), rowsRecorded);
    const OptionsShown shown = runOptions(fixture, nullptr, false);
    QTEST(shown.infinite, "infinite");
    QTEST(shown.interval, "interval");
    QTEST(shown.atTesttime, "atTesttime");
}

void TestSettings::unreadableFileGivesDefaults()
{
    WindowFixture fixture;
    QFile options(QStringLiteral("options.ini"));
    QVERIFY(options.open(QIODevice::WriteOnly));
    options.write("[General]\nSamplePoints=1\n");
    options.close();
    QVERIFY(options.setPermissions(QFileDevice::Permissions()));
    if (options.open(QIODevice::ReadOnly))
        QSKIP("permissions do not stop this user from reading (root)");

    fixture.restartOn(QByteArray()); // cannot write either: the file stays as it is
    for (int i = 0; i < 3; ++i)
        fixture.live(SampleRecords::irAt(i, 10));
    QCOMPARE(liveRows(fixture), 3);
    QVERIFY(runOptions(fixture, nullptr, false).infinite);
}

void TestSettings::settingsAndGeometrySurviveARestart()
{
    WindowFixture fixture;
    QVERIFY(fixture.show());
    fixture.window().setGeometry(40, 50, 900, 640);
    runOptions(fixture, [](QDialog &d) {
        setPoints(d, false, 12);
        child<QSpinBox>(d, "spinSampleInterval")->setValue(500);
        child<QCheckBox>(d, "cbRecordAtTesttimg")->setChecked(true);
        child<QComboBox>(d, "cbbLanguage")->setCurrentIndex(1);
    });
    const QSize size = fixture.window().size();
    fixture.restart();
    QCOMPARE(fixture.window().size(), size);
    const OptionsShown shown = runOptions(fixture, nullptr, false);
    QCOMPARE(shown.language, QStringLiteral("English"));
    QVERIFY(!shown.infinite);
    QCOMPARE(shown.points, 12);
    QCOMPARE(shown.interval, 500);
    QVERIFY(shown.atTesttime);
}

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
