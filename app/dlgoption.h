// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

namespace Ui {
class DlgOption;
}

// The options dialog: language and the sampling rules of the live table.
// The main window fills it, runs it and reads the choices back through `ui`.
class DlgOption : public QDialog
{
    Q_OBJECT

public:
    explicit DlgOption(QWidget *parent = nullptr);
    ~DlgOption() override;

    Ui::DlgOption *ui = nullptr;

private slots:
    void on_cbInfinite_toggled(bool checked);
    void on_spinSamplePoints_valueChanged(int value);
};
