// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "report/warningmarks.h"

#include <QFontMetricsF>

#include <qcustomplot.h>

#include <algorithm>

namespace {
constexpr double gap = 2.0; // pixels kept between two labels
const QMargins padding(2, 0, 2, 0);

// "1, 2, 3": every number its own, as the list names each warning.
QString numbersText(const QList<int> &numbers)
{
    QStringList texts;
    for (const int number : numbers)
        texts << QString::number(number);
    return texts.join(QStringLiteral(", "));
}
} // namespace

WarningMarks *WarningMarks::add(QCustomPlot &plot, const QList<Mark> &marks, const QFont &font, const QColor &colour)
{
    delete plot.findChild<WarningMarks *>(QString(), Qt::FindDirectChildrenOnly);
    auto *added = new WarningMarks(plot, marks, font, colour);
    connect(&plot, &QCustomPlot::afterLayout, added, &WarningMarks::place);
    return added;
}

WarningMarks::WarningMarks(QCustomPlot &plot, const QList<Mark> &marks, const QFont &font, const QColor &colour)
    : QObject(&plot)
    , m_plot(plot)
    , m_marks(marks)
    , m_font(font)
{
    for (int index = 0; index < m_marks.size(); ++index) {
        auto *label = new QCPItemText(&plot);
        label->position->setType(QCPItemPosition::ptAbsolute);
        label->setPositionAlignment(Qt::AlignBottom | Qt::AlignHCenter);
        label->setPadding(padding);
        // On white: a line may pass behind it.
        label->setBrush(Qt::white);
        label->setFont(font);
        label->setColor(colour);
        label->setText(QString::number(m_marks.at(index).number));
        m_labels << label;
    }
}

QPointF WarningMarks::pixelOf(const Mark &mark) const
{
    return {m_plot.xAxis->coordToPixel(mark.key), mark.valueAxis->coordToPixel(mark.value)};
}

// Over the highest of its points, in the middle of them across.
WarningMarks::Cluster WarningMarks::clusterOf(const QList<int> &marks) const
{
    Cluster cluster;
    cluster.marks = marks;
    std::sort(cluster.marks.begin(), cluster.marks.end(),
              [this](int a, int b) { return m_marks.at(a).number < m_marks.at(b).number; });
    QList<int> numbers;
    double left = 0.0;
    double right = 0.0;
    double top = 0.0;
    for (const int index : qAsConst(cluster.marks)) {
        const QPointF pixel = pixelOf(m_marks.at(index));
        if (numbers.isEmpty()) {
            left = right = pixel.x();
            top = pixel.y();
        }
        left = std::min(left, pixel.x());
        right = std::max(right, pixel.x());
        top = std::min(top, pixel.y());
        numbers << m_marks.at(index).number;
    }
    cluster.text = numbersText(numbers);
    cluster.anchor = QPointF((left + right) / 2.0, top - lift);
    const QSizeF size = QFontMetricsF(m_font).size(Qt::TextSingleLine, cluster.text)
                        + QSizeF(padding.left() + padding.right(), padding.top() + padding.bottom());
    cluster.rect = QRectF(cluster.anchor.x() - size.width() / 2.0, cluster.anchor.y() - size.height(), size.width(),
                          size.height());
    return cluster;
}

// Merges any two labels that would touch until none does: a merged label
// may reach another, so it is looked at again.
QList<WarningMarks::Cluster> WarningMarks::clusters() const
{
    QList<Cluster> clusters;
    for (int index = 0; index < m_marks.size(); ++index)
        clusters << clusterOf({index});
    bool merged = true;
    while (merged) {
        merged = false;
        for (int a = 0; a < clusters.size() && !merged; ++a) {
            for (int b = a + 1; b < clusters.size() && !merged; ++b) {
                const QRectF reach = clusters.at(a).rect.adjusted(-gap, -gap, gap, gap);
                if (!reach.intersects(clusters.at(b).rect))
                    continue;
                clusters[a] = clusterOf(clusters.at(a).marks + clusters.at(b).marks);
                clusters.removeAt(b);
                merged = true;
            }
        }
    }
    return clusters;
}

void WarningMarks::place()
{
    for (const QPointer<QCPItemText> &label : qAsConst(m_labels)) {
        if (label)
            label->setVisible(false);
    }
    for (const Cluster &cluster : clusters()) {
        const QPointer<QCPItemText> &label = m_labels.at(cluster.marks.constFirst());
        if (!label)
            continue;
        label->position->setCoords(cluster.anchor);
        label->setText(cluster.text);
        label->setVisible(true);
    }
}
