// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

class QCustomPlot;

// A chart saved as an image file (JPG, PNG, BMP by their writers, PDF as
// vectors), made whole in memory first so that a failure leaves the file
// that was there before.
class ChartImage
{
    Q_DECLARE_TR_FUNCTIONS(ChartImage)

public:
    ChartImage() = delete;

    // The file name's suffix names the format.
    static bool save(QCustomPlot &plot, const QString &fileName, QString &reason);

private:
    static bool drawAsImage(QCustomPlot &plot, const QByteArray &format, QByteArray &image, QString &reason);
    static bool drawAsPdf(QCustomPlot &plot, QByteArray &pdf, QString &reason);
};
