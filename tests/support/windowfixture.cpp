// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "support/windowfixture.h"

#include "journal/sessionrecorder.h"
#include "journal/testcatalogue.h"

#include "app/proglobal.h"
#include "app/settingskeys.h"
#include "meter/mydmm.h"
#include "models/datamodel.h"
#include "window/templatewindow.h"

#include <QFile>
#include <QLabel>
#include <QSettings>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

#include <qcustomplot.h>

WindowFixture::WindowFixture(const QVariantMap &settings)
{
    ProGlobal::instance()->setAppTitle(QStringLiteral("Tessra"));
    ProGlobal::instance()->setAppVersion(QStringLiteral("1.00"));
    if (!settings.isEmpty()) {
        QSettings file(QString::fromLatin1(SettingsKeys::fileName), QSettings::IniFormat);
        for (auto it = settings.cbegin(); it != settings.cend(); ++it)
            file.setValue(it.key(), it.value());
    }
    m_window = std::make_unique<TemplateWindow>();
}

const TempWorkDir &WindowFixture::dir() const
{
    return m_dir;
}

void WindowFixture::restart()
{
    m_window->close();
    m_catalogue.reset();
    m_window = std::make_unique<TemplateWindow>();
}

void WindowFixture::restartOn(const QByteArray &optionsFile)
{
    m_catalogue.reset();
    m_window.reset();
    QFile file(QString::fromLatin1(SettingsKeys::fileName));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(optionsFile);
    file.close();
    m_window = std::make_unique<TemplateWindow>();
}

QVariant WindowFixture::setting(const QString &key) const
{
    const QSettings file(QString::fromLatin1(SettingsKeys::fileName), QSettings::IniFormat);
    return file.value(key);
}

WindowFixture::~WindowFixture() = default;

TemplateWindow &WindowFixture::window() const
{
    return *m_window;
}

QWidget *WindowFixture::root() const
{
    return m_window.get();
}

bool WindowFixture::show()
{
    m_window->show();
    return QTest::qWaitForWindowExposed(m_window.get());
}

QLabel *WindowFixture::label(const QString &name) const
{
    return find<QLabel>(name);
}

QCustomPlot *WindowFixture::plot() const
{
    return find<QCustomPlot>(QStringLiteral("plot1"));
}

QCPGraph *WindowFixture::graph() const
{
    return plot()->graph(0);
}

QTableView *WindowFixture::liveTable() const
{
    return find<QTableView>(QStringLiteral("tv1"));
}

QTableView *WindowFixture::storedTable() const
{
    return find<QTableView>(QStringLiteral("tvStored"));
}

QTabWidget *WindowFixture::tables() const
{
    return find<QTabWidget>(QStringLiteral("tabWgTV"));
}

DataModel *WindowFixture::liveModel() const
{
    return qobject_cast<DataModel *>(liveTable()->model());
}

DataModel *WindowFixture::storedModel() const
{
    return qobject_cast<DataModel *>(storedTable()->model());
}

MyDMM *WindowFixture::meter() const
{
    return m_window->findChild<MyDMM *>();
}

void WindowFixture::live(const QSharedPointer<DMMData> &record) const
{
    emit meter()->updateLiveData(record);
}

void WindowFixture::stored(const QSharedPointer<DMMData> &record) const
{
    emit meter()->updateStoreData(record);
}

QVector<double> WindowFixture::keys() const
{
    QVector<double> keys;
    for (const QCPGraphData &point : *graph()->data())
        keys.append(point.key);
    return keys;
}

QVector<double> WindowFixture::values() const
{
    QVector<double> values;
    for (const QCPGraphData &point : *graph()->data())
        values.append(point.value);
    return values;
}

TestCatalogue &WindowFixture::catalogue() const
{
    if (!m_catalogue)
        m_catalogue = std::make_unique<TestCatalogue>(m_window->journal()->database());
    return *m_catalogue;
}
