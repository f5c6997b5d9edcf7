// A diagnostics scan of a node over WS-Management on loopback, NTLM
// handshake and sealed bodies included: "Current Node Optical Drives
// Diagnostics Scan" from the command to the counters, against the test server.
#include "QtBenchmarkMain.h"
#include "RemoteDiagnosticsScan.h"

#include "remote/WsManManagement.h"
#include "support/WsManTestServer.h"

namespace {

using namespace vorlu;

void BM_RemoteDiagnosticsScanNtlm4Drives(benchmark::State& state)
{
    WsManTestServer server({bench::fourDriveNode(), "ntlm"});
    if (!server.started()) {
        state.SkipWithError(server.error().c_str());
        return;
    }
    RemoteTransport transport;
    transport.port = server.port();
    WsManManagement management([transport] { return transport; });
    bench::runDiagnosticsScans(state, management, std::string(WsManTestServer::Domain) + "\\" + WsManTestServer::User,
                               WsManTestServer::Password);
}
BENCHMARK(BM_RemoteDiagnosticsScanNtlm4Drives)->Unit(benchmark::kMillisecond);

} // namespace
