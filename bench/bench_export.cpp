// Copyright (c) 2026 The Tessra developers
// SPDX-License-Identifier: MIT
//
// CSV export of a table of a million rows, against writing the same cell
// texts, fetched the same way, with a plain buffered stream.
#include "bench/appscoped.h"
#include "bench/benchfigures.h"
#include "bench/benchreadings.h"
#include "models/columnset.h"
#include "models/datamodel.h"
#include "models/modelfactory.h"
#include "util/utils.h"

#include <QByteArray>
#include <QDir>
#include <QString>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {
constexpr int million = 1000000;

// An IR table of a million readings, filled once for the whole run.
class Table
{
public:
    Table()
        : m_model(ModelFactory::createLiveModel(DMMData::dmIR, m_columns.columns(DMMData::dmIR)))
    {
        BenchReadings readings;
        for (int row = 0; row < million; ++row)
            m_model->addData(readings.nextIR());
    }

    DataModel *model() const { return m_model.get(); }

private:
    ColumnSet m_columns;
    std::unique_ptr<DataModel> m_model;
};

DataModel *table()
{
    return appScoped<Table>().model();
}

QString csvPath()
{
    return QDir::current().filePath(QStringLiteral("export.csv"));
}

QString cellText(const DataModel &model, int row, int column)
{
    return model.data(model.index(row, column), Qt::DisplayRole).toString();
}

void ExportCSV(benchmark::State &state)
{
    DataModel *model = table();
    for (auto _ : state) {
        if (!Utils::exportToCSV(model, csvPath()))
            state.SkipWithError("export failed");
    }
    state.counters["rows"] = model->rowCount();
}

// Header and rows with the same texts, UTF-8, commas and line feeds, into a
// buffered C stream; no quoting.
void PlainStream(benchmark::State &state)
{
    const DataModel &model = *table();
    const int columns = model.columnCount();
    for (auto _ : state) {
        std::FILE *file = std::fopen(csvPath().toLocal8Bit().constData(), "wb");
        if (!file) {
            state.SkipWithError("cannot open the file");
            break;
        }
        std::setvbuf(file, nullptr, _IOFBF, 1 << 16);
        QByteArray line;
        for (int c = 0; c < columns; ++c) {
            line += model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString().toUtf8();
            line += c + 1 < columns ? ',' : '\n';
        }
        std::fwrite(line.constData(), 1, size_t(line.size()), file);
        for (int r = 0; r < model.rowCount(); ++r) {
            line.clear();
            for (int c = 0; c < columns; ++c) {
                line += cellText(model, r, c).toUtf8();
                line += c + 1 < columns ? ',' : '\n';
            }
            std::fwrite(line.constData(), 1, size_t(line.size()), file);
        }
        std::fclose(file);
    }
}

// Only fetching the cell texts from the model: what both of the above share.
void CellTexts(benchmark::State &state)
{
    const DataModel &model = *table();
    const int columns = model.columnCount();
    for (auto _ : state) {
        for (int r = 0; r < model.rowCount(); ++r) {
            for (int c = 0; c < columns; ++c)
                benchmark::DoNotOptimize(cellText(model, r, c));
        }
    }
}

BENCHMARK(ExportCSV)->Iterations(1)->Repetitions(5)->Unit(benchmark::kMillisecond);
BENCHMARK(PlainStream)->Iterations(1)->Repetitions(5)->Unit(benchmark::kMillisecond);
BENCHMARK(CellTexts)->Iterations(1)->Repetitions(5)->Unit(benchmark::kMillisecond);

[[maybe_unused]] const bool figures[] = {
    BenchFigures::addRatio("CSV export / plain stream, 1 000 000 rows", "ExportCSV", "PlainStream", 1.5),
    BenchFigures::addRatio("cell texts alone / plain stream, 1 000 000 rows", "CellTexts", "PlainStream", 0.0),
};
} // namespace
