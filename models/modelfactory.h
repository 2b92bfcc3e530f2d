// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QList>

#include <memory>

struct Column;
class DataModel;

// Creates the live or stored table model of a mode by its DMMData::DataMode value.
class ModelFactory
{
public:
    ModelFactory() = delete;

    // Null for a value that names no mode.
    static std::unique_ptr<DataModel> createLiveModel(int mode, const QList<Column *> &columns);
    static std::unique_ptr<DataModel> createStoredModel(int mode, const QList<Column *> &columns);
};
