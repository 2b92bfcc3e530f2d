// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
//
// Starts the built program itself, main() and all, in a real X server and
// looks at it from outside, as the window manager would.
#include "support/tempworkdir.h"
#include "testpaths.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>

namespace {
const int patience = 30000;

// The visible X windows that xdotool's search finds with these arguments.
QStringList windowsFound(const QStringList &arguments)
{
    QProcess search;
    search.start(QStringLiteral("xdotool"), QStringList{QStringLiteral("search"), QStringLiteral("--onlyvisible")}
                                                + arguments);
    if (!search.waitForFinished(patience))
        return {};
    return QString::fromUtf8(search.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QStringList windowsTitled(const QString &title)
{
    return windowsFound({QStringLiteral("--name"), QLatin1Char('^') + QRegularExpression::escape(title) + QLatin1Char('$')});
}

QStringList windowsOf(const QProcess &program)
{
    return windowsFound({QStringLiteral("--pid"), QString::number(program.processId())});
}

bool xdotool(const QStringList &arguments)
{
    QProcess tool;
    tool.start(QStringLiteral("xdotool"), arguments);
    return tool.waitForFinished(patience) && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
}

// "X=.. Y=.. WIDTH=.. HEIGHT=.." of a window.
QRect geometryOf(const QString &window)
{
    QProcess tool;
    tool.start(QStringLiteral("xdotool"), {QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), window});
    if (!tool.waitForFinished(patience))
        return {};
    QMap<QString, int> values;
    for (const QString &line : QString::fromUtf8(tool.readAllStandardOutput()).split(QLatin1Char('\n'))) {
        const int equals = line.indexOf(QLatin1Char('='));
        if (equals > 0)
            values.insert(line.left(equals), line.mid(equals + 1).toInt());
    }
    return QRect(values.value(QStringLiteral("X")), values.value(QStringLiteral("Y")),
                 values.value(QStringLiteral("WIDTH")), values.value(QStringLiteral("HEIGHT")));
}

bool copyInto(const QString &from, const QString &to)
{
    QDir().mkpath(QFileInfo(to).absolutePath());
    return QFile::copy(from, to);
}
} // namespace

class TestProgramStart : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void startsInChineseWhenConfigured();
};

void TestProgramStart::initTestCase()
{
    if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
        QFAIL("xdotool is needed to look at the program from outside (scripts/install-deps.sh installs it)");
}

// The translators must be in place before the window is built; the program
// then shows Chinese from its first window on.
void TestProgramStart::startsInChineseWhenConfigured()
{
    const TempWorkDir dir;
    {
        QSettings options(dir.filePath(QStringLiteral("options.ini")), QSettings::IniFormat);
        options.setValue(QStringLiteral("Language"), QStringLiteral("zh_CN"));
    }
    const QString build = QStringLiteral(TESSRA_BUILD_DIR);
    QVERIFY(copyInto(build + QStringLiteral("/zh_CN.qm"), dir.filePath(QStringLiteral("zh_CN.qm"))));
    QVERIFY(copyInto(build + QStringLiteral("/translations/qt_zh_CN.qm"),
                     dir.filePath(QStringLiteral("translations/qt_zh_CN.qm"))));

    QProcess program;
    program.setWorkingDirectory(dir.path());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    program.setProcessEnvironment(environment);
    program.start(build + QStringLiteral("/tessra-demo"), QStringList());
    QVERIFY2(program.waitForStarted(patience), qPrintable(program.errorString()));

    QStringList windows;
    QTRY_VERIFY_WITH_TIMEOUT(!(windows = windowsTitled(QStringLiteral("Tessra 1.00"))).isEmpty(), patience);
    const QRect window = geometryOf(windows.first());
    QVERIFY(window.isValid());

    // The chart fills the right of the window; its menu's one entry saves it.
    const QPoint chart = window.topLeft() + QPoint(window.width() * 3 / 4, window.height() / 2);
    const int windowsBefore = windowsOf(program).size();
    QVERIFY(xdotool({QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(chart.x()),
                     QString::number(chart.y()), QStringLiteral("click"), QStringLiteral("3")}));
    QTRY_VERIFY_WITH_TIMEOUT(windowsOf(program).size() > windowsBefore, patience);
    QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("Down"), QStringLiteral("Return")}));
    QTRY_VERIFY_WITH_TIMEOUT(!windowsTitled(QStringLiteral("另存为")).isEmpty(), patience);

    program.terminate();
    if (!program.waitForFinished(patience))
        program.kill();
}

QTEST_GUILESS_MAIN(TestProgramStart)
#include "tst_programstart.moc"
