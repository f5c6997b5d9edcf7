// Loading a large node file into the table and both node trees, and writing it.
#include "commands/RepaintPace.h"
#include "app/TreeWidgetView.h"
#include "network/NodeFileLoader.h"
#include "nodes/NodeFile.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <benchmark/benchmark.h>

using namespace vorlu;

namespace {

constexpr std::size_t kRecords = 10000;

NodeTable makeTable()
{
    NodeTable t;
    for (std::size_t i = 1; i <= kRecords; ++i) {
        NodeRecord r = discoveredNode("WS-" + std::to_string(i));
        r.IP = "10." + std::to_string(i / 65536) + "." + std::to_string(i / 256 % 256) + "." + std::to_string(i % 256);
        r.Login = i % 7 == 0 ? "admin" : "";
        r.Password = i % 7 == 0 ? "secret" : "";
        r.Enabled = i % 13 == 0 ? "Jump" : "True";
        t.append(r);
    }
    return t;
}

void BM_LoadNodeFileIntoTrees(benchmark::State& state)
{
    QTemporaryDir dir;
    const std::filesystem::path folder = dir.path().toStdString();
    saveNodeFile(folder / NodeFileName, makeTable(), NodeFileForm::Plain);
    for (auto _ : state) {
        QTreeWidget nodeTree, loginTree;
        TreeWidgetView nodeView(&nodeTree), loginView(&loginTree);
        NodeTable table;
        RepaintPace pace;
        loadNodeFile(folder, table, "NAME", "10.0.0.1", nodeView, &loginView, [&pace] { pace.yield(); });
        nodeView.expandAll();
        loginView.expandAll();
        benchmark::DoNotOptimize(table.count());
    }
}
BENCHMARK(BM_LoadNodeFileIntoTrees)->Unit(benchmark::kMillisecond);

void BM_SaveNodeFile(benchmark::State& state)
{
    QTemporaryDir dir;
    const NodeTable table = makeTable();
    const std::filesystem::path file = dir.path().toStdString() + "/lg.ini";
    for (auto _ : state)
        benchmark::DoNotOptimize(saveNodeFile(file, table, NodeFileForm::Plain));
}
BENCHMARK(BM_SaveNodeFile)->Unit(benchmark::kMillisecond);

} // namespace

#include "QtBenchmarkMain.h"
