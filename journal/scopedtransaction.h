// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QSqlDatabase>

// A transaction on a connection that is rolled back when it goes out of
// scope, unless it was committed.
class ScopedTransaction
{
public:
    explicit ScopedTransaction(QSqlDatabase database);
    ~ScopedTransaction();

    ScopedTransaction(const ScopedTransaction &) = delete;
    ScopedTransaction &operator=(const ScopedTransaction &) = delete;

    // False when the transaction could not begin.
    bool isActive() const { return m_active; }
    [[nodiscard]] bool commit();

private:
    QSqlDatabase m_database;
    bool m_active = false;
};
