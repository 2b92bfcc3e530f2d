// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

namespace Ui {
class TemplateWindow;
}

// The program's only window.
class TemplateWindow : public QWidget
{
    Q_OBJECT

public:
    explicit TemplateWindow(QWidget *parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());
    ~TemplateWindow() override;

private:
    void initWidget();

    Ui::TemplateWindow *ui = nullptr;
};
