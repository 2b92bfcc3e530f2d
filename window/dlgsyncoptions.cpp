// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "window/dlgsyncoptions.h"
#include "ui_dlgsyncoptions.h"

#include <QRegularExpression>
#include <QRegularExpressionValidator>

DlgSyncOptions::DlgSyncOptions(const SyncSettings &settings, QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::DlgSyncOptions>())
    , m_settings(settings)
{
    ui->setupUi(this);
    ui->cbbTls->addItem(tr("If the server offers it"), QStringLiteral("prefer"));
    ui->cbbTls->addItem(tr("Never"), QStringLiteral("disable"));
    ui->cbbTls->addItem(tr("Always, without checking the server"), QStringLiteral("require"));
    ui->cbbTls->addItem(tr("Always, and verify the server's certificate"), QStringLiteral("verify-full"));
    ui->labelPassword->setText(
        tr("The password is never stored here: it is taken from libpq's password file (~/.pgpass) or service "
           "file, or asked once each time Tessra runs."));
    ui->editService->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[A-Za-z0-9_.-]*")), ui->editService));
    connect(ui->cbEnabled, &QCheckBox::toggled, this, &DlgSyncOptions::enableFields);
    fill(settings);
}

DlgSyncOptions::~DlgSyncOptions() = default;

void DlgSyncOptions::fill(const SyncSettings &settings)
{
    ui->cbEnabled->setChecked(settings.enabled);
    ui->editHost->setText(settings.host);
    ui->spinPort->setValue(settings.port);
    ui->editDatabase->setText(settings.database);
    ui->editUser->setText(settings.user);
    ui->editService->setText(settings.service);
    ui->cbbTls->setCurrentIndex(qMax(0, ui->cbbTls->findData(settings.tls)));
    enableFields(settings.enabled);
}

void DlgSyncOptions::enableFields(bool enabled)
{
    for (QWidget *field : {static_cast<QWidget *>(ui->editHost), static_cast<QWidget *>(ui->spinPort),
                           static_cast<QWidget *>(ui->editDatabase), static_cast<QWidget *>(ui->editUser),
                           static_cast<QWidget *>(ui->editService), static_cast<QWidget *>(ui->cbbTls)})
        field->setEnabled(enabled);
}

// The password asked for this run stays with the settings it was asked for.
SyncSettings DlgSyncOptions::settings() const
{
    SyncSettings settings = m_settings;
    settings.enabled = ui->cbEnabled->isChecked();
    settings.host = ui->editHost->text().trimmed();
    settings.port = ui->spinPort->value();
    settings.database = ui->editDatabase->text().trimmed();
    settings.user = ui->editUser->text().trimmed();
    settings.service = ui->editService->text().trimmed();
    settings.tls = ui->cbbTls->currentData().toString();
    return settings;
}
