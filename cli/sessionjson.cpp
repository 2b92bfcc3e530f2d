// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "cli/sessionjson.h"

#include "cli/orderedjsonobject.h"
#include "cli/recordjson.h"
#include "journal/journalsession.h"
#include "meter/dmmdata.h"

#include <QDateTime>
#include <QJsonValue>

namespace {
QString moment(qint64 ms)
{
    return RecordJson::timestamp(QDateTime::fromMSecsSinceEpoch(ms));
}

OrderedJsonObject meter(const JournalSession &session)
{
    OrderedJsonObject object;
    object.add("path", session.meterPath);
    object.add("serialNumber", session.serialNumber);
    object.add("manufacturer", session.manufacturer);
    object.add("product", session.product);
    return object;
}

// A mode this program does not know, as a newer meter may send, keeps its
// number so that its readings are still counted.
QString modeName(int mode)
{
    const QString name = DMMData::modeName(mode);
    return name.isEmpty() ? QString::number(mode) : name;
}

OrderedJsonObject countsOf(const JournalSession &session, JournalReading::Kind kind)
{
    OrderedJsonObject object;
    for (auto it = session.counts.cbegin(); it != session.counts.cend(); ++it) {
        if (it.key().first == kind)
            object.add(modeName(it.key().second).toUtf8().constData(), it.value());
    }
    return object;
}
} // namespace

QByteArray SessionJson::line(const JournalSession &session)
{
    OrderedJsonObject counts;
    counts.add("live", countsOf(session, JournalReading::Live));
    counts.add("stored", countsOf(session, JournalReading::Stored));

    OrderedJsonObject out;
    out.add("id", session.id);
    out.add("uuid", session.uuid);
    out.add("source", session.source);
    out.add("started", moment(session.startedMs));
    out.add("ended", session.hasEnded() ? QJsonValue(moment(session.endedMs)) : QJsonValue());
    out.add("cleanEnd", session.cleanEnd);
    out.add("meter", meter(session));
    out.add("programVersion", session.programVersion);
    out.add("counts", counts);
    return out.text();
}
