// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "meter/valuebox.h"
#include "meter/valueboxint.h"

#include <QDateTime>
#include <QMetaType>
#include <QObject>
#include <QSharedPointer>
#include <QString>

// One decoded meter frame. One class per measurement mode; readers pick the
// class by `mode`. Records are created without parent, held only through
// QSharedPointer and never changed once emitted.
class DMMData : public QObject
{
    Q_OBJECT

public:
    // A fixed underlying type keeps a mode value outside the list (a record
    // filled from elsewhere, a test probing the guards) defined behaviour.
    enum DataMode : int {
        dmIR = 0,
        dmTime = 1,
        dmPI = 2,
        dmDAR = 3,
        dmCOMP = 4,
        dmCAP = 5,
        dmVOLT = 6,
        dmRES = 7,
    };
    Q_ENUM(DataMode)

    static constexpr int modeCount = 8;

    DMMData();
    ~DMMData() override;

    // The mode's key without its "dm" prefix ("IR", "Time", ...); empty for
    // a value that names no mode.
    static QString modeName(int mode);

    QDateTime dateTime;
    DataMode mode = dmIR;
    int auxValue = 0;
    bool testing = false;
};

class DMMDataIR : public DMMData
{
public:
    DMMDataIR();
    ~DMMDataIR() override;

    ValueBox resistance;
    ValueBox leakageCurrent;
    ValueBoxInt setVoltage;
    ValueBoxInt outputVoltage;
    bool resistanceOverRange = false;
    ValueBox dar;
    ValueBox pi;
    bool stateFlag1 = false;
    bool stateFlag2 = false;
    quint16 testTime = 0;
};

class DMMDataTime : public DMMDataIR
{
public:
    DMMDataTime();
    ~DMMDataTime() override;

    quint16 elapsedTime = 0;
    quint16 setTime = 0;
};

// Common base of the PI and DAR records; never created itself.
class DMMDataPIDAR : public DMMDataTime
{
public:
    ~DMMDataPIDAR() override;

    ValueBox resistance2;
    quint16 setTime2 = 0;
    bool resistance2OverRange = false;

protected:
    DMMDataPIDAR();
};

class DMMDataPI : public DMMDataPIDAR
{
public:
    DMMDataPI();
    ~DMMDataPI() override;

    ValueBox piRatio;
};

class DMMDataDAR : public DMMDataPIDAR
{
public:
    DMMDataDAR();
    ~DMMDataDAR() override;

    ValueBox darRatio;
};

class DMMDataCOMP : public DMMDataIR
{
public:
    DMMDataCOMP();
    ~DMMDataCOMP() override;

    ValueBoxInt compareLimit;
    quint8 result = 0; // 0 no verdict, 2 pass, anything else fail
};

class DMMDataCAP : public DMMData
{
public:
    DMMDataCAP();
    ~DMMDataCAP() override;

    ValueBox capacitance;
    ValueBoxInt setVoltage;
    bool overRange = false;
    bool underRange = false;
};

class DMMDataVOLT : public DMMData
{
public:
    DMMDataVOLT();
    ~DMMDataVOLT() override;

    ValueBox voltage;
    QString acdc;
    quint8 negative = 0;
    bool underRange = false;
    bool overload = false;
};

class DMMDataRES : public DMMData
{
public:
    DMMDataRES();
    ~DMMDataRES() override;

    ValueBox resistance;
    bool overRange = false;
};

Q_DECLARE_METATYPE(QSharedPointer<DMMData>)
