// Address scans of a segment of network namespaces (needs root): the lab /24
// of ten computers among 254 addresses, where every address without a host
// and the firewalled ones have to time out, and 4,096 addresses of which
// nearly all time out. Memory is measured as the growth of the peak resident
// size: first over the largest range a scan takes, 65,536 loopback addresses
// (refused at once, so the attempts run as fast as they can be opened).
#include "addresses/AddressScanner.h"
#include "support/Netns.h"
#include "support/ScanSegment.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <fstream>
#include <memory>
#include <thread>

namespace {

using namespace vorlu;
using test::ScanSegment;

long peakKb()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void scanInSegment(benchmark::State& state, const char* rangeText, std::size_t expected)
{
    const std::string unavailable = ScanSegment::unavailableReason();
    if (!unavailable.empty()) {
        state.SkipWithError(unavailable.c_str());
        return;
    }
    std::unique_ptr<ScanSegment> segment;
    try {
        segment = std::make_unique<ScanSegment>(ScanSegment::lab());
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
        return;
    }
    QTemporaryDir dir;
    const std::filesystem::path hosts = std::filesystem::path(dir.path().toStdString()) / "hosts";
    std::ofstream(hosts) << ScanSegment::LabNames;
    std::string error;
    const auto names = HostsFileNames::load(hosts, error);
    std::string reason;
    const auto range = parseAddressRange(rangeText, reason);
    if (!names || !range) {
        state.SkipWithError((error + reason).c_str());
        return;
    }
    AddressScanServices services{*names};
    const long before = peakKb();
    std::size_t found = 0;
    for (auto _ : state) {
        std::thread scanner([&] {
            const auto inside = test::ThreadInNamespace::enter(segment->clientNamespace(), &error);
            if (inside)
                found = scanAddresses(*range, services).size();
        });
        scanner.join();
        if (!error.empty() || found != expected) {
            state.SkipWithError(("found " + std::to_string(found) + " computers " + error).c_str());
            return;
        }
    }
    state.counters["addresses"] = range->count;
    state.counters["found"] = static_cast<double>(found);
    state.counters["peak_growth_kB"] = static_cast<double>(peakKb() - before);
}

void BM_ProbeLoopbackSlash16(benchmark::State& state)
{
    const long before = peakKb();
    std::size_t open = 0;
    for (auto _ : state)
        probePorts(0x7F000000u, MaxRangeAddresses, PortProbeOptions{},
                   [&](std::uint32_t, const std::vector<std::uint16_t>&) { ++open; });
    state.counters["addresses"] = MaxRangeAddresses;
    state.counters["peak_growth_kB"] = static_cast<double>(peakKb() - before);
}
BENCHMARK(BM_ProbeLoopbackSlash16)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

void BM_ScanLabSlash24(benchmark::State& state) { scanInSegment(state, ScanSegment::Subnet, 10); }
BENCHMARK(BM_ScanLabSlash24)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_Scan4096Addresses(benchmark::State& state) { scanInSegment(state, "10.78.0.0-10.78.15.255", 10); }
BENCHMARK(BM_Scan4096Addresses)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

} // namespace

#define VORLU_BENCH_NO_GUI
#include "QtBenchmarkMain.h"
