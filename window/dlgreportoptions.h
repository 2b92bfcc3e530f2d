// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

namespace Ui {
class DlgReportOptions;
}

// What every test report shows of who made it, and on what paper. Kept in
// "options.ini" when accepted.
class DlgReportOptions : public QDialog
{
    Q_OBJECT

public:
    explicit DlgReportOptions(QWidget *parent = nullptr);
    ~DlgReportOptions() override;

    Ui::DlgReportOptions *ui = nullptr;

    void accept() override;

private slots:
    void on_btnLogo_clicked();
};
