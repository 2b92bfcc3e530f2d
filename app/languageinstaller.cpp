// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "app/languageinstaller.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QLocale>
#include <QTranslator>

namespace {
const QString chineseCode = QStringLiteral("zh_CN");
const QString appCatalogue = QStringLiteral("zh_CN.qm");
const QString toolkitCatalogue = QStringLiteral("./translations/qt_zh_CN.qm");

void loadAndInstall(QCoreApplication &app, QTranslator &translator, const QString &file)
{
    // Bare names without search suffixes: the file is taken from the working directory as named.
    if (translator.load(file, QString(), QString(), QString()))
        app.installTranslator(&translator);
}
} // namespace

bool installLanguage(QCoreApplication &app, const QString &language,
                     QTranslator &appTranslator, QTranslator &toolkitTranslator)
{
    if (language != chineseCode)
        return false;

    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    loadAndInstall(app, appTranslator, appCatalogue);
    loadAndInstall(app, toolkitTranslator, toolkitCatalogue);
    return true;
}

QString missingLanguageNotice(const QString &language, const QTranslator &appTranslator)
{
    if (language != chineseCode || !appTranslator.isEmpty())
        return QString();
    const QString path = QDir::current().absoluteFilePath(appCatalogue);
    qDebug() << "[lang] catalogue not loaded:" << path;
    return QCoreApplication::translate("LanguageInstaller",
                                       "Chinese was chosen, but its translation %1 could not be loaded: "
                                       "the program is shown in English.")
        .arg(QDir::toNativeSeparators(path));
}
