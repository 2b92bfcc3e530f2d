// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "models/modelfactory.h"

#include "meter/dmmdata.h"
#include "models/datamodelstoredcap.h"
#include "models/datamodelstoredcomp.h"
#include "models/datamodelstoreddar.h"
#include "models/datamodelstoredir.h"
#include "models/datamodelstoredpi.h"
#include "models/datamodelstoredres.h"
#include "models/datamodelstoredtime.h"
#include "models/datamodelstoredvolt.h"

std::unique_ptr<DataModel> ModelFactory::createLiveModel(int mode, const QList<Column *> &columns)
{
    switch (mode) {
    case DMMData::dmIR:
        return std::make_unique<DataModelIR>(columns);
    case DMMData::dmTime:
        return std::make_unique<DataModelTime>(columns);
    case DMMData::dmPI:
        return std::make_unique<DataModelPI>(columns);
    case DMMData::dmDAR:
        return std::make_unique<DataModelDAR>(columns);
    case DMMData::dmCOMP:
        return std::make_unique<DataModelCOMP>(columns);
    case DMMData::dmCAP:
        return std::make_unique<DataModelCAP>(columns);
    case DMMData::dmVOLT:
        return std::make_unique<DataModelVOLT>(columns);
    case DMMData::dmRES:
        return std::make_unique<DataModelRES>(columns);
    default:
        return nullptr;
    }
}

std::unique_ptr<DataModel> ModelFactory::createStoredModel(int mode, const QList<Column *> &columns)
{
    switch (mode) {
    case DMMData::dmIR:
        return std::make_unique<DataModelStoredIR>(columns);
    case DMMData::dmTime:
        return std::make_unique<DataModelStoredTime>(columns);
    case DMMData::dmPI:
        return std::make_unique<DataModelStoredPI>(columns);
    case DMMData::dmDAR:
        return std::make_unique<DataModelStoredDAR>(columns);
    case DMMData::dmCOMP:
        return std::make_unique<DataModelStoredCOMP>(columns);
    case DMMData::dmCAP:
        return std::make_unique<DataModelStoredCAP>(columns);
    case DMMData::dmVOLT:
        return std::make_unique<DataModelStoredVOLT>(columns);
    case DMMData::dmRES:
        return std::make_unique<DataModelStoredRES>(columns);
    default:
        return nullptr;
    }
}
