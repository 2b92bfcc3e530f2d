// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>

struct InsulationTest;
struct TestDetails;

// One insulation test as a single line of JSON, as --list-tests prints it:
// what the meter measured, the values its curve gives, the details it was
// kept with and the verdict with its reasons. Numbers that do not exist are
// null.
class TestJson
{
public:
    TestJson() = delete;

    // Without a line end.
    static QByteArray line(const InsulationTest &test, const TestDetails &details);
};
