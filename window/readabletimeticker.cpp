// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "window/readabletimeticker.h"

#include <QFontMetrics>

#include <algorithm>
#include <cmath>

ReadableTimeTicker::ReadableTimeTicker(QCPAxis *axis)
    : m_axis(axis)
{
    setTickStepStrategy(QCPAxisTicker::tssMeetTickCount);
}

bool ReadableTimeTicker::isStale() const
{
    return m_lengthUsed != axisLength();
}

void ReadableTimeTicker::generate(const QCPRange &range, const QLocale &locale, QChar formatChar, int precision,
                                  QVector<double> &ticks, QVector<double> *subTicks,
                                  QVector<QString> *tickLabels)
{
    m_lengthUsed = axisLength();
    const int room = widestLabel(range, nullptr) + gap();
    setTickCount(std::max(1, m_lengthUsed / std::max(1, room)));
    QCPAxisTickerDateTime::generate(range, locale, formatChar, precision, ticks, subTicks, tickLabels);

    // The library rounds its step to whole seconds, minutes and so on, which
    // can bring the ticks closer than asked.
    const int needed = widestLabel(range, tickLabels) + gap();
    while (ticks.size() > 1 && spacing(range, ticks) < needed) {
        QVector<double> kept;
        QVector<QString> keptLabels;
        for (int i = 0; i < ticks.size(); ++i) {
            if (i % 2 == 0) {
                kept << ticks.at(i);
                if (tickLabels && i < tickLabels->size())
                    keptLabels << tickLabels->at(i);
            } else if (subTicks) {
                subTicks->append(ticks.at(i));
            }
        }
        ticks = kept;
        if (tickLabels)
            *tickLabels = keptLabels;
    }
    if (subTicks)
        std::sort(subTicks->begin(), subTicks->end());
}

int ReadableTimeTicker::axisLength() const
{
    if (!m_axis || !m_axis->axisRect())
        return 0;
    const QRect rect = m_axis->axisRect()->rect();
    return m_axis->orientation() == Qt::Horizontal ? rect.width() : rect.height();
}

// The widest line of a label: date and time stand one above the other.
int ReadableTimeTicker::labelWidth(const QString &label) const
{
    const QFontMetrics metrics(m_axis ? m_axis->tickLabelFont() : QFont());
    int widest = 0;
    for (const QString &line : label.split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return widest;
}

// The labels made, or, before there are any, the label of the range's end,
// which has as many digits as any other.
int ReadableTimeTicker::widestLabel(const QCPRange &range, const QVector<QString> *tickLabels) const
{
    int widest = 0;
    if (tickLabels) {
        for (const QString &label : *tickLabels)
            widest = std::max(widest, labelWidth(label));
    }
    if (widest == 0)
        widest = labelWidth(keyToDateTime(range.upper).toString(dateTimeFormat()));
    return widest;
}

int ReadableTimeTicker::spacing(const QCPRange &range, const QVector<double> &ticks) const
{
    if (range.size() <= 0.0)
        return 0;
    const double step = std::abs(ticks.at(1) - ticks.at(0));
    return static_cast<int>(std::floor(step / range.size() * axisLength()));
}

// Room between two labels: about two characters.
int ReadableTimeTicker::gap() const
{
    const QFontMetrics metrics(m_axis ? m_axis->tickLabelFont() : QFont());
    return metrics.horizontalAdvance(QStringLiteral("00"));
}
