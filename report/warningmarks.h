// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QRectF>
#include <QString>

class QCPAxis;
class QCPItemText;
class QCustomPlot;

// The numbers a trend chart writes over its warned points, as the list of
// warnings beside it numbers them. Points close on the chart as it is laid
// out (the phases of a motor tested on one day) share one label, "2, 3, 4",
// so that no label covers another, however the chart is sized; they are
// placed again each time it is laid out, on screen and on paper.
class WarningMarks : public QObject
{
    Q_OBJECT

public:
    struct Mark
    {
        double key = 0.0;
        double value = 0.0;
        QCPAxis *valueAxis = nullptr;
        int number = 0;
    };

    // Owned by `plot`; replaces the marks added to it before. The plot's
    // items are its own to clear.
    static WarningMarks *add(QCustomPlot &plot, const QList<Mark> &marks, const QFont &font, const QColor &colour);

    // Pixels between a point and the bottom of its label, clear of a ring.
    static constexpr double lift = 9.0;

private:
    WarningMarks(QCustomPlot &plot, const QList<Mark> &marks, const QFont &font, const QColor &colour);

    struct Cluster
    {
        QList<int> marks; // indices into m_marks, by number
        QPointF anchor;   // the bottom centre of the label, in pixels
        QString text;
        QRectF rect;
    };

    void place();
    QList<Cluster> clusters() const;
    Cluster clusterOf(const QList<int> &marks) const;
    QPointF pixelOf(const Mark &mark) const;

    QCustomPlot &m_plot;
    QList<Mark> m_marks;
    QList<QPointer<QCPItemText>> m_labels; // one a mark; the first of a cluster shows it
    QFont m_font;
};
