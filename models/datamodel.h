// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "meter/dmmdata.h"

#include <QAbstractTableModel>
#include <QList>
#include <QSharedPointer>
#include <QString>
#include <QVariant>

#include <initializer_list>

struct Column;

// Table of the measurement records of one mode, one row per record in the
// order they arrived; the concrete models add the cells of their mode.
class DataModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    // Columns every mode shares; a mode's own columns start after them.
    enum CommonColumns : int {
        ColNumber = 0,
        ColDateTime = 1,
        ColMode = 2,
        FirstModeColumn = 3,
    };

    // Role under which headerData answers a column's untranslated name.
    static constexpr int NameRole = Qt::UserRole + 1;

    // The models share the columns with their caller and never delete them.
    explicit DataModel(const QList<Column *> &columns, QObject *parent = nullptr);
    ~DataModel() override;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // Title of the mode's main column, which labels the chart's value axis.
    virtual QString getMainTitle() const = 0;
    // Display text of the main column in `row`.
    virtual QVariant getMainValue(int row) const = 0;

    // Appends a record as the last row and returns the new row count.
    int addData(QSharedPointer<DMMData> record);
    // Appends records in one insertion, as when a session is loaded back.
    int addRecords(const QList<QSharedPointer<DMMData>> &records);
    void clear();
    QList<QSharedPointer<DMMData>> getData() const;

    static QString getVOLTViewStr(const QSharedPointer<DMMDataVOLT> &record);
    static QString getCAPViewStr(const QSharedPointer<DMMDataCAP> &record);

    // The box's text, after ">" when the value is above the measuring range.
    static QString flaggedText(ValueBox &box, bool overRange);

protected:
    // The record behind a cell of this model, or null for an invalid or
    // foreign index, a row or column out of range (such as an index kept
    // across clear()) or a null record.
    DMMData *recordAt(const QModelIndex &index) const;

    // The record viewed as its mode's class; null as above and also for a
    // record of another class, whose fields must not be read as this mode's.
    template <class Record>
    Record *recordAs(const QModelIndex &index) const
    {
        return dynamic_cast<Record *>(recordAt(index));
    }

    QString titleOf(int column) const;
    QVariant displayTextAt(int row, int column) const;

    // True for the display text of a record's cell in one of `columns`.
    bool isDashCell(const QModelIndex &index, int role, std::initializer_list<int> columns) const;
    static QVariant dash();

private:
    QList<QSharedPointer<DMMData>> m_rows;
    QList<Column *> m_columns;
};
