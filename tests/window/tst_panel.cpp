// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "support/samplerecords.h"
#include "support/windowfixture.h"

#include <QCoreApplication>
#include <QLabel>
#include <QTest>
#include <QTranslator>

#include <functional>

using RecordMaker = std::function<QSharedPointer<DMMData>()>;
Q_DECLARE_METATYPE(RecordMaker)
using LabelTexts = QMap<QString, QString>;

namespace {
// Every property the panel writes, in the order of the expected lists below.
const QList<QPair<QString, QByteArray>> panelProperties = {
    {"lcdTop1", "text"},       {"lcdLeft1", "text"},       {"lcdVSet", "text"},        {"lcdLeft2", "text"},
    {"lcdVOut", "text"},       {"lcdLeft3", "text"},       {"lcdLC", "text"},          {"lcdGreaterSign", "text"},
    {"lcdMain", "text"},       {"lcdRight1", "text"},      {"lcdRight11", "text"},     {"lcdRight2", "text"},
    {"lcdRight21", "text"},    {"lcdRight21", "styleSheet"}, {"lcdRight3", "text"},    {"lcdRight31", "text"},
    {"lcdTimeSet1", "text"},   {"lcdTimeSet11", "text"},   {"lcdTimeSet2", "text"},    {"lcdTimeSet21", "text"},
    {"lcdTesting", "styleSheet"},
};

QStringList panelState(const WindowFixture &fixture)
{
    QStringList state;
    for (const auto &property : panelProperties)
        state << fixture.find<QWidget>(property.first)->property(property.second.constData()).toString();
    return state;
}

// What each property shows, named as in panelProperties.
struct Panel
{
    QString top1, left1, vSet, left2, vOut, left3, lc, sign = " ", main, right1, right11, right2, right21,
        right21Style, right3, right31, timeSet1 = " ", timeSet11 = " ", timeSet2 = " ", timeSet21 = " ", lamp;

    QStringList list() const
    {
        return {top1,   left1,  vSet,         left2,  vOut,    left3,    lc,        sign,     main,      right1, right11,
                right2, right21, right21Style, right3, right31, timeSet1, timeSet11, timeSet2, timeSet21, lamp};
    }
};

const QString red = QStringLiteral("background-color:#ff0000");

Panel insulation(const QString &lamp = QString())
{
    Panel panel;
    panel.left1 = "Vset:";
    panel.vSet = "500 V";
    panel.left2 = "Vout:";
    panel.vOut = "498 V";
    panel.left3 = "LC:";
    panel.lc = "0.04 uA";
    panel.lamp = lamp;
    return panel;
}

Panel irPanel(const QString &sign, const QString &lamp)
{
    Panel panel = insulation(lamp);
    panel.sign = sign;
    panel.main = "12.3 GΩ";
    panel.right1 = "DAR:";
    panel.right11 = "1.52 ";
    panel.right2 = "PI:";
    panel.right21 = "2.31 ";
    panel.right3 = "Time:";
    panel.right31 = "01:05";
    return panel;
}

Panel ratioPanel(const QString &caption, const QString &ratio, const QString &res1, const QString &res2)
{
    Panel panel = insulation(red);
    panel.top1 = caption;
    panel.main = ratio;
    panel.right1 = "RES1:";
    panel.right11 = res1;
    panel.right2 = "RES2:";
    panel.right21 = res2;
    panel.right3 = "Time:";
    panel.right31 = "02:48";
    panel.timeSet1 = "Time-Set1:";
    panel.timeSet11 = "01:00";
    panel.timeSet2 = "Time-Set2:";
    panel.timeSet21 = "10:00";
    return panel;
}

Panel compPanel(const QString &verdict, const QString &colour)
{
    Panel panel = insulation();
    panel.top1 = "COMP";
    panel.main = "12.3 GΩ";
    panel.right1 = "RES-COMP:";
    panel.right11 = "100 MΩ";
    panel.right2 = "Result:";
    panel.right21 = verdict;
    panel.right21Style = colour;
    return panel;
}

QSharedPointer<DMMDataCOMP> compWithResult(quint8 result)
{
    auto record = SampleRecords::comp();
    record->result = result;
    return record;
}

// Marks every text of the window's context, so a test sees which texts went through translation.
class MarkingTranslator : public QTranslator
{
public:
    bool isEmpty() const override { return false; }
    QString translate(const char *context, const char *sourceText, const char *, int) const override
    {
        if (qstrcmp(context, "TemplateWindow") != 0 || !sourceText || !*sourceText)
            return QString();
        return QStringLiteral("<%1>").arg(QString::fromUtf8(sourceText));
    }
};

// A record of each mode with every flag raised, so that each of them leaves
// as much behind on the panel as its mode can.
QList<QSharedPointer<DMMData>> busyRecords()
{
    QList<QSharedPointer<DMMData>> records;
    for (int mode = 0; mode < DMMData::modeCount; ++mode) {
        QSharedPointer<DMMData> record = SampleRecords::ofMode(static_cast<DMMData::DataMode>(mode));
        record->testing = true;
        if (auto *insulation = dynamic_cast<DMMDataIR *>(record.data()))
            insulation->resistanceOverRange = true;
        if (auto *ratio = dynamic_cast<DMMDataPIDAR *>(record.data()))
            ratio->resistance2OverRange = true;
        if (auto *comp = dynamic_cast<DMMDataCOMP *>(record.data()))
            comp->result = 1;
        if (auto *res = dynamic_cast<DMMDataRES *>(record.data()))
            res->overRange = true;
        records << record;
    }
    return records;
}
} // namespace

class TestPanel : public QObject
{
    Q_OBJECT

private slots:
    void eachModeRewritesTheWholePanel_data();
    void eachModeRewritesTheWholePanel();
    void recordsThePanelCannotShowChangeNothing_data();
    void recordsThePanelCannotShowChangeNothing();
    void storedRecordsNeverReachThePanel();
    void captionsAreTranslatedWhereListed_data();
    void captionsAreTranslatedWhereListed();
};

void TestPanel::eachModeRewritesTheWholePanel_data()
{
    QTest::addColumn<QSharedPointer<DMMData>>("record");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("IR") << QSharedPointer<DMMData>(SampleRecords::ir()) << irPanel(" ", QString()).list();
    {
        auto record = SampleRecords::ir();
        record->resistanceOverRange = true;
        record->testing = true;
        QTest::newRow("IR over range, testing") << QSharedPointer<DMMData>(record) << irPanel(">", red).list();
    }
    {
        auto record = SampleRecords::time();
        record->resistanceOverRange = true;
        record->testing = true;
        Panel panel = insulation(red);
        panel.top1 = "Time";
        panel.sign = ">";
        panel.main = "12.3 GΩ";
        panel.right3 = "Time:";
        panel.right31 = "02:48"; // the timed record's own elapsed time, not the IR test time
        panel.timeSet1 = "Time-Set:";
        panel.timeSet11 = "10:00";
        QTest::newRow("Time over range, testing") << QSharedPointer<DMMData>(record) << panel.list();
    }
    {
        auto record = SampleRecords::pi();
        record->resistanceOverRange = true;
        record->testing = true;
        QTest::newRow("PI, RES1 over range")
            << QSharedPointer<DMMData>(record) << ratioPanel("PI", "2.19 ", ">5.20 GΩ", " 11.4 GΩ").list();
    }
    {
        auto record = SampleRecords::dar();
        record->resistance2OverRange = true;
        record->testing = true;
        QTest::newRow("DAR, RES2 over range")
            << QSharedPointer<DMMData>(record) << ratioPanel("DAR", "1.37 ", " 5.20 GΩ", ">11.4 GΩ").list();
    }
    QTest::newRow("COMP pass") << QSharedPointer<DMMData>(compWithResult(2))
                               << compPanel("PASS", "color:#00ff00").list();
    QTest::newRow("COMP fail 1") << QSharedPointer<DMMData>(compWithResult(1))
                                 << compPanel("FAIL", "color:#ff0000").list();
    QTest::newRow("COMP fail 3") << QSharedPointer<DMMData>(compWithResult(3))
                                 << compPanel("FAIL", "color:#ff0000").list();
    QTest::newRow("COMP no verdict") << QSharedPointer<DMMData>(compWithResult(0)) << compPanel("", "").list();
    {
        auto record = compWithResult(2);
        record->resistanceOverRange = true;
        Panel panel = compPanel("PASS", "color:#00ff00");
        panel.sign = ">";
        QTest::newRow("COMP over range") << QSharedPointer<DMMData>(record) << panel.list();
    }
    {
        auto record = SampleRecords::cap();
        record->testing = true;
        Panel panel;
        panel.top1 = "CAP";
        panel.left1 = "Vset:";
        panel.vSet = "1000 V";
        panel.main = "0.47 μF";
        panel.lamp = red;
        QTest::newRow("CAP, testing") << QSharedPointer<DMMData>(record) << panel.list();
    }
    {
        auto record = SampleRecords::volt();
        record->testing = true;
        Panel panel;
        panel.top1 = "VOLT";
        panel.main = "230 V";
        panel.right11 = "AC";
        QTest::newRow("VOLT never lights the lamp") << QSharedPointer<DMMData>(record) << panel.list();
    }
    {
        auto record = SampleRecords::res();
        record->overRange = true;
        Panel panel;
        panel.top1 = "RES";
        panel.sign = ">";
        panel.main = "47.5 Ω";
        QTest::newRow("RES over range") << QSharedPointer<DMMData>(record) << panel.list();
    }
    {
        Panel panel;
        panel.top1 = "RES";
        panel.main = "47.5 Ω";
        QTest::newRow("RES") << QSharedPointer<DMMData>(SampleRecords::res()) << panel.list();
    }
}

// Whatever mode was shown before, the record leaves only its own texts and colours.
void TestPanel::eachModeRewritesTheWholePanel()
{
    QFETCH(QSharedPointer<DMMData>, record);
    QFETCH(QStringList, expected);

    WindowFixture fixture;
    fixture.live(record);
    QCOMPARE(panelState(fixture), expected);
    for (const QSharedPointer<DMMData> &before : busyRecords()) {
        fixture.live(before);
        fixture.live(record);
        QVERIFY2(panelState(fixture) == expected, qPrintable(DMMData::modeName(before->mode)));
    }
}

void TestPanel::recordsThePanelCannotShowChangeNothing_data()
{
    QTest::addColumn<RecordMaker>("make");

    QTest::newRow("mode 8") << RecordMaker([] {
        QSharedPointer<DMMData> record = SampleRecords::res();
        record->mode = static_cast<DMMData::DataMode>(8);
        return record;
    });
    QTest::newRow("negative mode") << RecordMaker([] {
        QSharedPointer<DMMData> record = SampleRecords::ir();
        record->mode = static_cast<DMMData::DataMode>(-1);
        return record;
    });
    QTest::newRow("RES record claiming PI") << RecordMaker([] {
        QSharedPointer<DMMData> record = SampleRecords::res();
        record->mode = DMMData::dmPI;
        return record;
    });
    QTest::newRow("IR record claiming COMP") << RecordMaker([] {
        QSharedPointer<DMMData> record = SampleRecords::ir();
        record->mode = DMMData::dmCOMP;
        return record;
    });
    QTest::newRow("null record") << RecordMaker([] {
        return QSharedPointer<DMMData>();
    });
}

void TestPanel::recordsThePanelCannotShowChangeNothing()
{
    QFETCH(RecordMaker, make);

    WindowFixture fixture;
    auto shown = SampleRecords::pi();
    shown->testing = true;
    fixture.live(shown);
    const QStringList before = panelState(fixture);
    fixture.live(make());
    QCOMPARE(panelState(fixture), before);
}

void TestPanel::storedRecordsNeverReachThePanel()
{
    WindowFixture fixture;
    const QStringList before = panelState(fixture);
    for (int mode = 0; mode < DMMData::modeCount; ++mode)
        fixture.stored(SampleRecords::ofMode(static_cast<DMMData::DataMode>(mode)));
    QCOMPARE(panelState(fixture), before);
}

void TestPanel::captionsAreTranslatedWhereListed_data()
{
    QTest::addColumn<QSharedPointer<DMMData>>("record");
    QTest::addColumn<LabelTexts>("expected");

    QTest::newRow("IR") << QSharedPointer<DMMData>(SampleRecords::ir())
                        << LabelTexts{{"lcdTop1", ""},         {"lcdLeft1", "<Vset:>"}, {"lcdLeft2", "<Vout:>"},
                                      {"lcdLeft3", "LC:"},     {"lcdRight1", "DAR:"},   {"lcdRight2", "PI:"},
                                      {"lcdRight3", "<Time:>"}};
    QTest::newRow("Time") << QSharedPointer<DMMData>(SampleRecords::time())
                          << LabelTexts{{"lcdTop1", "Time"}, {"lcdTimeSet1", "<Time-Set:>"}};
    QTest::newRow("PI") << QSharedPointer<DMMData>(SampleRecords::pi())
                        << LabelTexts{{"lcdTop1", "PI"},
                                      {"lcdRight1", "<RES1:>"},
                                      {"lcdRight2", "<RES2:>"},
                                      {"lcdTimeSet1", "<Time-Set1:>"},
                                      {"lcdTimeSet2", "<Time-Set2:>"}};
    QTest::newRow("COMP") << QSharedPointer<DMMData>(compWithResult(2))
                          << LabelTexts{{"lcdTop1", "COMP"},
                                        {"lcdRight1", "<RES-COMP:>"},
                                        {"lcdRight2", "<Result:>"},
                                        {"lcdRight21", "PASS"}};
    QTest::newRow("CAP") << QSharedPointer<DMMData>(SampleRecords::cap())
                         << LabelTexts{{"lcdTop1", "CAP"}, {"lcdLeft1", "<Vset:>"}};
}

void TestPanel::captionsAreTranslatedWhereListed()
{
    QFETCH(QSharedPointer<DMMData>, record);
    QFETCH(LabelTexts, expected);

    MarkingTranslator translator;
    QVERIFY(QCoreApplication::installTranslator(&translator));
    WindowFixture fixture;
    fixture.live(record);
    QCoreApplication::removeTranslator(&translator);
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        QCOMPARE(fixture.label(it.key())->text(), it.value());
}

QTEST_MAIN(TestPanel)
#include "tst_panel.moc"
