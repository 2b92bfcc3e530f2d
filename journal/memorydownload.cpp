// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "journal/memorydownload.h"

#include "journal/readingstore.h"

MemoryDownload::MemoryDownload(QSqlDatabase database)
    : m_database(std::move(database))
{
}

void MemoryDownload::setMeter(const HIDDevInfo &meter)
{
    end();
    if (meter.serialNumber == m_meter.serialNumber && meter.manufacturer == m_meter.manufacturer
        && meter.product == m_meter.product)
        return;
    m_meter = meter;
    m_known.clear();
}

void MemoryDownload::end()
{
    m_running = false;
    m_seen.clear();
}

bool MemoryDownload::admit(const QByteArray &frame, qint64 timeMs)
{
    if (m_running && timeMs - m_lastMs > pauseEndsDownloadMs)
        end();
    if (!m_running) {
        m_running = true;
        m_records = 0;
        m_fresh = 0;
    }
    m_lastMs = timeMs;
    ++m_records;
    const int before = m_seen.value(frame);
    m_seen.insert(frame, before + 1);
    const int known = knownCopies(frame);
    if (before < known)
        return false;
    m_known.insert(frame, known + 1);
    ++m_fresh;
    return true;
}

// A journal that cannot be read knows nothing: a record shown twice is
// better than one lost.
int MemoryDownload::knownCopies(const QByteArray &frame)
{
    const auto found = m_known.constFind(frame);
    if (found != m_known.constEnd())
        return found.value();
    int copies = 0;
    if (m_database.isValid() && m_database.isOpen())
        copies = qMax(0, ReadingStore(m_database).storedCopies(frame, m_meter.serialNumber, m_meter.manufacturer,
                                                               m_meter.product));
    m_known.insert(frame, copies);
    return copies;
}
