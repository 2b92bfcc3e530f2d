// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "app/dlgoption.h"

#include "ui_dlgoption.h"

DlgOption::DlgOption(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::DlgOption)
{
    ui->setupUi(this);
}

DlgOption::~DlgOption()
{
    delete ui;
}

void DlgOption::on_cbInfinite_toggled(bool checked)
{
    ui->spinSamplePoints->setEnabled(!checked);
}

void DlgOption::on_spinSamplePoints_valueChanged(int value)
{
    Q_UNUSED(value)
}
