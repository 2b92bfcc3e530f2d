// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QStringList>

struct EquipmentItem;
struct InsulationTest;
struct TestDetails;

// Saves the details of one kept test from a JSON object, as the Tests view
// saves its form: a new version of them, which goes to the team server with
// the next sync; what belongs to an item of the register comes from there.
class DetailsEdit
{
    Q_DECLARE_TR_FUNCTIONS(DetailsEdit)

public:
    enum class Outcome {
        Saved,
        Refused, // the object does not fit; nothing was saved
        Failed,  // the journal or the test could not be had, or the save failed
    };

    explicit DetailsEdit(QString journalFile);

    Outcome save(qint64 testId, const QByteArray &json);
    // Why save() refused or failed, naming the key where one is to blame.
    QString errorString() const { return m_error; }

private:
    bool fitsTest(const InsulationTest &test, const TestDetails &details, const QStringList &given);
    bool fitsItem(const EquipmentItem &item, TestDetails &details, const QStringList &given);
    Outcome fail(Outcome outcome, const QString &reason);

    QString m_journalFile;
    QString m_error;
};
