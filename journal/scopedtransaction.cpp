// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "journal/scopedtransaction.h"

ScopedTransaction::ScopedTransaction(QSqlDatabase database)
    : m_database(std::move(database))
    , m_active(m_database.transaction())
{
}

ScopedTransaction::~ScopedTransaction()
{
    if (m_active)
        m_database.rollback();
}

bool ScopedTransaction::commit()
{
    if (!m_active)
        return false;
    m_active = false;
    if (m_database.commit())
        return true;
    m_database.rollback();
    return false;
}
