// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "journal/journalsession.h"

#include <QDialog>
#include <QList>

class BackgroundJob;
class SessionRecorder;
class TemplateWindow;

namespace Ui {
class DlgHistory;
}

// The sessions kept in the journal, found by date: one is opened into the
// tables, exported to CSV per mode, or deleted. Long work shows its
// progress in the dialog and can be cancelled.
class DlgHistory : public QDialog
{
    Q_OBJECT

public:
    // Opened sessions go into `window`'s tables.
    DlgHistory(SessionRecorder &recorder, TemplateWindow &window, QWidget *parent = nullptr);
    ~DlgHistory() override;

    // Runs a job with the dialog's progress bar and Cancel button; the other
    // buttons wait meanwhile.
    bool runJob(BackgroundJob &job);

    Ui::DlgHistory *ui = nullptr;

    // The texts of a session's row, as the list shows them.
    static QStringList rowTexts(const JournalSession &session);

private slots:
    void on_btnOpen_clicked();
    void on_btnExport_clicked();
    void on_btnDelete_clicked();
    void on_cbAllDates_toggled(bool checked);

private:
    void showSessions();
    void updateButtons();
    const JournalSession *selected() const;
    void setBusy(bool busy);
    void reportFailure(const QString &text);
    QString filedTestsText(qint64 sessionId) const;

    SessionRecorder &m_recorder;
    TemplateWindow &m_window;
    QString m_error;
    QList<JournalSession> m_sessions;
};
