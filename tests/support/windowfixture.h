// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "meter/dmmdata.h"
#include "support/tempworkdir.h"

#include <QSharedPointer>
#include <QString>
#include <QVariantMap>
#include <QVector>
#include <QWidget>

#include <memory>

class DataModel;
class MyDMM;
class QCPGraph;
class QCustomPlot;
class QLabel;
class QTableView;
class QTabWidget;
class TemplateWindow;
class TestCatalogue;

// A main window in a temporary working directory, with the shortcuts the
// window tests share: widgets by object name, records fed through the
// window's meter connection, the chart's points.
class WindowFixture
{
public:
    // `settings` are written to "options.ini" before the window starts.
    explicit WindowFixture(const QVariantMap &settings = QVariantMap());
    ~WindowFixture();

    WindowFixture(const WindowFixture &) = delete;
    WindowFixture &operator=(const WindowFixture &) = delete;

    TemplateWindow &window() const;
    const TempWorkDir &dir() const;
    // Closes the window as the user would, then starts a new one in the same directory.
    void restart();
    // Starts a new window, without closing the old one (which would save its
    // settings), on a settings file with exactly these bytes.
    void restartOn(const QByteArray &optionsFile);
    // The settings file as the window left it.
    QVariant setting(const QString &key) const;
    // Shows the window and waits until it is exposed (needed for mouse work on the chart).
    bool show();

    template <class Widget>
    Widget *find(const QString &name) const;
    QLabel *label(const QString &name) const;
    QCustomPlot *plot() const;
    QCPGraph *graph() const;
    QTableView *liveTable() const;
    QTableView *storedTable() const;
    QTabWidget *tables() const;
    DataModel *liveModel() const;
    DataModel *storedModel() const;

    void live(const QSharedPointer<DMMData> &record) const;
    void stored(const QSharedPointer<DMMData> &record) const;

    QVector<double> keys() const;
    QVector<double> values() const;

    // The window's meter connection, whose signals the tests emit.
    MyDMM *meter() const;
    // The tests and the register in the window's journal.
    TestCatalogue &catalogue() const;

private:
    QWidget *root() const;

    TempWorkDir m_dir;
    std::unique_ptr<TemplateWindow> m_window;
    mutable std::unique_ptr<TestCatalogue> m_catalogue;
};

template <class Widget>
Widget *WindowFixture::find(const QString &name) const
{
    return root()->findChild<Widget *>(name);
}
