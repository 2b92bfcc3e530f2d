// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "report/reportpaginator.h"

#include <QTest>

namespace {
using Block = ReportPaginator::Block;
using Blocks = QVector<Block>;

constexpr double pageHeight = 100.0;
constexpr double spacing = 5.0;

Block block(double height, const QVector<double> &cuts = {})
{
    Block result;
    result.height = height;
    result.cuts = cuts;
    return result;
}

Block keptWithNext(Block kept)
{
    kept.keepWithNext = true;
    return kept;
}

Block keptTogether(Block kept)
{
    kept.keepTogether = true;
    return kept;
}

Block withHeader(Block table, double headerBottom)
{
    table.headerBottom = headerBottom;
    return table;
}

Block withLineCuts(Block row, const QVector<double> &lineCuts)
{
    row.lineCuts = lineCuts;
    return row;
}

// "page:from-to@y", with "h" where the part repeats its block's header.
QString describe(const QVector<ReportPaginator::Slice> &slices)
{
    QStringList parts;
    for (const ReportPaginator::Slice &slice : slices)
        parts << QStringLiteral("%1:%2-%3@%4%5")
                     .arg(slice.page)
                     .arg(slice.from)
                     .arg(slice.to)
                     .arg(slice.y)
                     .arg(slice.repeatsHeader ? QStringLiteral("h") : QString());
    return parts.join(QStringLiteral(" "));
}
} // namespace

Q_DECLARE_METATYPE(ReportPaginator::Block)

class TestPaginator : public QObject
{
    Q_OBJECT

private slots:
    void placesBlocks_data();
    void placesBlocks();
};

// Pages of 100, 5 between blocks.
void TestPaginator::placesBlocks_data()
{
    QTest::addColumn<Blocks>("blocks");
    QTest::addColumn<QString>("expected");

    QTest::newRow("blocks that fit follow one another") << Blocks{block(40), block(30)} << "0:0-40@0 0:0-30@45";
    QTest::newRow("no spacing at the top of a page") << Blocks{block(80), block(30)} << "0:0-80@0 1:0-30@0";
    QTest::newRow("a block without cuts moves whole") << Blocks{block(70), block(50)} << "0:0-70@0 1:0-50@0";
    QTest::newRow("cut at the last row that fits")
        << Blocks{block(60), block(80, {20, 40, 60})} << "0:0-60@0 0:0-20@65 1:20-80@0";
    QTest::newRow("a continued table repeats its header")
        << Blocks{block(60), withHeader(block(80, {10, 30, 50, 70}), 10)} << "0:0-60@0 0:0-30@65 1:30-80@0h";
    QTest::newRow("continued twice, the header on both pages")
        << Blocks{withHeader(block(200, {10, 60, 100, 150, 190}), 10)} << "0:0-100@0 1:100-190@0h 2:190-200@0h";
    QTest::newRow("a header is not left alone at a page's foot")
        << Blocks{block(75), withHeader(block(80, {10, 30, 50, 70}), 10)} << "0:0-75@0 1:0-80@0";
    QTest::newRow("a table kept together moves when it fits on a page")
        << Blocks{block(60), keptTogether(block(80, {20, 40, 60}))} << "0:0-60@0 1:0-80@0";
    QTest::newRow("a table kept together moves with what is kept with it")
        << Blocks{block(50), keptTogether(keptWithNext(block(30, {10, 20}))), block(40)} << "0:0-50@0 1:0-30@0 1:0-40@35";
    QTest::newRow("a table kept together but taller than a page is cut")
        << Blocks{block(60), keptTogether(block(150, {20, 50, 100}))} << "0:0-60@0 0:0-20@65 1:20-100@0 2:100-150@0";
    QTest::newRow("a heading stays with its table")
        << Blocks{block(80), keptWithNext(block(10)), block(60, {20, 40})} << "0:0-80@0 1:0-10@0 1:0-60@15";
    QTest::newRow("a run taller than a page starts where its lead fits")
        << Blocks{block(30), keptWithNext(block(20)), block(150, {25, 50, 75, 100, 125})}
        << "0:0-30@0 0:0-20@35 0:0-25@60 1:25-125@0 2:125-150@0";
    QTest::newRow("a run whose lead does not fit starts a page")
        << Blocks{block(60), keptWithNext(block(20)), block(150, {50, 100})} << "0:0-60@0 1:0-20@0 1:0-50@25 2:50-150@0";
    QTest::newRow("a heading is not left without its chart")
        << Blocks{block(60), keptWithNext(block(20, {10})), block(30)} << "0:0-60@0 1:0-20@0 1:0-30@25";
    QTest::newRow("a row taller than a page is cut between its lines")
        << Blocks{withLineCuts(block(250), {40, 80, 120, 160, 200, 240})} << "0:0-80@0 1:80-160@0 2:160-250@0";
    QTest::newRow("rows before line cuts")
        << Blocks{withLineCuts(block(150, {30, 140}), {10, 20, 90, 95})} << "0:0-30@0 1:30-95@0 2:95-150@0";
    QTest::newRow("a line taller than a page is cut at the page's foot")
        << Blocks{block(250)} << "0:0-100@0 1:100-200@0 2:200-250@0";
}

void TestPaginator::placesBlocks()
{
    QFETCH(Blocks, blocks);
    QFETCH(QString, expected);

    QCOMPARE(describe(ReportPaginator(pageHeight, spacing).paginate(blocks)), expected);
}

QTEST_APPLESS_MAIN(TestPaginator)
#include "tst_paginator.moc"
