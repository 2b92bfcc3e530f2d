// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include "insulation/curveanalysis.h"
#include "insulation/insulationtest.h"
#include "insulation/runningprediction.h"
#include "insulation/testdetails.h"
#include "insulation/verdict.h"
#include "journal/testcatalogue.h"
#include "window/reportactions.h"

#include <QHash>
#include <QList>
#include <QWidget>

#include <optional>

class QTreeWidgetItem;
class SessionRecorder;

namespace Ui {
class TestsWindow;
}

// The insulation tests beside the window's readings: the list of tests, the
// test running now at its top, growing as readings arrive; for the selected
// test its curve with the marks the ratios are read at, the values derived
// from it, its details and its verdict with the reasons. Beside them, never
// in them, the PI prediction: carried on from the running test's curve, and
// for a finished one what it said at 1, 2, 3 and 5 minutes against the PI
// measured.
class TestsWindow : public QWidget
{
    Q_OBJECT

public:
    explicit TestsWindow(SessionRecorder &recorder, QWidget *parent = nullptr);
    ~TestsWindow() override;

    Ui::TestsWindow *ui = nullptr;

    // A test as the list and the panel show it.
    struct Shown
    {
        InsulationTest test;
        TestDetails details;
        CurveAnalysis::Values values;
        Verdict verdict;
    };
    static Shown judged(const InsulationTest &test, const TestDetails &details);
    static QStringList rowTexts(const Shown &shown);
    // What the prediction said of a finished test, beside the PI measured;
    // empty for a test it did not follow to ten minutes.
    static QString reviewText(const Shown &shown);

    // The test the panel shows; the running test while it is selected.
    std::optional<Shown> current() const { return m_current; }

public slots:
    void refresh();

signals:
    // Details or an item were saved.
    void edited();

private slots:
    void on_btnSaveDetails_clicked();
    void on_btnDiscard_clicked();
    void on_cbUseNext_clicked(bool checked);
    void on_btnNewItem_clicked();
    void on_btnReport_clicked();
    void on_cbLeakage_toggled(bool checked);

private:
    void fitScreen();
    void setUpDetailsForm();
    void onRunning(const InsulationTest &test);
    void onKept(const InsulationTest &test);
    void showSelected();
    void showTest(const Shown &shown, bool withDetails);
    void drawCurve(const Shown &shown);
    void showReview(const Shown &shown);
    void showVerdict(const Shown &shown, bool unsaved = false);
    void holdReasonsHeight(const Shown &shown);
    void showDetails(const TestDetails &details);
    void watchForm();
    void formEdited();
    void setEdited(bool edited);
    void previewVerdict();
    bool settleEdits();
    bool saveForm();
    void showOffer();
    void placeRows(const QList<qint64> &ids);
    QTreeWidgetItem *rowOf(qint64 id) const;
    Shown shownOf(qint64 id) const;
    void takeItemOfTag();
    bool offerToRegister(const TestDetails &details);
    void enableItemFields();
    void enableTestDate();
    void enableHalving();
    TestDetails detailsInForm() const;
    QTreeWidgetItem *runningItem() const;
    void fillRow(QTreeWidgetItem *item, const Shown &shown) const;

    SessionRecorder &m_recorder;
    TestCatalogue m_catalogue;
    ReportActions m_reports;
    QList<InsulationTest> m_kept;
    QHash<qint64, Shown> m_judged; // kept tests already made from their readings
    std::optional<InsulationTest> m_running;
    RunningPrediction m_runningPrediction;
    // The running test's, up to its latest reading.
    std::optional<PiPrediction> m_prediction;
    std::optional<Shown> m_current;
    // The details the form was filled from: what belongs to an item the
    // form does not show stays as they had it.
    TestDetails m_shownDetails;
    // The test whose details the form holds: a kept test's id, the running
    // test's or none yet (the next test's).
    qint64 m_formId = -2;
    bool m_edited = false; // the form holds what the user typed, not saved yet
    bool m_filling = false;
    qint64 m_reasonsId = -3; // the test whose reasons set the label's height
};
