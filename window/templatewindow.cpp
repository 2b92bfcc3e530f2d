// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "window/templatewindow.h"

#include "app/proglobal.h"
#include "ui_templatewindow.h"

#include <QIcon>

TemplateWindow::TemplateWindow(QWidget *parent, Qt::WindowFlags flags)
    : QWidget(parent, flags)
    , ui(new Ui::TemplateWindow)
{
    ui->setupUi(this);
    initWidget();
}

TemplateWindow::~TemplateWindow()
{
    delete ui;
}

void TemplateWindow::initWidget()
{
    setWindowTitle(QStringLiteral("%1 %2").arg(ProGlobal::instance()->appTitle(),
                                               ProGlobal::instance()->appVersion()));
    setWindowIcon(QIcon(QStringLiteral(":images/app.ico")));
}
