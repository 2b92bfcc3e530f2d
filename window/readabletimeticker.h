// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QPointer>

#include <qcustomplot.h>

// The chart's date-time ticker, with no more ticks than the axis has room
// for: the tick count follows the axis's length in pixels and the width of
// the labels, and where the library's rounded steps still bring labels too
// close together, every other tick becomes a sub-tick until they part.
class ReadableTimeTicker : public QCPAxisTickerDateTime
{
public:
    explicit ReadableTimeTicker(QCPAxis *axis);

    // True when the axis has changed its length since the ticks were made
    // (the window was resized): they need making again.
    bool isStale() const;

protected:
    void generate(const QCPRange &range, const QLocale &locale, QChar formatChar, int precision,
                  QVector<double> &ticks, QVector<double> *subTicks, QVector<QString> *tickLabels) override;

private:
    int axisLength() const;
    int labelWidth(const QString &label) const;
    int widestLabel(const QCPRange &range, const QVector<QString> *tickLabels) const;
    int spacing(const QCPRange &range, const QVector<double> &ticks) const;
    int gap() const;

    QPointer<QCPAxis> m_axis;
    int m_lengthUsed = -1;
};
