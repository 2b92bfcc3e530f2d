// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QCoreApplication>
#include <QFont>
#include <QImage>
#include <QString>
#include <QStringList>

class QPainter;
class QPaintDevice;

// What every page of a report carries: a header with the company's name and
// logo, the report's date and the technician, and a footer with the
// report's title and "Page N of M".
class PageFrame
{
    Q_DECLARE_TR_FUNCTIONS(PageFrame)

public:
    struct Texts
    {
        QString company;
        QString logoFile;
        QString date;
        QString technician;
        QString title;
    };

    PageFrame(const Texts &texts, const QFont &font, QPaintDevice *device, double width);

    double headerHeight() const;
    double footerHeight() const;
    // Draws on a page of height `pageHeight`, its top at the painter's origin.
    void paint(QPainter &painter, double pageHeight, int page, int pageCount) const;

    static QString pageText(int page, int pageCount);
    // Everything the frame writes, for the choice of a font.
    static QString allText(const Texts &texts);

private:
    static QStringList headerLines(const Texts &texts);
    void paintHeader(QPainter &painter) const;
    void paintFooter(QPainter &painter, double pageHeight, int page, int pageCount) const;
    double logoWidth() const;

    Texts m_texts;
    QImage m_logo;
    QFont m_font;
    QFont m_companyFont;
    QPaintDevice *m_device;
    double m_width;
    double m_line;
};
