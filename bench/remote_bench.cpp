// Diagnostics over WS-Management against the test server (NTLM, sealed
// bodies) through a delay line of 0, 20 and 50 ms round trips: the window's
// "Current Computer Optical Drives Diagnostics Scan" of one node, from the
// command to the counters, and Diagnose All of 64 nodes. Each reports its
// floor beside the time: the round trips the protocols need times the round trip.
// Beside them, the reading of a 4 MB reply that repeats one property, which
// must stay linear (target under 100 ms).
#include "DelayLine.h"
#include "NullTree.h"
#include "RemoteDiagnosticsScan.h"
#include "QtBenchmarkMain.h"

#include "fleet/DiagnoseAll.h"
#include "inventory/InventoryScanCommands.h"
#include "remote/WsManManagement.h"
#include "remote/WsManReply.h"
#include "support/InventoryFakes.h"
#include "support/WsManTestServer.h"

#include <QTemporaryDir>

namespace {

using namespace vorlu;

// TCP, the negotiate leg, the last leg carrying the connectivity check, the drive query.
constexpr int ScanRoundTrips = 4;
// TCP, the negotiate leg, the last leg carrying the connectivity check, one query for both files.
constexpr int NodeRoundTrips = 4;
constexpr int FleetNodes = 64;

std::string nodeJson(int drives)
{
    std::string rows;
    for (int k = 0; k < drives; ++k)
        rows += std::string(k ? "," : "") + R"({"Drive": "D:", "Name": "DVD", "Availability": 3,
            "ConfigManagerErrorCode": 0, "ErrorCleared": null, "ErrorDescription": null, "LastErrorCode": null,
            "Status": "OK", "StatusInfo": null, "MediaLoaded": true})";
    return R"({"classes": {"Win32_CDROMDrive": [)" + rows +
           R"(], "Win32_ComputerSystem": [{"Name": "SRV-ARCHIVE"}]}, "itemsPerReply": 32})";
}

const std::string AdminUser = std::string(WsManTestServer::Domain) + "\\" + WsManTestServer::User;

void reportFloor(benchmark::State& state, double floorMs)
{
    state.counters["floor_ms"] = floorMs;
    state.counters["rtt_ms"] = static_cast<double>(state.range(0));
}

void BM_RemoteDiagnosticsScanNtlm4Drives(benchmark::State& state)
{
    WsManTestServer server({nodeJson(4), "ntlm"});
    if (!server.started()) {
        state.SkipWithError(server.error().c_str());
        return;
    }
    const std::chrono::milliseconds rtt(state.range(0));
    bench::DelayLine line(server.port(), rtt);
    RemoteTransport transport;
    transport.port = line.port();
    WsManManagement management([transport] { return transport; });
    bench::runDiagnosticsScans(state, management, AdminUser, WsManTestServer::Password, bench::DelayLine::address(0));
    reportFloor(state, ScanRoundTrips * static_cast<double>(rtt.count()));
}
BENCHMARK(BM_RemoteDiagnosticsScanNtlm4Drives)->Arg(0)->Arg(20)->Arg(50)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RemoteDiagnoseAll64Nodes(benchmark::State& state)
{
    WsManTestServer server({nodeJson(2), "ntlm"});
    if (!server.started()) {
        state.SkipWithError(server.error().c_str());
        return;
    }
    const std::chrono::milliseconds rtt(state.range(0));
    bench::DelayLine line(server.port(), rtt, FleetNodes);
    RemoteTransport transport;
    transport.port = line.port();
    WsManManagement management([transport] { return transport; });
    QTemporaryDir dir;
    const DiagnosisSettings settings{dir.path().toStdString(), AdminUser, WsManTestServer::Password, "root\\cimv2"};
    const std::atomic<bool> cancel{false};
    const std::size_t atOnce = DefaultNodesAtOnce;
    for (auto _ : state) {
        NodeTable table;
        for (int k = 0; k < FleetNodes; ++k) {
            NodeRecord r = discoveredNode("PC" + std::to_string(k + 1));
            r.IP = bench::DelayLine::address(k);
            table.append(r);
        }
        const FleetRun run = diagnoseAll(table, management, settings, atOnce, cancel);
        for (const auto& outcome : run.outcomes) {
            if (!outcome || outcome->kind != NodeOutcomeKind::Diagnosed) {
                state.SkipWithError(("a node failed: " + (outcome ? outcome->reason : "not run")).c_str());
                return;
            }
        }
    }
    const double rounds = static_cast<double>((FleetNodes + atOnce - 1) / atOnce);
    reportFloor(state, rounds * NodeRoundTrips * static_cast<double>(rtt.count()));
}
BENCHMARK(BM_RemoteDiagnoseAll64Nodes)->Arg(0)->Arg(20)->Arg(50)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadReplyRepeatingOneProperty4MB(benchmark::State& state)
{
    std::string xml =
        R"(<s:Envelope xmlns:s="http://www.w3.org/2003/05/soap-envelope" xmlns:n="http://schemas.xmlsoap.org/ws/2004/09/enumeration" xmlns:w="http://schemas.dmtf.org/wbem/wsman/1/wsman.xsd"><s:Header/><s:Body><n:EnumerateResponse><w:Items><w:XmlFragment>)";
    while (xml.size() < 4 * 1024 * 1024)
        xml += "<Name>x</Name>";
    xml += "</w:XmlFragment></w:Items><w:EndOfSequence/></n:EnumerateResponse></s:Body></s:Envelope>";
    for (auto _ : state) {
        const auto page = readEnumerationReply(xml, QDeadlineTimer(60000));
        benchmark::DoNotOptimize(page.items.size());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * xml.size()));
}
BENCHMARK(BM_ReadReplyRepeatingOneProperty4MB)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
