// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "journal/journalupkeep.h"

#include "journal/equipmentstore.h"
#include "journal/journaldatabase.h"
#include "journal/sessioncutter.h"

#include <QDebug>

// A journal that can only be read is read as it stands.
bool JournalUpkeep::catchUp(QSqlDatabase journal)
{
    if (JournalDatabase::isReadOnly(journal))
        return true;
    const bool cut = SessionCutter::cutEnded(journal);
    EquipmentStore register_(journal);
    register_.registerFreeText();
    const bool registered = register_.errorString().isEmpty();
    if (!cut || !registered)
        qDebug() << "[journal] not brought up to date:" << (cut ? register_.errorString() : QStringLiteral("cutting sessions failed"));
    return cut && registered;
}
