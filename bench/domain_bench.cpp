// A domain network against a throwaway Active Directory domain (samba-ad-dc
// in a network namespace, made for the run): a diagnostics scan of one node
// over loopback with Kerberos sign-in and sealed bodies, from the command to
// the counters; and the listing of 1,000 computer objects from the directory.
// Needs root (namespaces, the domain controller); skips without.
#include "QtBenchmarkMain.h"
#include "RemoteDiagnosticsScan.h"

#include "remote/DirectoryComputers.h"
#include "remote/SignInContext.h"
#include "remote/WsManManagement.h"
#include "support/TestDomain.h"
#include "support/WsManTestServer.h"

#include <QProcess>
#include <QTemporaryDir>

namespace {

using namespace vorlu;

constexpr int BenchComputers = 1000;

// The domain of this run, made on first use and removed at exit.
struct BenchDomain {
    QTemporaryDir dir;
    std::string error;
    std::unique_ptr<test::TestDomain> domain;

    BenchDomain()
    {
        QProcess up;
        up.setProcessChannelMode(QProcess::MergedChannels);
        up.start("/usr/bin/python3", {VORLU_TEST_DOMAIN_SCRIPT, "up", dir.path(), QString::number(BenchComputers)});
        if (!up.waitForFinished(300000) || up.exitCode() != 0) {
            error = "the test domain was not made: " + up.readAll().toStdString();
            return;
        }
        domain = std::make_unique<test::TestDomain>(dir.path().toStdString());
        if (!domain->enter(&error) && error.empty())
            error = "the test domain cannot be entered";
    }
    ~BenchDomain()
    {
        QProcess down;
        down.start("/usr/bin/python3", {VORLU_TEST_DOMAIN_SCRIPT, "down", dir.path()});
        down.waitForFinished(60000);
    }
};

BenchDomain& benchDomain()
{
    static BenchDomain domain;
    return domain;
}

void BM_DomainDiagnosticsScanKerberos4Drives(benchmark::State& state)
{
    BenchDomain& bench = benchDomain();
    if (!bench.error.empty()) {
        state.SkipWithError(bench.error.c_str());
        return;
    }
    const test::TestDomain& domain = *bench.domain;
    WsManTestServer::Options options;
    options.nodeJson = bench::fourDriveNode();
    options.auth = "kerberos";
    options.keytab = domain.keytab("SRV-ARCHIVE");
    WsManTestServer server(options);
    if (!server.started()) {
        state.SkipWithError(server.error().c_str());
        return;
    }
    RemoteTransport transport;
    transport.port = server.port();
    const std::string host = domain.hostName("SRV-ARCHIVE");
    WsManManagement management([transport] { return transport; },
                               [host](const std::string& u, const std::string& p) {
                                   return makeSignInContext(u, p, "127.0.0.1", host);
                               });
    bench::runDiagnosticsScans(state, management, domain.netbiosName() + "\\" + domain.admin(),
                               domain.adminPassword());
}
BENCHMARK(BM_DomainDiagnosticsScanKerberos4Drives)->Unit(benchmark::kMillisecond);

void BM_DirectoryListing1000Computers(benchmark::State& state)
{
    BenchDomain& bench = benchDomain();
    if (!bench.error.empty()) {
        state.SkipWithError(bench.error.c_str());
        return;
    }
    const test::TestDomain& domain = *bench.domain;
    DirectoryQuery query;
    query.domain = domain.dnsDomain();
    query.controller = domain.value("DC_ADDRESS");
    query.login = domain.netbiosName() + "\\" + domain.admin();
    query.password = domain.adminPassword();
    for (auto _ : state) {
        const auto computers = listDomainComputers(query);
        if (computers.size() < BenchComputers) {
            state.SkipWithError("the directory listed too few computers");
            break;
        }
    }
}
BENCHMARK(BM_DirectoryListing1000Computers)->Unit(benchmark::kMillisecond);

} // namespace
