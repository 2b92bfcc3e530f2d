// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "app/getlanguage.h"
#include "app/languageinstaller.h"
#include "app/proglobal.h"
#include "window/templatewindow.h"

#include <QApplication>
#include <QMessageBox>
#include <QString>
#include <QTranslator>

static const QString Project_Name = QStringLiteral("Tessra");
static const QString Project_Version = QStringLiteral("1.00");

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);

    ProGlobal::instance()->setAppName(Project_Name);
    ProGlobal::instance()->setAppTitle(Project_Name);
    ProGlobal::instance()->setAppVersion(Project_Version);

    QApplication::setOrganizationName(QStringLiteral("Morvane"));
    QApplication::setOrganizationDomain(QStringLiteral("morvane.example"));
    app.setObjectName(ProGlobal::instance()->appName());

    const QString language = getLanguage();
    QTranslator appTranslator;
    QTranslator toolkitTranslator;
    installLanguage(app, language, appTranslator, toolkitTranslator);

    TemplateWindow window;
    window.show();
    // Told once, without holding up the window: the choice in Options stays.
    const QString notice = missingLanguageNotice(language, appTranslator);
    if (!notice.isEmpty()) {
        auto *box = new QMessageBox(QMessageBox::Warning, window.windowTitle(), notice, QMessageBox::Ok, &window);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setModal(false);
        box->show();
    }
    return app.exec();
}
