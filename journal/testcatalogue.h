// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "insulation/equipmentitem.h"
#include "insulation/insulationtest.h"
#include "insulation/testdetails.h"

#include <QList>
#include <QObject>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <optional>

// The tests kept in the journal, their details and the register of the
// equipment they were run on, as the Tests and Equipment windows show and
// edit them; each edit is announced, so that the team server can follow.
// Without a journal it lists nothing and saves nothing.
class TestCatalogue : public QObject
{
    Q_OBJECT

public:
    explicit TestCatalogue(QSqlDatabase journal, QObject *parent = nullptr);

    bool hasJournal() const { return m_journal.isOpen(); }
    QSqlDatabase journal() const { return m_journal; }

    // The tests kept, the newest first, without their curves.
    QList<InsulationTest> tests() const;
    // A kept test with its curve and final values.
    std::optional<InsulationTest> loadTest(qint64 id) const;
    TestDetails details(qint64 testId) const;
    bool saveDetails(qint64 testId, const TestDetails &details);

    QStringList tags() const;
    std::optional<EquipmentItem> item(const QString &tag) const;
    QList<EquipmentItem> items() const;
    bool saveItem(EquipmentItem &item);
    bool removeItem(qint64 id);
    QList<InsulationTest> testsOf(qint64 itemId) const;

    QString errorString() const { return m_error; }

signals:
    // A test's details or an item were saved or removed.
    void edited();

private:
    bool succeeded(bool done, const QString &error);

    QSqlDatabase m_journal;
    QString m_error;
};
