// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "sync/syncsettings.h"

#include <QDialog>

#include <memory>

namespace Ui {
class DlgSyncOptions;
}

// Where the team's server is: host, port, database, user, a libpq service
// and how the connection is protected, the recommended way first and the
// others with what they let through. There is no field for the password on
// purpose.
class DlgSyncOptions : public QDialog
{
    Q_OBJECT

public:
    explicit DlgSyncOptions(const SyncSettings &settings, QWidget *parent = nullptr);
    ~DlgSyncOptions() override;

    SyncSettings settings() const;

    std::unique_ptr<Ui::DlgSyncOptions> ui;

private:
    void fill(const SyncSettings &settings);
    void enableFields(bool enabled);
    void explainTls();

    SyncSettings m_settings;
};
