// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
//
// The window on a simulated meter, recording as the program does, for tests
// that kill it mid-session. Once a recorded row is on screen (the event loop
// has passed since it was added) its kind and cells go to standard output,
// one line each: "live<TAB>cell,cell,..." or "stored<TAB>...".
#include "app/proglobal.h"
#include "models/datamodel.h"
#include "sim/demoscenario.h"
#include "util/csvline.h"
#include "window/templatewindow.h"

#include <QAction>
#include <QApplication>
#include <QTableView>
#include <QTimer>

#include <cstdio>

namespace {
void printLater(const TemplateWindow &window, const char *kind, const char *tableName)
{
    const auto *table = window.findChild<QTableView *>(QString::fromLatin1(tableName));
    const auto *model = table->model();
    const int row = model->rowCount() - 1;
    const QString line = QString::fromLatin1(kind) + QLatin1Char('\t') + CsvLine::join(CsvLine::rowCells(*model, row));
    QTimer::singleShot(0, [line] {
        std::fputs(qPrintable(line + QLatin1Char('\n')), stdout);
        std::fflush(stdout);
    });
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    ProGlobal::instance()->setAppTitle(QStringLiteral("Tessra"));
    ProGlobal::instance()->setAppVersion(QStringLiteral("1.00"));
    DemoScenario::installMeter(QStringLiteral("demo:child"), DemoScenario::Pace::Fast);

    TemplateWindow window;
    QObject::connect(&window, &TemplateWindow::liveRecorded,
                     [&window] { printLater(window, "live", "tv1"); });
    QObject::connect(&window, &TemplateWindow::storedRecorded,
                     [&window] { printLater(window, "stored", "tvStored"); });
    window.show();
    QTimer::singleShot(0, [&window] { window.findChild<QAction *>(QStringLiteral("actionStart"))->trigger(); });
    return app.exec();
}
