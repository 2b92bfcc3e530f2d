// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "meter/dmmdata.h"
#include "models/column.h"
#include "models/columnset.h"
#include "models/datamodelir.h"
#include "models/datamodelvolt.h"
#include "models/modelfactory.h"

#include <QAbstractItemModelTester>
#include <QCoreApplication>
#include <QLocale>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTest>
#include <QTranslator>

#include <cmath>
#include <limits>
#include <memory>

namespace {

QSharedPointer<DMMData> irRecord(const QString &resistanceText = QStringLiteral("1.00"))
{
    auto record = QSharedPointer<DMMDataIR>::create();
    record->dateTime = QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5));
    record->resistance = {resistanceText, resistanceText.toDouble(), QStringLiteral("GΩ")};
    return record;
}

QSharedPointer<DMMData> recordOfMode(int mode)
{
    switch (mode) {
    case DMMData::dmIR: return QSharedPointer<DMMDataIR>::create();
    case DMMData::dmTime: return QSharedPointer<DMMDataTime>::create();
    case DMMData::dmPI: return QSharedPointer<DMMDataPI>::create();
    case DMMData::dmDAR: return QSharedPointer<DMMDataDAR>::create();
    case DMMData::dmCOMP: return QSharedPointer<DMMDataCOMP>::create();
    case DMMData::dmCAP: return QSharedPointer<DMMDataCAP>::create();
    case DMMData::dmVOLT: return QSharedPointer<DMMDataVOLT>::create();
    default: return QSharedPointer<DMMDataRES>::create();
    }
}

// Hands out indexes the views never ask for, such as a column past the end.
class ProbeModel : public DataModelIR
{
public:
    using DataModelIR::DataModelIR;
    QModelIndex rawIndex(int row, int column) const { return createIndex(row, column); }
};

// Stands in for a loaded catalogue: marks what it translates in the window's context.
class MarkingTranslator : public QTranslator
{
public:
    bool isEmpty() const override { return false; }
    QString translate(const char *context, const char *sourceText, const char *, int) const override
    {
        if (qstrcmp(context, "TemplateWindow") != 0)
            return QString();
        return QStringLiteral("[%1]").arg(QString::fromUtf8(sourceText));
    }
};

constexpr int centred = 0x84;

} // namespace

class TestDataModel : public QObject
{
    Q_OBJECT

private slots:
    void columnListsOfEveryMode_data();
    void columnListsOfEveryMode();
    void titlesAreTranslatedNamesAreNot();
    void headerRequestsOutsideTheColumns_data();
    void headerRequestsOutsideTheColumns();
    void liveAndStoredModelsOfAModeShareColumns();
    void invalidModeGivesNoColumnsAndNoModel();
    void addDataAnnouncesOneRowAndReturnsCount();
    void clearRemovesAllRowsOrNothing_data();
    void clearRemovesAllRowsOrNothing();
    void everyModelPassesTheModelTester_data();
    void everyModelPassesTheModelTester();
    void cellsAreNeverEditable();
    void rowsAreNumberedFromOne();
    void modeColumnNamesTheMode_data();
    void modeColumnNamesTheMode();
    void unanswerableCellsGiveNothing_data();
    void unanswerableCellsGiveNothing();
    void columnsPastTheModesLastAreEmptyButCentred();
    void recordOfAnotherModeShowsOnlyCommonColumns();
    void getDataKeepsRecordsAliveAfterClear();
    void largeModelAnswersItsLastRow();
    void panelTextHelpers_data();
    void panelTextHelpers();

private:
    ColumnSet m_columns;
};

void TestDataModel::columnListsOfEveryMode_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QStringList>("names");

    const QStringList common{"No.", "Date/Time", "Mode"};
    const QStringList piDarTail{"Time", "Time-Set1", "Time-Set2", "LC", "V-Set", "V-Out"};
    QTest::newRow("IR") << int(DMMData::dmIR)
                        << common + QStringList{"RES", "LC", "V-Set", "V-Out", "DAR", "PI", "Time"};
    QTest::newRow("TIME") << int(DMMData::dmTime)
                          << common + QStringList{"RES", "Time", "Time-Set", "LC", "V-Set", "V-Out"};
    QTest::newRow("PI") << int(DMMData::dmPI) << common + QStringList{"RES1", "RES2", "PI"} + piDarTail;
    QTest::newRow("DAR") << int(DMMData::dmDAR) << common + QStringList{"RES1", "RES2", "DAR"} + piDarTail;
    QTest::newRow("COMP") << int(DMMData::dmCOMP)
                          << common + QStringList{"RES-COMP", "RES", "Result", "LC", "V-Set", "V-Out"};
    QTest::newRow("CAP") << int(DMMData::dmCAP) << common + QStringList{"CAP", "V-Set"};
    QTest::newRow("VOLT") << int(DMMData::dmVOLT) << common + QStringList{"VOLT", "AC/DC"};
    QTest::newRow("RES") << int(DMMData::dmRES) << common + QStringList{"RES"};
}

// Without a catalogue every title is its name, except VOLT's "ACDC".
void TestDataModel::columnListsOfEveryMode()
{
    QFETCH(int, mode);
    QFETCH(QStringList, names);

    const auto model = ModelFactory::createLiveModel(mode, m_columns.columns(mode));
    QCOMPARE(model->columnCount(), names.size());
    for (int section = 0; section < names.size(); ++section) {
        const QString name = names.at(section);
        const QString title = name == QLatin1String("AC/DC") ? QStringLiteral("ACDC") : name;
        QCOMPARE(model->headerData(section, Qt::Horizontal, DataModel::NameRole), QVariant(name));
        QCOMPARE(model->headerData(section, Qt::Horizontal, Qt::DisplayRole), QVariant(title));
        QCOMPARE(m_columns.columns(mode).at(section)->reserved, 1);
    }
}

void TestDataModel::titlesAreTranslatedNamesAreNot()
{
    MarkingTranslator translator;
    QCoreApplication::installTranslator(&translator);
    const ColumnSet translated;
    QCoreApplication::removeTranslator(&translator);

    const QList<Column *> volt = translated.columns(DMMData::dmVOLT);
    QCOMPARE(volt.at(4)->name, QStringLiteral("AC/DC"));
    QCOMPARE(volt.at(4)->title, QStringLiteral("[ACDC]"));
    for (const QList<Column *> &list : translated.lists()) {
        for (const Column *column : list) {
            if (column->name != QLatin1String("AC/DC"))
                QCOMPARE(column->title, QLatin1Char('[') + column->name + QLatin1Char(']'));
        }
    }

    const DataModelVOLT model(volt);
    QCOMPARE(model.getMainTitle(), QStringLiteral("[VOLT]"));
    QCOMPARE(model.headerData(3, Qt::Horizontal, DataModel::NameRole), QVariant(QStringLiteral("VOLT")));
}

void TestDataModel::headerRequestsOutsideTheColumns_data()
{
    QTest::addColumn<int>("section");
    QTest::addColumn<int>("orientation");
    QTest::addColumn<int>("role");

    QTest::newRow("vertical display") << 0 << int(Qt::Vertical) << int(Qt::DisplayRole);
    QTest::newRow("vertical name") << 0 << int(Qt::Vertical) << DataModel::NameRole;
    QTest::newRow("section -1") << -1 << int(Qt::Horizontal) << int(Qt::DisplayRole);
    QTest::newRow("section past the last") << 10 << int(Qt::Horizontal) << int(Qt::DisplayRole);
    QTest::newRow("name past the last") << 10 << int(Qt::Horizontal) << DataModel::NameRole;
    QTest::newRow("tool tip") << 3 << int(Qt::Horizontal) << int(Qt::ToolTipRole);
    QTest::newRow("user role") << 3 << int(Qt::Horizontal) << int(Qt::UserRole);
    QTest::newRow("user role + 2") << 3 << int(Qt::Horizontal) << int(Qt::UserRole + 2);
}

void TestDataModel::headerRequestsOutsideTheColumns()
{
    QFETCH(int, section);
    QFETCH(int, orientation);
    QFETCH(int, role);

    DataModelIR model(m_columns.columns(DMMData::dmIR));
    model.addData(irRecord());
    QVERIFY(!model.headerData(section, Qt::Orientation(orientation), role).isValid());
}

void TestDataModel::liveAndStoredModelsOfAModeShareColumns()
{
    for (int mode = 0; mode < DMMData::modeCount; ++mode) {
        const auto live = ModelFactory::createLiveModel(mode, m_columns.columns(mode));
        const auto stored = ModelFactory::createStoredModel(mode, m_columns.columns(mode));
        QCOMPARE(stored->columnCount(), live->columnCount());
        for (int section = 0; section < live->columnCount(); ++section)
            QCOMPARE(stored->headerData(section, Qt::Horizontal), live->headerData(section, Qt::Horizontal));
        QCOMPARE(stored->getMainTitle(), live->getMainTitle());
    }
}

void TestDataModel::invalidModeGivesNoColumnsAndNoModel()
{
    for (const int mode : {-1, int(DMMData::modeCount)}) {
        QVERIFY(m_columns.columns(mode).isEmpty());
        QVERIFY(!ModelFactory::createLiveModel(mode, {}));
        QVERIFY(!ModelFactory::createStoredModel(mode, {}));
    }
    QCOMPARE(m_columns.lists().size(), int(DMMData::modeCount));
}

void TestDataModel::addDataAnnouncesOneRowAndReturnsCount()
{
    DataModelIR model(m_columns.columns(DMMData::dmIR));
    QAbstractItemModelTester tester(&model);
    QSignalSpy aboutToInsert(&model, &QAbstractItemModel::rowsAboutToBeInserted);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QCOMPARE(model.rowCount(), 0);

    for (int n = 0; n < 3; ++n) {
        QCOMPARE(model.addData(irRecord()), n + 1);
        QCOMPARE(model.rowCount(), n + 1);
        QCOMPARE(aboutToInsert.size(), 1);
        QCOMPARE(inserted.size(), 1);
        const QList<QVariant> args = inserted.takeFirst();
        QVERIFY(!args.at(0).value<QModelIndex>().isValid());
        QCOMPARE(args.at(1).toInt(), n);
        QCOMPARE(args.at(2).toInt(), n);
        aboutToInsert.clear();
    }
    // A cell is not a parent of rows.
    QCOMPARE(model.rowCount(model.index(0, 0)), 0);
    QCOMPARE(model.columnCount(model.index(0, 0)), 0);
}

void TestDataModel::clearRemovesAllRowsOrNothing_data()
{
    QTest::addColumn<int>("rows");

    QTest::newRow("empty model: no signal") << 0;
    QTest::newRow("one row") << 1;
    QTest::newRow("three rows") << 3;
}

void TestDataModel::clearRemovesAllRowsOrNothing()
{
    QFETCH(int, rows);

    DataModelIR model(m_columns.columns(DMMData::dmIR));
    QAbstractItemModelTester tester(&model);
    for (int i = 0; i < rows; ++i)
        model.addData(irRecord());
    QSignalSpy aboutToRemove(&model, &QAbstractItemModel::rowsAboutToBeRemoved);
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);

    model.clear();

    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(reset.size(), 0);
    if (rows == 0) {
        QCOMPARE(aboutToRemove.size(), 0);
        QCOMPARE(removed.size(), 0);
        return;
    }
    QCOMPARE(aboutToRemove.size(), 1);
    QCOMPARE(removed.size(), 1);
    QCOMPARE(removed.at(0).at(1).toInt(), 0);
    QCOMPARE(removed.at(0).at(2).toInt(), rows - 1);
}

void TestDataModel::everyModelPassesTheModelTester_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("stored");

    for (int mode = 0; mode < DMMData::modeCount; ++mode) {
        const QByteArray name = DMMData::modeName(mode).toLatin1();
        QTest::addRow("%s live", name.constData()) << mode << false;
        QTest::addRow("%s stored", name.constData()) << mode << true;
    }
}

void TestDataModel::everyModelPassesTheModelTester()
{
    QFETCH(int, mode);
    QFETCH(bool, stored);

    const auto model = stored ? ModelFactory::createStoredModel(mode, m_columns.columns(mode))
                              : ModelFactory::createLiveModel(mode, m_columns.columns(mode));
    QAbstractItemModelTester tester(model.get());
    model->addData(recordOfMode(mode));
    model->addData(recordOfMode(mode));
    model->clear();
    model->addData(recordOfMode(mode));
}

void TestDataModel::cellsAreNeverEditable()
{
    DataModelIR model(m_columns.columns(DMMData::dmIR));
    model.addData(irRecord());
    for (int column = 0; column < model.columnCount(); ++column) {
        const Qt::ItemFlags flags = model.flags(model.index(0, column));
        QVERIFY(!(flags & Qt::ItemIsEditable));
        QVERIFY(flags & Qt::ItemIsSelectable);
        QVERIFY(flags & Qt::ItemIsEnabled);
    }
    QVERIFY(!(model.flags(QModelIndex()) & Qt::ItemIsEditable));
}

void TestDataModel::rowsAreNumberedFromOne()
{
    DataModelIR model(m_columns.columns(DMMData::dmIR));
    model.addData(irRecord(QStringLiteral("1.00")));
    model.addData(irRecord(QStringLiteral("2.00")));

    QCOMPARE(model.data(model.index(0, DataModel::ColNumber)), QVariant(1));
    QCOMPARE(model.data(model.index(1, DataModel::ColNumber)), QVariant(2));
    QCOMPARE(model.getMainValue(1), QVariant(QStringLiteral("2.00 GΩ")));
    const QDateTime stamp(QDate(2026, 1, 2), QTime(3, 4, 5));
    QCOMPARE(model.data(model.index(1, DataModel::ColDateTime)),
             QVariant(QLocale::system().toString(stamp, QLocale::LongFormat)));
}

void TestDataModel::modeColumnNamesTheMode_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("expected");

    QTest::newRow("IR") << int(DMMData::dmIR) << QStringLiteral("IR");
    QTest::newRow("TIME spelled as its key") << int(DMMData::dmTime) << QStringLiteral("Time");
    QTest::newRow("PI") << int(DMMData::dmPI) << QStringLiteral("PI");
    QTest::newRow("DAR") << int(DMMData::dmDAR) << QStringLiteral("DAR");
    QTest::newRow("COMP") << int(DMMData::dmCOMP) << QStringLiteral("COMP");
    QTest::newRow("CAP") << int(DMMData::dmCAP) << QStringLiteral("CAP");
    QTest::newRow("VOLT") << int(DMMData::dmVOLT) << QStringLiteral("VOLT");
    QTest::newRow("RES") << int(DMMData::dmRES) << QStringLiteral("RES");
}

void TestDataModel::modeColumnNamesTheMode()
{
    QFETCH(int, mode);
    QFETCH(QString, expected);

    const auto model = ModelFactory::createLiveModel(mode, m_columns.columns(mode));
    model->addData(recordOfMode(mode));
    QCOMPARE(model->data(model->index(0, DataModel::ColMode)), QVariant(expected));
}

void TestDataModel::unanswerableCellsGiveNothing_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<int>("role");

    for (const int role : {int(Qt::DisplayRole), int(Qt::TextAlignmentRole)}) {
        const char *roleName = role == Qt::DisplayRole ? "display" : "alignment";
        QTest::addRow("invalid index, %s", roleName) << QStringLiteral("invalid") << role;
        QTest::addRow("index of another model, %s", roleName) << QStringLiteral("foreign") << role;
        QTest::addRow("index kept across clear, %s", roleName) << QStringLiteral("stale") << role;
        QTest::addRow("negative row, %s", roleName) << QStringLiteral("negative row") << role;
        QTest::addRow("column past the header, %s", roleName) << QStringLiteral("past header") << role;
        QTest::addRow("null record, %s", roleName) << QStringLiteral("null record") << role;
    }
}

// None of these may crash; all answer an invalid value.
void TestDataModel::unanswerableCellsGiveNothing()
{
    QFETCH(QString, cell);
    QFETCH(int, role);

    ProbeModel model(m_columns.columns(DMMData::dmIR));
    QStandardItemModel other(2, 10);
    QModelIndex index;
    if (cell == QLatin1String("foreign")) {
        model.addData(irRecord());
        index = other.index(0, 3);
    } else if (cell == QLatin1String("stale")) {
        model.addData(irRecord());
        index = model.index(0, 3);
        model.clear();
    } else if (cell == QLatin1String("negative row")) {
        model.addData(irRecord());
        index = model.rawIndex(-1, 3);
    } else if (cell == QLatin1String("past header")) {
        model.addData(irRecord());
        index = model.rawIndex(0, model.columnCount());
    } else if (cell == QLatin1String("null record")) {
        model.addData(QSharedPointer<DMMData>());
        index = model.index(0, 3);
        QCOMPARE(model.getMainValue(0), QVariant());
        QVERIFY(!model.data(model.index(0, DataModel::ColNumber)).isValid());
    }
    QVERIFY(!model.data(index, role).isValid());
}

// Views may be given more columns than a mode fills; the extra cells are blank.
void TestDataModel::columnsPastTheModesLastAreEmptyButCentred()
{
    QList<Column *> columns = m_columns.columns(DMMData::dmIR);
    Column extra(QStringLiteral("Extra"), QStringLiteral("Extra"));
    columns << &extra << &extra;
    DataModelIR model(columns);
    model.addData(irRecord());

    for (const int column : {10, 11}) {
        const QModelIndex index = model.index(0, column);
        QVERIFY(index.isValid());
        QVERIFY(!model.data(index, Qt::DisplayRole).isValid());
        QCOMPARE(model.data(index, Qt::TextAlignmentRole), QVariant(centred));
    }
}

// A record of another mode must not be read as this mode's class: only the
// columns every mode shares are shown.
void TestDataModel::recordOfAnotherModeShowsOnlyCommonColumns()
{
    for (int mode = 0; mode < DMMData::modeCount; ++mode) {
        const int otherMode = mode == DMMData::dmVOLT ? DMMData::dmCAP : DMMData::dmVOLT;
        for (const bool stored : {false, true}) {
            const auto model = stored ? ModelFactory::createStoredModel(mode, m_columns.columns(mode))
                                      : ModelFactory::createLiveModel(mode, m_columns.columns(mode));
            model->addData(recordOfMode(otherMode));
            QCOMPARE(model->data(model->index(0, DataModel::ColNumber)), QVariant(1));
            QCOMPARE(model->data(model->index(0, DataModel::ColMode)), QVariant(DMMData::modeName(otherMode)));
            QVERIFY(!model->getMainValue(0).isValid());
            for (int column = DataModel::FirstModeColumn; column < model->columnCount(); ++column) {
                const QVariant shown = model->data(model->index(0, column));
                // Stored tables still show their dashes, which read no field.
                QVERIFY2(!shown.isValid() || (stored && shown == QVariant(QStringLiteral("-"))),
                         qPrintable(QStringLiteral("column %1").arg(column)));
            }
        }
    }
}

void TestDataModel::getDataKeepsRecordsAliveAfterClear()
{
    DataModelIR model(m_columns.columns(DMMData::dmIR));
    QWeakPointer<DMMData> watched;
    {
        const QSharedPointer<DMMData> record = irRecord();
        watched = record;
        model.addData(record);
    }
    const QList<QSharedPointer<DMMData>> copy = model.getData();
    model.clear();
    QCOMPARE(copy.size(), 1);
    QVERIFY(!watched.isNull());
    QCOMPARE(copy.first(), watched.toStrongRef());
    QVERIFY(model.getData().isEmpty());
}

void TestDataModel::largeModelAnswersItsLastRow()
{
    constexpr int rows = 100000;
    DataModelIR model(m_columns.columns(DMMData::dmIR));
    const QSharedPointer<DMMData> shared = irRecord(QStringLiteral("1.00"));
    for (int i = 0; i < rows - 1; ++i)
        model.addData(shared);
    QCOMPARE(model.addData(irRecord(QStringLiteral("7.77"))), rows);

    QCOMPARE(model.data(model.index(rows - 1, DataModel::ColNumber)), QVariant(rows));
    QCOMPARE(model.getMainValue(rows - 1), QVariant(QStringLiteral("7.77 GΩ")));
    QCOMPARE(model.getMainValue(rows - 2), QVariant(QStringLiteral("1.00 GΩ")));
}

void TestDataModel::panelTextHelpers_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<double>("valueAfter");

    const double nan = std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("finite") << 12.5 << QStringLiteral("12.5") << QStringLiteral("12.5 %1") << 12.5;
    QTest::newRow("status word") << 0.0 << QStringLiteral("OL") << QStringLiteral("OL %1") << 0.0;
    QTest::newRow("NaN") << nan << QStringLiteral("nan") << QStringLiteral("- %1") << 0.0;
    QTest::newRow("infinite") << std::numeric_limits<double>::infinity() << QStringLiteral("inf")
                              << QStringLiteral("- %1") << 0.0;
}

void TestDataModel::panelTextHelpers()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QFETCH(double, valueAfter);

    auto volt = QSharedPointer<DMMDataVOLT>::create();
    volt->voltage = {text, value, QStringLiteral("V")};
    QCOMPARE(DataModel::getVOLTViewStr(volt), expected.arg(QStringLiteral("V")));
    QCOMPARE(volt->voltage.value, valueAfter);

    auto cap = QSharedPointer<DMMDataCAP>::create();
    cap->capacitance = {text, value, QStringLiteral("μF")};
    QCOMPARE(DataModel::getCAPViewStr(cap), expected.arg(QStringLiteral("μF")));
    QCOMPARE(cap->capacitance.value, valueAfter);

    QVERIFY(DataModel::getVOLTViewStr({}).isEmpty());
    QVERIFY(DataModel::getCAPViewStr({}).isEmpty());
}

QTEST_MAIN(TestDataModel)
#include "tst_datamodel.moc"
