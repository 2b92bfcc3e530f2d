// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

// Answers the modal boxes, dialogs and pop-up menus the code under test
// opens, one step per window, in order, and records what each one showed.
// Steps wait for a window of their class that no earlier step answered.
class ModalScript : public QObject
{
    Q_OBJECT

public:
    // What a dialog showed before it was answered.
    struct Seen
    {
        bool shown = false;
        QString title;
        QString text;
        QString informativeText;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
        QStringList items;
        int currentItem = -1;
        QString label;
        QString nameFilter;
    };

    ModalScript();
    ~ModalScript() override;

    // What happens while a dialog is open, before it is answered (records
    // arriving, say).
    using Meanwhile = std::function<void()>;

    // Each returns the record of what that dialog showed, filled when answered.
    const Seen &messageBox(QMessageBox::StandardButton button, Meanwhile meanwhile = {});
    // An empty name cancels the dialog.
    const Seen &fileDialog(const QString &fileName, Meanwhile meanwhile = {});
    // An index of -1 cancels the chooser.
    const Seen &itemDialog(int index);
    // A pop-up menu: triggers its action with this text.
    const Seen &popupMenu(const QString &actionText);
    // Anything else: `act` receives the modal widget of `className`.
    const Seen &dialog(const char *className, std::function<void(QWidget *)> act);

    bool finished() const;
    int answered() const;

private:
    struct Step
    {
        const char *className;
        std::function<void(QWidget *, Seen &)> act;
        Seen seen;
    };

    const Seen &append(const char *className, std::function<void(QWidget *, Seen &)> act);
    void poll();

    std::vector<std::unique_ptr<Step>> m_steps;
    std::size_t m_next = 0;
    std::size_t m_acted = 0;
    QPointer<QWidget> m_lastAnswered;
    QTimer m_timer;
};
