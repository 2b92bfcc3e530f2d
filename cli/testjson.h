// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>

struct InsulationTest;
struct TestDetails;

// One insulation test as a single line of JSON, as --list-tests prints it:
// what the meter measured, the values its curve gives, the details it was
// kept with and the verdict with its reasons; for a PI test, and a TIME test
// of ten minutes, the prediction of its ten-minute resistance and PI, apart
// from the verdict, which never rests on it. Numbers that do not exist are
// null.
class TestJson
{
public:
    TestJson() = delete;

    // Predictions are made from the readings up to ten minutes, or up to
    // `predictAtSeconds` of test time when that is positive. Without a line end.
    static QByteArray line(const InsulationTest &test, const TestDetails &details, double predictAtSeconds = -1);
};
