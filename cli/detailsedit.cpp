// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "cli/detailsedit.h"

#include "cli/detailsjson.h"
#include "insulation/equipmentitem.h"
#include "insulation/insulationtest.h"
#include "insulation/testdate.h"
#include "insulation/testdetails.h"
#include "journal/journaldatabase.h"
#include "journal/journalupkeep.h"
#include "journal/testcatalogue.h"
#include "journal/teststore.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

#include <optional>

namespace {
// A value as JSON writes it: "rotating machine", 6.6, null.
QString jsonText(const QJsonValue &value)
{
    const QByteArray list = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(list.mid(1, list.size() - 2));
}
} // namespace

DetailsEdit::DetailsEdit(QString journalFile)
    : m_journalFile(std::move(journalFile))
{
}

DetailsEdit::Outcome DetailsEdit::save(qint64 testId, const QByteArray &json)
{
    const QString file = QDir::toNativeSeparators(m_journalFile);
    if (!QFileInfo::exists(m_journalFile))
        return fail(Outcome::Failed, tr("Cannot use the journal %1: There is no such file.").arg(file));
    JournalDatabase journal(m_journalFile);
    if (!journal.open())
        return fail(Outcome::Failed, tr("Cannot use the journal %1: %2").arg(file, journal.errorString()));
    JournalUpkeep::catchUp(journal.connection());
    TestCatalogue catalogue(journal.connection());
    const std::optional<InsulationTest> test = TestStore(journal.connection()).find(testId);
    if (!test)
        return fail(Outcome::Failed,
                    tr("The journal %1 has no test %2; --list-tests shows those it has.").arg(file).arg(testId));

    TestDetails details = catalogue.details(testId);
    QStringList given;
    QString error;
    if (!DetailsJson::read(json, details, given, error))
        return fail(Outcome::Refused, error);
    if (!fitsTest(*test, details, given))
        return Outcome::Refused;
    if (const std::optional<EquipmentItem> item = catalogue.item(details.equipment)) {
        if (!fitsItem(*item, details, given))
            return Outcome::Refused;
    }
    if (!catalogue.saveDetails(testId, details))
        return fail(Outcome::Failed,
                    tr("Cannot save the details in the journal %1: %2").arg(file, catalogue.errorString()));
    return Outcome::Saved;
}

// A live test's readings carry their own date; only a record of the meter's
// memory is given one.
bool DetailsEdit::fitsTest(const InsulationTest &test, const TestDetails &details, const QStringList &given)
{
    if (given.contains(QStringLiteral("tested")) && details.testedMs > 0 && !TestDate::isGiven(test)) {
        fail(Outcome::Refused, tr("tested: test %1 was recorded live and carries its own date; only a test from "
                                  "the meter's memory is given one.")
                                   .arg(test.id));
        return false;
    }
    return true;
}

// What belongs to an item of the register is the register's: given the
// same, it is welcome; given otherwise, it is changed in the register.
bool DetailsEdit::fitsItem(const EquipmentItem &item, TestDetails &details, const QStringList &given)
{
    TestDetails ofItem = details;
    item.applyTo(ofItem);
    for (const QString &key : DetailsJson::itemKeys()) {
        if (!given.contains(key) || DetailsJson::valueOf(details, key) == DetailsJson::valueOf(ofItem, key))
            continue;
        fail(Outcome::Refused, tr("%1: it belongs to the register's item %2, which gives %3; change it in the "
                                  "register.")
                                   .arg(key, item.tag, jsonText(DetailsJson::valueOf(ofItem, key))));
        return false;
    }
    details = ofItem;
    return true;
}

DetailsEdit::Outcome DetailsEdit::fail(Outcome outcome, const QString &reason)
{
    m_error = reason;
    return outcome;
}
