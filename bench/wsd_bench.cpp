// Network Scan over WS-Discovery: a segment of 20 hosts, each one Debian's
// wsdd in a network namespace of its own, scanned from a client namespace
// with the scan's default timing. Needs root (network namespaces).
#include "remote/WsDiscoveryEnumerator.h"
#include "support/WsddNetwork.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace vorlu;
using test::WsddNetwork;

constexpr int Hosts = 20;

void BM_ScanTwentyWsddHosts(benchmark::State& state)
{
    const std::string unavailable = WsddNetwork::unavailableReason();
    if (!unavailable.empty()) {
        state.SkipWithError(unavailable.c_str());
        return;
    }
    std::vector<std::string> names;
    for (int i = 0; i < Hosts; ++i)
        names.push_back("HOST" + std::to_string(i));
    std::unique_ptr<WsddNetwork> net;
    try {
        net = std::make_unique<WsddNetwork>(names, std::chrono::seconds(120));
    } catch (const std::runtime_error& e) {
        state.SkipWithError(e.what());
        return;
    }
    std::size_t found = 0;
    for (auto _ : state) {
        EnumerationAnswer answer;
        std::string error;
        if (!net->runInClient([&] { answer = WsDiscoveryEnumerator().enumerateServers(0); }, &error)) {
            state.SkipWithError(error.c_str());
            return;
        }
        found = answer.names.size();
        if (found != Hosts) {
            state.SkipWithError(("found " + std::to_string(found) + " of the hosts").c_str());
            return;
        }
    }
    state.counters["hosts"] = static_cast<double>(found);
}
BENCHMARK(BM_ScanTwentyWsddHosts)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace

#define VORLU_BENCH_NO_GUI
#include "QtBenchmarkMain.h"
