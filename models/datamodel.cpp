// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "models/datamodel.h"

#include "meter/valuebox.h"
#include "models/column.h"

#include <QLocale>

#include <algorithm>

DataModel::DataModel(const QList<Column *> &columns, QObject *parent)
    : QAbstractTableModel(parent)
    , m_columns(columns)
{
}

DataModel::~DataModel() = default;

// A table: cells never have children.
int DataModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows.size();
}

int DataModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_columns.size();
}

QVariant DataModel::data(const QModelIndex &index, int role) const
{
    const DMMData *record = recordAt(index);
    if (!record)
        return {};
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignHCenter | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};

    switch (index.column()) {
    case ColNumber:
        return index.row() + 1;
    case ColDateTime:
        return QLocale::system().toString(record->dateTime, QLocale::LongFormat);
    case ColMode:
        return DMMData::modeName(record->mode);
    default:
        return {};
    }
}

QVariant DataModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columns.size())
        return {};
    const Column *column = m_columns.at(section);
    if (!column)
        return {};
    if (role == Qt::DisplayRole)
        return column->title;
    if (role == NameRole)
        return column->name;
    return {};
}

Qt::ItemFlags DataModel::flags(const QModelIndex &index) const
{
    return QAbstractTableModel::flags(index) & ~Qt::ItemIsEditable;
}

int DataModel::addData(QSharedPointer<DMMData> record)
{
    const int row = m_rows.size();
    beginInsertRows(QModelIndex(), row, row);
    m_rows.append(std::move(record));
    endInsertRows();
    return m_rows.size();
}

int DataModel::addRecords(const QList<QSharedPointer<DMMData>> &records)
{
    if (records.isEmpty())
        return rowCount();
    const int first = rowCount();
    beginInsertRows(QModelIndex(), first, first + records.size() - 1);
    m_rows.append(records);
    endInsertRows();
    return rowCount();
}

void DataModel::clear()
{
    if (m_rows.isEmpty())
        return;
    beginRemoveRows(QModelIndex(), 0, m_rows.size() - 1);
    m_rows.clear();
    endRemoveRows();
}

QList<QSharedPointer<DMMData>> DataModel::getData() const
{
    return m_rows;
}

QString DataModel::getVOLTViewStr(const QSharedPointer<DMMDataVOLT> &record)
{
    return record ? record->voltage.toString() : QString();
}

QString DataModel::getCAPViewStr(const QSharedPointer<DMMDataCAP> &record)
{
    return record ? record->capacitance.toString() : QString();
}

DMMData *DataModel::recordAt(const QModelIndex &index) const
{
    if (!index.isValid() || index.model() != this)
        return nullptr;
    if (index.row() >= m_rows.size() || index.column() >= m_columns.size())
        return nullptr;
    return m_rows.at(index.row()).data();
}

QString DataModel::titleOf(int column) const
{
    return headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
}

QVariant DataModel::displayTextAt(int row, int column) const
{
    return data(index(row, column), Qt::DisplayRole);
}

bool DataModel::isDashCell(const QModelIndex &index, int role, std::initializer_list<int> columns) const
{
    return role == Qt::DisplayRole && recordAt(index)
           && std::find(columns.begin(), columns.end(), index.column()) != columns.end();
}

QVariant DataModel::dash()
{
    return QStringLiteral("-");
}

QString DataModel::flaggedText(ValueBox &box, bool overRange)
{
    const QString text = box.toString();
    return overRange ? QLatin1Char('>') + text : text;
}
