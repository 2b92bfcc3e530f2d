// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "insulation/equipmentitem.h"
#include "insulation/trendanalysis.h"
#include "journal/testcatalogue.h"
#include "window/reportactions.h"

#include <QList>
#include <QWidget>

#include <optional>

class QMouseEvent;
class SessionRecorder;

namespace Ui {
class EquipmentWindow;
}

// The equipment register: its items, and for the item chosen its tests
// over the years as a trend (corrected IR1min on a logarithmic axis, PI on
// a second one, the minimum lines of its verdict rules, the early warnings)
// and its reports.
class EquipmentWindow : public QWidget
{
    Q_OBJECT

public:
    explicit EquipmentWindow(SessionRecorder &recorder, QWidget *parent = nullptr);
    ~EquipmentWindow() override;

    Ui::EquipmentWindow *ui = nullptr;

    std::optional<EquipmentItem> current() const;
    QList<TrendAnalysis::Point> trend() const { return m_trend; }
    // What a point's tooltip tells: its time and test point, values,
    // temperature, verdict and warning.
    static QString pointText(const TrendAnalysis::Point &point);

public slots:
    void refresh();
    // The item's tests as the list, the warnings and the chart show them,
    // in time order as TrendAnalysis leaves them.
    void showTrend(const QList<TrendAnalysis::Point> &trend);

signals:
    // An item was saved or removed.
    void edited();

private slots:
    void on_btnNew_clicked();
    void on_btnEdit_clicked();
    void on_btnDelete_clicked();
    void on_btnExport_clicked();
    void on_btnReportOptions_clicked();
    void on_btnReport_clicked();
    void on_cbAllDates_toggled(bool checked);

private:
    void setUpPlot();
    void showItem();
    void showTests();
    void showWarnings();
    void showTooltip(QMouseEvent *event);
    bool edit(EquipmentItem item);

    TestCatalogue m_catalogue;
    ReportActions m_reports;
    QList<EquipmentItem> m_items;
    QList<TrendAnalysis::Point> m_trend;
};
