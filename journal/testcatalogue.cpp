// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "journal/testcatalogue.h"

#include "journal/equipmentstore.h"
#include "journal/readingstore.h"
#include "journal/teststore.h"

TestCatalogue::TestCatalogue(QSqlDatabase journal, QObject *parent)
    : QObject(parent)
    , m_journal(journal)
{
}

QList<InsulationTest> TestCatalogue::tests() const
{
    return hasJournal() ? TestStore(m_journal).list() : QList<InsulationTest>();
}

std::optional<InsulationTest> TestCatalogue::loadTest(qint64 id) const
{
    if (!hasJournal())
        return std::nullopt;
    return TestStore(m_journal).load(id, ReadingStore(m_journal));
}

TestDetails TestCatalogue::details(qint64 testId) const
{
    return hasJournal() ? TestStore(m_journal).details(testId) : TestDetails();
}

bool TestCatalogue::saveDetails(qint64 testId, const TestDetails &details)
{
    if (!hasJournal())
        return false;
    TestStore store(m_journal);
    // The reason is read once the save has given it.
    const bool saved = store.saveDetails(testId, details);
    return succeeded(saved, store.errorString());
}

QStringList TestCatalogue::tags() const
{
    return hasJournal() ? EquipmentStore(m_journal).tags() : QStringList();
}

std::optional<EquipmentItem> TestCatalogue::item(const QString &tag) const
{
    if (!hasJournal() || tag.trimmed().isEmpty())
        return std::nullopt;
    return EquipmentStore(m_journal).findByTag(tag);
}

QList<EquipmentItem> TestCatalogue::items() const
{
    return hasJournal() ? EquipmentStore(m_journal).list() : QList<EquipmentItem>();
}

bool TestCatalogue::saveItem(EquipmentItem &item)
{
    if (!hasJournal())
        return false;
    EquipmentStore register_(m_journal);
    const bool saved = register_.save(item);
    return succeeded(saved, register_.errorString());
}

bool TestCatalogue::removeItem(qint64 id)
{
    if (!hasJournal())
        return false;
    EquipmentStore register_(m_journal);
    const bool removed = register_.remove(id);
    return succeeded(removed, register_.errorString());
}

QList<InsulationTest> TestCatalogue::testsOf(qint64 itemId) const
{
    QList<InsulationTest> tests;
    if (!hasJournal())
        return tests;
    const TestStore store(m_journal);
    for (const qint64 id : EquipmentStore(m_journal).testsOf(itemId)) {
        if (const std::optional<InsulationTest> test = store.find(id))
            tests << *test;
    }
    return tests;
}

bool TestCatalogue::succeeded(bool done, const QString &error)
{
    if (!done) {
        m_error = error;
        return false;
    }
    emit edited();
    return true;
}
