// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#include "support/modalscript.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

ModalScript::ModalScript()
{
    connect(&m_timer, &QTimer::timeout, this, &ModalScript::poll);
    m_timer.start(20);
}

ModalScript::~ModalScript() = default;

const ModalScript::Seen &ModalScript::messageBox(QMessageBox::StandardButton button, Meanwhile meanwhile)
{
    return append("QMessageBox", [button, meanwhile](QWidget *widget, Seen &seen) {
        if (meanwhile)
            meanwhile();
        auto *box = static_cast<QMessageBox *>(widget);
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.informativeText = box->informativeText();
        seen.icon = box->icon();
        seen.defaultButton = box->defaultButton() ? box->standardButton(box->defaultButton()) : QMessageBox::NoButton;
        if (QAbstractButton *answer = box->button(button))
            answer->click();
        else
            box->reject();
    });
}

const ModalScript::Seen &ModalScript::fileDialog(const QString &fileName, Meanwhile meanwhile)
{
    return append("QFileDialog", [fileName, meanwhile](QWidget *widget, Seen &seen) {
        if (meanwhile)
            meanwhile();
        auto *dialog = static_cast<QFileDialog *>(widget);
        seen.title = dialog->windowTitle();
        seen.nameFilter = dialog->nameFilters().join(QLatin1String(";;"));
        if (fileName.isEmpty()) {
            dialog->reject();
            return;
        }
        // Typed as a user does: selectFile() leaves a focused name field alone.
        if (auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
            name->setText(fileName);
        else
            dialog->selectFile(fileName);
        // Through the slot, which runs the dialog's own checks, such as
        // asking before an existing file is replaced.
        QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
    });
}

const ModalScript::Seen &ModalScript::itemDialog(int index)
{
    return append("QInputDialog", [index](QWidget *widget, Seen &seen) {
        auto *dialog = static_cast<QInputDialog *>(widget);
        seen.title = dialog->windowTitle();
        seen.label = dialog->labelText();
        seen.items = dialog->comboBoxItems();
        seen.currentItem = seen.items.indexOf(dialog->textValue());
        if (index < 0) {
            dialog->reject();
            return;
        }
        dialog->setTextValue(seen.items.value(index));
        dialog->accept();
    });
}

const ModalScript::Seen &ModalScript::popupMenu(const QString &actionText)
{
    return append("QMenu", [actionText](QWidget *widget, Seen &seen) {
        auto *menu = static_cast<QMenu *>(widget);
        for (QAction *action : menu->actions()) {
            seen.items << action->text();
            if (action->text() == actionText) {
                menu->setActiveAction(action);
                QTest::keyClick(menu, Qt::Key_Return);
                return;
            }
        }
        menu->close();
    });
}

const ModalScript::Seen &ModalScript::dialog(const char *className, std::function<void(QWidget *)> act)
{
    return append(className, [act](QWidget *widget, Seen &seen) {
        seen.title = widget->windowTitle();
        act(widget);
    });
}

// Every step has acted, not merely found its window: what it saw is filled.
bool ModalScript::finished() const
{
    return m_acted == m_steps.size();
}

int ModalScript::answered() const
{
    return static_cast<int>(m_next);
}

const ModalScript::Seen &ModalScript::append(const char *className, std::function<void(QWidget *, Seen &)> act)
{
    m_steps.push_back(std::make_unique<Step>(Step{className, std::move(act), Seen()}));
    return m_steps.back()->seen;
}

void ModalScript::poll()
{
    if (m_next == m_steps.size())
        return;
    const bool wantsPopup = qstrcmp(m_steps[m_next]->className, "QMenu") == 0;
    QWidget *modal = wantsPopup ? QApplication::activePopupWidget() : QApplication::activeModalWidget();
    if (!modal || modal == m_lastAnswered || !modal->inherits(m_steps[m_next]->className))
        return;
    Step *step = m_steps[m_next++].get();
    m_lastAnswered = modal;
    step->seen.shown = true;
    // Answered from the event loop, not from this timer's slot: an answer
    // that opens the next dialog would otherwise block the timer that must
    // answer that one.
    const QPointer<QWidget> target(modal);
    QMetaObject::invokeMethod(
        this,
        [this, step, target] {
            ++m_acted;
            if (target)
                step->act(target, step->seen);
        },
        Qt::QueuedConnection);
}
