// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "app/getlanguage.h"
#include "app/languageinstaller.h"
#include "app/proglobal.h"
#include "support/tempworkdir.h"
#include "testpaths.h"
#include "window/templatewindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QSettings>
#include <QTest>
#include <QThread>
#include <QTranslator>

#include <vector>

namespace {
void writeLanguage(const QString &dir, const QVariant &language)
{
    QSettings settings(QDir(dir).filePath(QStringLiteral("options.ini")), QSettings::IniFormat);
    settings.setValue(QStringLiteral("Language"), language);
}

// qt_zh_CN.qm only names the module catalogues beside it, which must come along.
void copyToolkitCatalogue(const QString &dir)
{
    const QDir source(QStringLiteral("/usr/share/qt5/translations"));
    QDir target(dir);
    target.mkpath(QStringLiteral("translations"));
    target.cd(QStringLiteral("translations"));
    for (const QString &name : source.entryList({QStringLiteral("qt*_zh_CN.qm")}, QDir::Files))
        QFile::copy(source.filePath(name), target.filePath(name));
}
} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void languageIsReadFromWorkingDirectory_data();
    void languageIsReadFromWorkingDirectory();
    void otherWorkingDirectoryReadsItsOwnFile();
    void damagedFileReadsAsNoLanguage_data();
    void damagedFileReadsAsNoLanguage();
    void onlyExactChineseCodeSelectsChinese_data();
    void onlyExactChineseCodeSelectsChinese();
    void chineseWithoutCataloguesKeepsEnglishTexts();
    void chineseInstallsTheCataloguesThatLoad();
    void truncatedCatalogueKeepsEnglish_data();
    void truncatedCatalogueKeepsEnglish();
    void singletonIsCreatedOnceAcrossThreads();
    void identityFieldsStartEmptyAndKeepWhatIsSet();
    void windowTitleShowsNameAndVersion();
};

void TestStartup::cleanup()
{
    QLocale::setDefault(QLocale::system());
}

void TestStartup::languageIsReadFromWorkingDirectory_data()
{
    QTest::addColumn<bool>("writeFile");
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QString>("expected");

    QTest::newRow("no options.ini") << false << QVariant() << QString();
    QTest::newRow("file without key") << true << QVariant() << QString();
    QTest::newRow("en_US") << true << QVariant(QStringLiteral("en_US")) << QStringLiteral("en_US");
    QTest::newRow("zh_CN") << true << QVariant(QStringLiteral("zh_CN")) << QStringLiteral("zh_CN");
    QTest::newRow("int 0 reads as text") << true << QVariant(0) << QStringLiteral("0");
}

void TestStartup::languageIsReadFromWorkingDirectory()
{
    QFETCH(bool, writeFile);
    QFETCH(QVariant, stored);
    QFETCH(QString, expected);

    TempWorkDir dir;
    QVERIFY(dir.isValid());
    if (writeFile) {
        QSettings settings(dir.filePath(QStringLiteral("options.ini")), QSettings::IniFormat);
        settings.setValue(QStringLiteral("SamplePoints"), 5);
        if (stored.isValid())
            settings.setValue(QStringLiteral("Language"), stored);
    }
    QCOMPARE(getLanguage(), expected);
}

void TestStartup::otherWorkingDirectoryReadsItsOwnFile()
{
    QTemporaryDir other;
    QVERIFY(other.isValid());
    writeLanguage(other.path(), QStringLiteral("en_US"));

    TempWorkDir dir;
    writeLanguage(dir.path(), QStringLiteral("zh_CN"));
    QCOMPARE(getLanguage(), QStringLiteral("zh_CN"));

    QDir::setCurrent(other.path());
    QCOMPARE(getLanguage(), QStringLiteral("en_US"));
}

void TestStartup::damagedFileReadsAsNoLanguage_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("unreadable");

    QTest::newRow("binary junk") << QByteArray("\x00\xff\x13[\x01=\x02\nLanguage\xfe\xfd", 15) << false;
    QTest::newRow("a list for the language") << QByteArray("[General]\nLanguage=zh_CN, en_US\n") << false;
    QTest::newRow("unreadable") << QByteArray("[General]\nLanguage=zh_CN\n") << true;
}

// Whatever the file holds, start-up goes on, in English.
void TestStartup::damagedFileReadsAsNoLanguage()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, unreadable);

    TempWorkDir dir;
    QFile options(dir.filePath(QStringLiteral("options.ini")));
    QVERIFY(options.open(QIODevice::WriteOnly));
    options.write(file);
    options.close();
    if (unreadable) {
        QVERIFY(options.setPermissions(QFileDevice::Permissions()));
        if (options.open(QIODevice::ReadOnly))
            QSKIP("permissions do not stop this user from reading (root)");
    }

    QVERIFY(getLanguage() != QStringLiteral("zh_CN"));
}

void TestStartup::onlyExactChineseCodeSelectsChinese_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("chinese");

    QTest::newRow("empty") << QString() << false;
    QTest::newRow("en_US") << QStringLiteral("en_US") << false;
    QTest::newRow("lower case zh_cn") << QStringLiteral("zh_cn") << false;
    QTest::newRow("stored default 0") << QStringLiteral("0") << false;
    QTest::newRow("zh_CN") << QStringLiteral("zh_CN") << true;
}

void TestStartup::onlyExactChineseCodeSelectsChinese()
{
    QFETCH(QString, code);
    QFETCH(bool, chinese);

    TempWorkDir dir;
    copyToolkitCatalogue(dir.path());
    const QLocale before;
    QTranslator own;
    QTranslator toolkit;

    QCOMPARE(installLanguage(*qApp, code, own, toolkit), chinese);
    if (chinese) {
        QCOMPARE(QLocale().language(), QLocale::Chinese);
        QCOMPARE(QLocale().country(), QLocale::China);
    } else {
        QCOMPARE(QLocale(), before);
        QVERIFY(toolkit.isEmpty());
    }
    QVERIFY(own.isEmpty());
}

void TestStartup::chineseWithoutCataloguesKeepsEnglishTexts()
{
    TempWorkDir dir;
    QTranslator own;
    QTranslator toolkit;

    QVERIFY(installLanguage(*qApp, QStringLiteral("zh_CN"), own, toolkit));
    QCOMPARE(QLocale().language(), QLocale::Chinese);
    QVERIFY(own.isEmpty());
    QVERIFY(toolkit.isEmpty());
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
    // ...and says so, naming the file it looked for.
    const QString notice = missingLanguageNotice(QStringLiteral("zh_CN"), own);
    QVERIFY2(notice.contains(QDir(dir.path()).absoluteFilePath(QStringLiteral("zh_CN.qm"))), qPrintable(notice));
    QVERIFY(missingLanguageNotice(QStringLiteral("en_US"), own).isEmpty());
}

void TestStartup::chineseInstallsTheCataloguesThatLoad()
{
    if (!QFile::exists(QStringLiteral("/usr/share/qt5/translations/qt_zh_CN.qm")))
        QFAIL("the toolkit's Chinese catalogue (qttranslations5-l10n) is not installed");

    TempWorkDir dir;
    copyToolkitCatalogue(dir.path());
    QTranslator own;
    QTranslator toolkit;

    QVERIFY(installLanguage(*qApp, QStringLiteral("zh_CN"), own, toolkit));
    QVERIFY(own.isEmpty()); // no zh_CN.qm here: our texts stay English
    QVERIFY(!toolkit.isEmpty());
    QVERIFY(QCoreApplication::translate("QPlatformTheme", "Cancel") != QStringLiteral("Cancel"));
    QCoreApplication::removeTranslator(&toolkit);
}

void TestStartup::truncatedCatalogueKeepsEnglish_data()
{
    QTest::addColumn<QByteArray>("catalogue");

    QFile built(QDir(QStringLiteral(TESSRA_BUILD_DIR)).filePath(QStringLiteral("zh_CN.qm")));
    QVERIFY(built.open(QIODevice::ReadOnly));
    const QByteArray whole = built.readAll();
    QVERIFY(whole.size() > 1000);

    QTest::newRow("empty") << QByteArray();
    QTest::newRow("magic number only") << whole.left(16);
    QTest::newRow("cut in the first block") << whole.left(40);
    QTest::newRow("half") << whole.left(whole.size() / 2);
    QTest::newRow("all but the last byte") << whole.chopped(1);
}

// A catalogue cut short (a broken copy, a full disk) is not taken: the
// program starts in English instead of crashing or showing half a language.
void TestStartup::truncatedCatalogueKeepsEnglish()
{
    QFETCH(QByteArray, catalogue);
    TempWorkDir dir;
    QFile cut(dir.filePath(QStringLiteral("zh_CN.qm")));
    QVERIFY(cut.open(QIODevice::WriteOnly));
    cut.write(catalogue);
    cut.close();
    QTranslator own;
    QTranslator toolkit;

    QVERIFY(installLanguage(*qApp, QStringLiteral("zh_CN"), own, toolkit));
    QVERIFY(own.isEmpty());
    const char *text = "Data communication error.The equipment may have been disconnected.";
    QCOMPARE(QCoreApplication::translate("TemplateWindow", text), QString::fromLatin1(text));
    QCoreApplication::removeTranslator(&own);
}

void TestStartup::singletonIsCreatedOnceAcrossThreads()
{
    std::vector<ProGlobal *> seen(8, nullptr);
    std::vector<QThread *> threads;
    for (std::size_t i = 0; i < seen.size(); ++i)
        threads.push_back(QThread::create([&seen, i] { seen[i] = ProGlobal::instance(); }));
    for (QThread *thread : threads)
        thread->start();
    for (QThread *thread : threads) {
        QVERIFY(thread->wait(30000));
        delete thread;
    }
    for (ProGlobal *instance : seen)
        QCOMPARE(instance, ProGlobal::instance());
    QVERIFY(ProGlobal::instance()->parent() == nullptr);
}

void TestStartup::identityFieldsStartEmptyAndKeepWhatIsSet()
{
    ProGlobal identity;
    QVERIFY(identity.appName().isEmpty());
    QVERIFY(identity.appTitle().isEmpty());
    QVERIFY(identity.appVersion().isEmpty());

    identity.setAppName(QStringLiteral("Tessra"));
    identity.setAppTitle(QStringLiteral("Title"));
    identity.setAppVersion(QStringLiteral("1.00"));
    QCOMPARE(identity.appName(), QStringLiteral("Tessra"));
    QCOMPARE(identity.appTitle(), QStringLiteral("Title"));
    QCOMPARE(identity.appVersion(), QStringLiteral("1.00"));
}

void TestStartup::windowTitleShowsNameAndVersion()
{
    TempWorkDir dir;
    ProGlobal::instance()->setAppTitle(QStringLiteral("Tessra"));
    ProGlobal::instance()->setAppVersion(QStringLiteral("1.00"));

    TemplateWindow window;
    QCOMPARE(window.windowTitle(), QStringLiteral("Tessra 1.00"));
    QVERIFY(!window.windowIcon().isNull());
    QCOMPARE(window.windowIcon().availableSizes().value(0), QSize(32, 32));
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
