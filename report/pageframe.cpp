// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "report/pageframe.h"

#include "report/palette.h"
#include "util/imagefile.h"

#include <QFontMetricsF>
#include <QPainter>

namespace {
constexpr double companyPoints = 12.0;
constexpr double smallPoints = 8.0;
constexpr double headerRows = 3.0;
constexpr double footerRows = 2.0;
constexpr double logoAspectLimit = 4.0; // a wide logo takes at most this many times its height
constexpr qint64 logoMaxBytes = 5 * 1024 * 1024;
constexpr int logoMaxPixels = 2000; // on a side; far more than the header shows
} // namespace

PageFrame::PageFrame(const Texts &texts, const QFont &font, QPaintDevice *device, double width)
    : m_texts(texts)
    , m_font(font, device)
    , m_companyFont(font, device)
    , m_device(device)
    , m_width(width)
{
    m_font.setPointSizeF(smallPoints);
    m_companyFont.setPointSizeF(companyPoints);
    m_companyFont.setBold(true);
    m_line = QFontMetricsF(m_font, device).height();
    // A file that is no picture, or too large a one, leaves no logo. It is
    // drawn a few centimetres wide: decoded at most that large.
    if (!texts.logoFile.isEmpty()) {
        ImageFile::Limits limits;
        limits.maxBytes = logoMaxBytes;
        limits.fitInto = QSize(logoMaxPixels, logoMaxPixels);
        m_logo = ImageFile::read(texts.logoFile, limits);
    }
}

double PageFrame::headerHeight() const
{
    return m_line * headerRows;
}

double PageFrame::footerHeight() const
{
    return m_line * footerRows;
}

void PageFrame::paint(QPainter &painter, double pageHeight, int page, int pageCount) const
{
    painter.save();
    paintHeader(painter);
    paintFooter(painter, pageHeight, page, pageCount);
    painter.restore();
}

QString PageFrame::pageText(int page, int pageCount)
{
    return tr("Page %1 of %2").arg(page).arg(pageCount);
}

QString PageFrame::allText(const Texts &texts)
{
    return texts.company + texts.title + headerLines(texts).join(QString()) + pageText(1, 1);
}

QStringList PageFrame::headerLines(const Texts &texts)
{
    QStringList lines{tr("Report date: %1").arg(texts.date)};
    if (!texts.technician.isEmpty())
        lines << tr("Technician: %1").arg(texts.technician);
    return lines;
}

double PageFrame::logoWidth() const
{
    if (m_logo.isNull())
        return 0.0;
    const double height = headerHeight() - m_line * 0.6;
    return std::min(height * m_logo.width() / std::max(1, m_logo.height()), height * logoAspectLimit);
}

void PageFrame::paintHeader(QPainter &painter) const
{
    const double rule = headerHeight() - m_line * 0.4;
    const double logo = logoWidth();
    if (logo > 0.0) {
        const QRectF box(0.0, 0.0, logo, rule - m_line * 0.2);
        const QSizeF fitted = QSizeF(m_logo.size()).scaled(box.size(), Qt::KeepAspectRatio);
        painter.drawImage(QRectF(box.topLeft(), fitted), m_logo);
    }
    const double right = m_width * 0.45;
    const double left = logo > 0.0 ? logo + m_line : 0.0;
    const QFontMetricsF company(m_companyFont, m_device);
    painter.setFont(m_companyFont);
    painter.setPen(Palette::accent);
    painter.drawText(QRectF(left, 0.0, m_width - right - left, rule - m_line * 0.2), Qt::AlignLeft | Qt::AlignVCenter,
                     company.elidedText(m_texts.company, Qt::ElideRight, m_width - right - left));

    const QFontMetricsF metrics(m_font, m_device);
    const QStringList lines = headerLines(m_texts);
    painter.setFont(m_font);
    painter.setPen(Qt::black);
    double baseline = (rule - m_line * lines.size()) / 2.0 + metrics.ascent();
    for (const QString &line : lines) {
        painter.drawText(QRectF(m_width - right, baseline - metrics.ascent(), right, m_line), Qt::AlignRight,
                         metrics.elidedText(line, Qt::ElideLeft, right));
        baseline += m_line;
    }
    painter.setPen(QPen(Palette::accent, m_line / 12.0));
    painter.drawLine(QPointF(0.0, rule), QPointF(m_width, rule));
}

void PageFrame::paintFooter(QPainter &painter, double pageHeight, int page, int pageCount) const
{
    const double top = pageHeight - footerHeight();
    const double rule = top + m_line * 0.5;
    painter.setPen(QPen(Palette::muted, m_line / 24.0));
    painter.drawLine(QPointF(0.0, rule), QPointF(m_width, rule));
    const QFontMetricsF metrics(m_font, m_device);
    const QString number = pageText(page, pageCount);
    const double numberWidth = metrics.horizontalAdvance(number);
    const QRectF line(0.0, rule + m_line * 0.3, m_width, m_line);
    painter.setFont(m_font);
    painter.setPen(Palette::muted);
    painter.drawText(line, Qt::AlignLeft,
                     metrics.elidedText(m_texts.title, Qt::ElideRight, m_width - numberWidth - m_line * 2.0));
    painter.setPen(Qt::black);
    painter.drawText(line, Qt::AlignRight, number);
}
