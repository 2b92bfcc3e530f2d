// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "util/utils.h"

#include "util/csvline.h"
#include "util/safefile.h"

#include <QAbstractTableModel>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

int Utils::getCheckSum(const char *data, int len)
{
    int sum = 0;
    for (int i = 0; i < len; ++i)
        sum += static_cast<unsigned char>(data[i]);
    return sum;
}

bool Utils::exportToCSV(QAbstractTableModel *model, const QString &fileName, QString *errorString)
{
    if (!model)
        return false;
    SafeFile file(fileName);
    // Units such as "Ω" and "μF" must survive any locale: always UTF-8.
    bool written = file.open() && file.write((CsvLine::join(CsvLine::headerCells(*model)) + '\n').toUtf8());
    for (int r = 0; written && r < model->rowCount(); ++r)
        written = file.write((CsvLine::join(CsvLine::rowCells(*model, r)) + '\n').toUtf8());
    if (written && file.commit())
        return true;
    if (errorString)
        *errorString = file.errorString();
    return false;
}

void Utils::delayMs(unsigned int ms, unsigned int maxTime)
{
    // Events are handled as they arrive and the thread sleeps in between; the
    // wake-up timer ends the last sleep, so no budget per pass is needed.
    Q_UNUSED(maxTime)
    // A monotonic clock: a wait across midnight or a clock change lasts its time.
    QElapsedTimer clock;
    clock.start();
    QTimer wakeUp;
    wakeUp.setSingleShot(true);
    wakeUp.setTimerType(Qt::PreciseTimer);
    for (qint64 remaining = ms; remaining > 0; remaining = static_cast<qint64>(ms) - clock.elapsed()) {
        // Re-armed every pass: an earlier wake-up must not leave the wait without one.
        wakeUp.start(static_cast<int>(remaining));
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
}

QList<QObject *> Utils::getChildObject(QObject *parent, const QStringList &classNames, bool recursive)
{
    QList<QObject *> found;
    if (!parent)
        return found;
    for (QObject *child : parent->children()) {
        if (classNames.isEmpty() || classNames.contains(QLatin1String(child->metaObject()->className())))
            found.append(child);
        if (recursive)
            found.append(getChildObject(child, classNames, true));
    }
    return found;
}
