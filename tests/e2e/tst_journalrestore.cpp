// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
//
// The demonstration program records in a real X server and is killed; the
// window started again offers the session back, and the rows come back.
#include "app/proglobal.h"
#include "journal/sessionreader.h"
#include "models/columnset.h"
#include "models/datamodel.h"
#include "models/modelfactory.h"
#include "support/csvtext.h"
#include "support/tempworkdir.h"
#include "testpaths.h"
#include "window/templatewindow.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <csignal>
#include <memory>

namespace {
const int patience = 60000;
const QString journalName = QStringLiteral("tessra.sqlite");

QString xdotoolOutput(const QStringList &arguments)
{
    QProcess tool;
    tool.start(QStringLiteral("xdotool"), arguments);
    if (!tool.waitForFinished(patience))
        return {};
    return QString::fromUtf8(tool.readAllStandardOutput());
}

QString windowTitled(const QString &title)
{
    return xdotoolOutput({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                          QLatin1Char('^') + QRegularExpression::escape(title) + QLatin1Char('$')})
        .section(QLatin1Char('\n'), 0, 0);
}

QPoint windowOrigin(const QString &window)
{
    QPoint origin;
    for (const QString &line : xdotoolOutput({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), window})
                                   .split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("X=")))
            origin.setX(line.mid(2).toInt());
        if (line.startsWith(QLatin1String("Y=")))
            origin.setY(line.mid(2).toInt());
    }
    return origin;
}

QList<JournalSession> sessionsIn(const QString &fileName)
{
    SessionReader reader(fileName);
    return reader.open() ? reader.sessions() : QList<JournalSession>();
}

QList<QStringList> liveCellsOf(int mode, const QList<QSharedPointer<DMMData>> &records)
{
    const ColumnSet columns;
    const std::unique_ptr<DataModel> model = ModelFactory::createLiveModel(mode, columns.columns(mode));
    for (const QSharedPointer<DMMData> &record : records) {
        if (record->mode == mode)
            model->addData(record);
    }
    return CsvText::cellsOf(*model);
}
} // namespace

class TestJournalRestore : public QObject
{
    Q_OBJECT

private slots:
    void killedProgramsReadingsComeBack();
};

void TestJournalRestore::killedProgramsReadingsComeBack()
{
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    const TempWorkDir dir;
    QProcess program;
    program.setWorkingDirectory(dir.path());
    program.start(QStringLiteral(TESSRA_BUILD_DIR "/tessra-demo"), QStringList());
    QVERIFY(program.waitForStarted(patience));
    QString window;
    QTRY_VERIFY_WITH_TIMEOUT(!(window = windowTitled(QStringLiteral("Tessra 1.00"))).isEmpty(), patience);

    // Start sits first on the tool bar, in the window's top left corner.
    const QPoint start = windowOrigin(window) + QPoint(25, 25);
    QVERIFY(!xdotoolOutput({QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(start.x()),
                            QString::number(start.y()), QStringLiteral("click"), QStringLiteral("1")})
                 .contains(QLatin1String("rror")));
    const QString journal = dir.filePath(journalName);
    QTRY_VERIFY_WITH_TIMEOUT(sessionsIn(journal).value(0).count(JournalReading::Live) >= 10, patience);
    ::kill(pid_t(program.processId()), SIGKILL);
    QVERIFY(program.waitForFinished(patience));

    // Started again, the window asks as soon as it runs, and waits for the
    // answer; Yes is clicked as a user clicks it.
    bool clicked = false;
    QTimer answer;
    connect(&answer, &QTimer::timeout, this, [&clicked, &answer] {
        auto *question = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!question || !question->isVisible() || !question->windowHandle()->isExposed())
            return;
        answer.stop();
        QTest::mouseClick(question->button(QMessageBox::Yes), Qt::LeftButton);
        clicked = true;
    });
    answer.start(50);
    ProGlobal::instance()->setAppTitle(QStringLiteral("Tessra"));
    ProGlobal::instance()->setAppVersion(QStringLiteral("1.00"));
    TemplateWindow restarted;
    restarted.show();
    QTRY_VERIFY_WITH_TIMEOUT(clicked, patience);
    QTRY_VERIFY_WITH_TIMEOUT(!QApplication::activeModalWidget(), patience);

    const QList<JournalSession> sessions = sessionsIn(journal);
    QCOMPARE(sessions.size(), 1);
    QVERIFY(!sessions.first().cleanEnd);
    SessionReader reader(journal);
    QVERIFY(reader.open());
    SessionReader::Records records;
    QVERIFY(reader.readRecords(sessions.first().id, records));
    const auto *liveTable = restarted.findChild<QTableView *>(QStringLiteral("tv1"));
    QTRY_VERIFY_WITH_TIMEOUT(liveTable->model()->rowCount() > 0, patience);
    QCOMPARE(CsvText::cellsOf(*liveTable->model()), liveCellsOf(records.live.last()->mode, records.live));
    restarted.close();
}

QTEST_MAIN(TestJournalRestore)
#include "tst_journalrestore.moc"
