// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "app/getlanguage.h"
#include "app/languageinstaller.h"
#include "models/datamodel.h"
#include "support/modalscript.h"
#include "support/samplerecords.h"
#include "support/tempworkdir.h"
#include "support/windowfixture.h"
#include "testpaths.h"
#include "window/templatewindow.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTabWidget>
#include <QTest>
#include <QTranslator>

namespace {
// The working directory as the build leaves it for the program: its own
// catalogue beside it, the toolkit's under ./translations/.
bool stageBuiltCatalogues(const TempWorkDir &dir)
{
    const QDir build(QStringLiteral(TESSRA_BUILD_DIR));
    QDir target(dir.path());
    if (!QFile::copy(build.filePath("zh_CN.qm"), target.filePath("zh_CN.qm")))
        return false;
    target.mkpath("translations");
    const QDir staged(build.filePath("translations"));
    const QStringList names = staged.entryList({"*_zh_CN.qm"}, QDir::Files);
    for (const QString &name : names)
        QFile::copy(staged.filePath(name), target.filePath("translations/" + name));
    return names.contains("qt_zh_CN.qm");
}
} // namespace

class TestTranslation : public QObject
{
    Q_OBJECT

private slots:
    void chineseStartShowsChineseTexts();
};

// Started as the run command starts it, with "Language" set to "zh_CN".
void TestTranslation::chineseStartShowsChineseTexts()
{
    TempWorkDir dir;
    QVERIFY(stageBuiltCatalogues(dir));
    QSettings("options.ini", QSettings::IniFormat).setValue("Language", "zh_CN");
    QTranslator own;
    QTranslator toolkit;
    QVERIFY(installLanguage(*qApp, getLanguage(), own, toolkit));
    QVERIFY(!own.isEmpty());
    QVERIFY(!toolkit.isEmpty());

    {
        WindowFixture fixture;
        QCOMPARE(fixture.find<QAction>("actionStart")->text(), QStringLiteral("开始"));
        QCOMPARE(fixture.find<QAction>("actionExport")->text(), QStringLiteral("导出"));
        QCOMPARE(fixture.tables()->tabText(0), QStringLiteral("实时"));
        QCOMPARE(fixture.tables()->tabText(1), QStringLiteral("存储"));
        fixture.live(SampleRecords::ir());
        QCOMPARE(fixture.liveModel()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("序号"));

        ModalScript script;
        const auto &box = script.messageBox(QMessageBox::No);
        fixture.find<QAction>("actionClear")->trigger();
        QCOMPARE(box.text, QStringLiteral("清除当前显示的表格吗？\n日志保留其读数：可在“历史记录”中再次打开。"));
    }
    QCoreApplication::removeTranslator(&own);
    QCoreApplication::removeTranslator(&toolkit);
}

QTEST_MAIN(TestTranslation)
#include "tst_translation.moc"
