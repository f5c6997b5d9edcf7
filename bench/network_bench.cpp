// Network discovery speed: a first Network Scan of 500 computers whose name
// lookups each take 50 ms, and a Re-Scan merging 20,000 listed names into a
// table of 20,000 records.
#include "NullTree.h"
#include "commands/CommandGate.h"
#include "network/NetworkDiscovery.h"
#include "network/NetworkScanCommands.h"
#include "platform/SimulatedNetwork.h"
#include "platform/SimulatedPlatform.h"
#include "support/ScriptedMessageBoxes.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

using namespace vorlu;

// Discards everything, so only the scan itself is timed.
class NullDialog : public ScanListView {
public:
    void setCaption(const std::string&) override {}
    void showDialog() override {}
    void setStatus(const std::string& text) override { benchmark::DoNotOptimize(text.data()); }
    void clearGridText() override {}
    void setGridRowCount(int rows) override { benchmark::DoNotOptimize(rows); }
    void setGridCell(int, int, const std::string&) override {}
    void setGridColumnShown(int, bool) override {}
    void setProgress(std::size_t, std::size_t) override {}
};

class NullMenu : public NetworkMenu {
public:
    void setNetworkScanEnabled(bool) override {}
    void setRescanEnabled(bool) override {}
};

std::shared_ptr<SimulatedNetwork> network(int computers, int latencyMs)
{
    auto net = std::make_shared<SimulatedNetwork>();
    for (int i = 0; i < computers; ++i) {
        SimulatedNetwork::Computer c;
        c.name = "PC-" + std::to_string(i);
        c.address = "10." + std::to_string(i / 65536) + "." + std::to_string((i / 256) % 256) + "."
                    + std::to_string(i % 256);
        c.latencyMs = latencyMs;
        net->computers.push_back(std::move(c));
    }
    return net;
}

void BM_NetworkScan500Computers50msEach(benchmark::State& state)
{
    const auto net = network(500, 50);
    SimulatedEnumerator enumerator(net);
    SimulatedSocketLayer sockets(net);
    NullDialog dialog;
    bench::NullTree tree;
    NullMenu menu;
    ScriptedMessageBoxes boxes;
    RepaintPace pace; // the window's, as the program runs the scan
    for (auto _ : state) {
        NodeTable table;
        ScanFlags flags;
        NetworkScanState scan;
        CommandGate gate;
        const NetworkContext ctx{table, flags, scan, dialog, boxes};
        NetworkDiscovery discovery(ctx, pace, enumerator, sockets, tree);
        NetworkScanCommands commands(ctx, pace, discovery, menu, gate, {});
        commands.NetworkScan();
        if (table.count() != 500 || table.at(500).IP.empty() || !boxes.boxes().empty())
            state.SkipWithError("the scan did not resolve every computer");
    }
}
BENCHMARK(BM_NetworkScan500Computers50msEach)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// listed: 20,000 names; newPercent of them are not in the table yet.
void BM_Rescan20000Into20000(benchmark::State& state)
{
    const int records = 20000;
    const int newOnes = static_cast<int>(records * state.range(0) / 100);
    NodeTable base;
    for (int i = 0; i < records; ++i)
        base.append(discoveredNode("PC-" + std::to_string(i)));
    std::vector<std::string> listedNames;
    for (int i = 0; i < records; ++i)
        listedNames.push_back("PC-" + std::to_string(i < newOnes ? records + i : i));

    class ListEnumerator : public ServerEnumerator {
    public:
        explicit ListEnumerator(std::vector<std::string> n) : names_(std::move(n)) {}
        EnumerationAnswer enumerateServers(std::uint32_t) override { return {0, names_}; }

    private:
        std::vector<std::string> names_;
    } enumerator(listedNames);

    auto none = std::make_shared<SimulatedNetwork>();
    SimulatedSocketLayer sockets(none);
    NullDialog dialog;
    bench::NullTree tree;
    ScriptedMessageBoxes boxes;
    struct NoRepaint : RepaintPace {
        void yield() override {}
    } pace;
    for (auto _ : state) {
        state.PauseTiming();
        NodeTable table = base;
        ScanFlags flags;
        NetworkScanState scan;
        scan.RescanMode = true;
        NetworkDiscovery discovery(NetworkContext{table, flags, scan, dialog, boxes}, pace, enumerator, sockets, tree);
        state.ResumeTiming();

        discovery.ScanNetwork();

        state.PauseTiming();
        if (table.count() != static_cast<std::size_t>(records + newOnes))
            state.SkipWithError("wrong merge");
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Rescan20000Into20000)->Arg(0)->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
