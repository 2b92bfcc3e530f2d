// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "report/reportblock.h"
#include "report/reportcontent.h"

#include <QCoreApplication>
#include <QString>
#include <QVector>

#include <memory>
#include <vector>

class QFont;
class QPaintDevice;

// The flow of a report between its page headers and footers, in reading
// order: the title and the equipment, each test with its curve (by day and
// test point, under a heading for each where the tests name their points),
// the item's trend with its warnings (of a one-test report, that test's
// only), the rules the verdicts rest on, and the signature lines. Its
// texts come first so that a font can be chosen for them; the blocks are
// laid out in that font for the device.
class ReportBody
{
    Q_DECLARE_TR_FUNCTIONS(ReportBody)

public:
    ReportBody(const ReportContent &content, const QString &technician);

    // Everything the body writes, for the choice of a font.
    QString text() const;
    std::vector<std::unique_ptr<ReportBlock>> blocks(const QFont &font, QPaintDevice *device, double width,
                                                     double dotsPerInch) const;

private:
    struct Part
    {
        enum class Kind { Text, Curve, Trend, Signature };
        Kind kind = Kind::Text;
        QString html;
        int test = -1; // of a curve
        bool keepWithNext = false;
        bool keepTogether = false;
    };

    void addTests();
    void addTrend();
    void keepWarningsOfReportedTests();
    Part &add(Part::Kind kind, const QString &html = QString());
    std::unique_ptr<ReportBlock> block(const Part &part, const QFont &font, QPaintDevice *device, double width,
                                       double dotsPerInch) const;

    ReportContent m_content;
    QList<TrendAnalysis::Point> m_trend;
    QString m_technician;
    QVector<Part> m_parts;
};
