// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "app/proglobal.h"

#include <QMutex>
#include <QMutexLocker>

#include <memory>

std::atomic<ProGlobal *> ProGlobal::m_instance{nullptr};

ProGlobal::ProGlobal(QObject *parent)
    : QObject(parent)
{
}

ProGlobal *ProGlobal::instance()
{
    ProGlobal *existing = m_instance.load(std::memory_order_acquire);
    if (existing)
        return existing;

    static QMutex mutex;
    QMutexLocker locker(&mutex);
    existing = m_instance.load(std::memory_order_relaxed);
    if (!existing) {
        // Lives until the process ends; the smart pointer only guards a throwing constructor.
        auto created = std::make_unique<ProGlobal>();
        existing = created.release();
        m_instance.store(existing, std::memory_order_release);
    }
    return existing;
}

QString ProGlobal::appName() const { return m_appName; }
void ProGlobal::setAppName(const QString &name) { m_appName = name; }
QString ProGlobal::appTitle() const { return m_appTitle; }
void ProGlobal::setAppTitle(const QString &title) { m_appTitle = title; }
QString ProGlobal::appVersion() const { return m_appVersion; }
void ProGlobal::setAppVersion(const QString &version) { m_appVersion = version; }
