// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "meter/unittable.h"

#include <QTest>

class TestUnitTable : public QObject
{
    Q_OBJECT

private slots:
    void megohmFactorScalesResistancesToMega_data();
    void megohmFactorScalesResistancesToMega();
};

void TestUnitTable::megohmFactorScalesResistancesToMega_data()
{
    QTest::addColumn<QString>("unit");
    QTest::addColumn<double>("factor");

    QTest::newRow("MΩ") << "MΩ" << 1.0;
    QTest::newRow("GΩ") << "GΩ" << 1000.0;
    QTest::newRow("TΩ") << "TΩ" << 1000000.0;
    QTest::newRow("lower-case t") << "tΩ" << 1000000.0;
    QTest::newRow("Ω") << "Ω" << 1.0;
    QTest::newRow("empty") << "" << 1.0;
    QTest::newRow("V") << "V" << 1.0;
}

void TestUnitTable::megohmFactorScalesResistancesToMega()
{
    QFETCH(QString, unit);
    QFETCH(double, factor);

    QCOMPARE(UnitTable::megohmFactor(unit), factor);
}

QTEST_APPLESS_MAIN(TestUnitTable)
#include "tst_unittable.moc"
