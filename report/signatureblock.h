// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "report/reportblock.h"

#include <QCoreApplication>
#include <QFont>
#include <QString>

class QPaintDevice;

// The lines a report is signed on: the technician's (name, date,
// signature) beside the customer's, never cut apart.
class SignatureBlock : public ReportBlock
{
    Q_DECLARE_TR_FUNCTIONS(SignatureBlock)

public:
    SignatureBlock(const QString &technician, const QFont &font, QPaintDevice *device, double width);

    void paint(QCPPainter &painter, double from, double to) const override;

protected:
    ReportPaginator::Block geometry() const override;

private:
    void paintColumn(QCPPainter &painter, double left, const QString &title, const QString &name) const;
    void paintLine(QCPPainter &painter, double left, double baseline, const QString &label, const QString &text) const;
    double rowHeight(int row) const;

    QString m_technician;
    QFont m_font;
    QPaintDevice *m_device;
    double m_width;
    double m_lineHeight;
};
