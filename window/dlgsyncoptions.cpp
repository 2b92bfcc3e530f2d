// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "window/dlgsyncoptions.h"
#include "ui_dlgsyncoptions.h"

#include <QDir>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

DlgSyncOptions::DlgSyncOptions(const SyncSettings &settings, QWidget *parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::DlgSyncOptions>())
    , m_settings(settings)
{
    ui->setupUi(this);
    ui->cbbTls->addItem(tr("Encrypted, and the server checked (recommended)"), QStringLiteral("verify-full"));
    ui->cbbTls->addItem(tr("Encrypted, but any server accepted"), QStringLiteral("require"));
    ui->cbbTls->addItem(tr("Encrypted only if the server offers it, any server accepted"), QStringLiteral("prefer"));
    ui->cbbTls->addItem(tr("Not encrypted"), QStringLiteral("disable"));
    ui->labelPassword->setText(
        tr("The password is never stored here: it is taken from libpq's password file (~/.pgpass) or service "
           "file, or asked once each time Tessra runs."));
    ui->editService->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[A-Za-z0-9_.-]*")), ui->editService));
    connect(ui->cbEnabled, &QCheckBox::toggled, this, &DlgSyncOptions::enableFields);
    connect(ui->cbbTls, qOverload<int>(&QComboBox::currentIndexChanged), this, &DlgSyncOptions::explainTls);
    fill(settings);
    explainTls();
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

// What a choice other than the recommended one lets through, in plain words.
void DlgSyncOptions::explainTls()
{
    const QString mode = ui->cbbTls->currentData().toString();
    QString warning;
    if (mode == QLatin1String("verify-full")) {
        if (!SyncSettings::hasRootCertificate())
            warning = tr("The server is checked against your department's root certificate, which Tessra looks for "
                         "in %1; it is not there yet.")
                          .arg(QDir::toNativeSeparators(SyncSettings::rootCertificatePath()));
    } else if (mode == QLatin1String("require")) {
        warning = tr("Warning: Tessra does not check that it talks to your team's server. Anyone who can redirect "
                     "the connection can pose as the server and receive every test and the password.");
    } else if (mode == QLatin1String("prefer")) {
        warning = tr("Warning: if the server offers no encryption, everything goes over the network as plain text, "
                     "the password included, and Tessra does not check that it talks to your team's server.");
    } else {
        warning = tr("Warning: everything goes over the network as plain text, the password included.");
    }
    ui->labelTlsWarning->setText(warning);
    ui->labelTlsWarning->setVisible(!warning.isEmpty());
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
