// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>

#include <atomic>

// The process-wide identity of the application: name, title and version.
class ProGlobal : public QObject
{
    Q_OBJECT

public:
    explicit ProGlobal(QObject *parent = nullptr);

    static ProGlobal *instance();

    QString appName() const;
    void setAppName(const QString &name);
    QString appTitle() const;
    void setAppTitle(const QString &title);
    QString appVersion() const;
    void setAppVersion(const QString &version);

private:
    // Atomic so that the unlocked first test in instance() is not a data race.
    static std::atomic<ProGlobal *> m_instance;

    QString m_appName;
    QString m_appTitle;
    QString m_appVersion;
};
