// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "insulation/equipmentitem.h"

#include <QDialog>
#include <functional>

namespace Ui {
class DlgEquipment;
}

// An item of the equipment register, new or to edit. OK keeps it only when
// the register takes it (a tag it has already is refused with the reason).
class DlgEquipment : public QDialog
{
    Q_OBJECT

public:
    // `save` puts the item in the register; false with a reason refuses it.
    using Save = std::function<bool(EquipmentItem &item, QString &reason)>;

    DlgEquipment(const EquipmentItem &item, Save save, QWidget *parent = nullptr);
    ~DlgEquipment() override;

    EquipmentItem item() const { return m_item; }

    Ui::DlgEquipment *ui = nullptr;

private:
    void showItem();
    void takeForm();
    void saveOrSay();

    EquipmentItem m_item;
    Save m_save;
};
