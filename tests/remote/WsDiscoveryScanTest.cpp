#include "remote/WsDiscoveryEnumerator.h"

#include "commands/CommandGate.h"
#include "remote/LoopbackHosts.h"

#include <QElapsedTimer>
#include <QTimer>

#include <gtest/gtest.h>

namespace vorlu {
namespace {

using test::LoopbackHosts;
using test::relationshipSection;
using test::thisDeviceSection;
using namespace std::chrono_literals;

WsDiscoveryTiming quick()
{
    WsDiscoveryTiming t;
    t.listen = 1000ms; // past the last of the four probes
    t.request = 1000ms;
    t.deadline = 3000ms;
    return t;
}

TEST(WsDiscoveryScan, ListsEachComputerOnceInAnswerOrder)
{
    LoopbackHosts hosts({
        {"urn:uuid:a", relationshipSection("ALPHA/Workgroup:WORKGROUP"), true, LoopbackHosts::Http::Answer},
        {"urn:uuid:b", relationshipSection("BRAVO\\NotJoined") + thisDeviceSection("Device B"), false,
         LoopbackHosts::Http::Answer},
        {"urn:uuid:c", thisDeviceSection("CHARLIE"), true, LoopbackHosts::Http::Answer},
        // Another endpoint of the first computer.
        {"urn:uuid:a2", relationshipSection("alpha/Domain:CORP"), true, LoopbackHosts::Http::Answer},
        // A name that would break the lines of the node file.
        {"urn:uuid:e", relationshipSection("EVIL&#13;&#10;10.0.0.1/Workgroup:WG"), true, LoopbackHosts::Http::Answer},
    });
    hosts.strayEndpoint = "urn:uuid:stray";
    WsDiscoveryEnumerator enumerator(hosts.options(quick()));

    const EnumerationAnswer answer = enumerator.enumerateServers(ServerEnumerator::kAllServerTypes);

    EXPECT_EQ(answer.code, 0u);
    EXPECT_EQ(answer.names, (std::vector<std::string>{"ALPHA", "BRAVO", "CHARLIE"}));
    EXPECT_EQ(hosts.probesSeen, 4);
    // Every probe drew an answer from every host, each sent twice; one Get
    // per endpoint all the same, and none for the stray match.
    EXPECT_EQ(hosts.getsSeen, 5);
    EXPECT_GE(hosts.resolvesSeen, 1);
}

TEST(WsDiscoveryScan, TheBookLearnsWhereEachListedNameCameFrom)
{
    LoopbackHosts hosts({
        {"urn:uuid:a", relationshipSection("ALPHA/Workgroup:WG"), true, LoopbackHosts::Http::Answer},
        // Its probe match comes from 127.0.0.1, its name from the XAddr host.
        {"urn:uuid:b", relationshipSection("BRAVO/Workgroup:WG"), true, LoopbackHosts::Http::Answer, true},
        {"urn:uuid:a2", relationshipSection("alpha/Workgroup:WG"), true, LoopbackHosts::Http::Answer, true},
        {"urn:uuid:silent", relationshipSection("SILENT/Workgroup:WG"), true, LoopbackHosts::Http::Silent},
    });
    auto book = std::make_shared<AnnouncedAddresses>();
    book->remember("OLDHOST", {10, 0, 0, 7});
    WsDiscoveryEnumerator enumerator(hosts.options(quick()), book);

    const EnumerationAnswer answer = enumerator.enumerateServers(ServerEnumerator::kAllServerTypes);

    EXPECT_EQ(answer.names, (std::vector<std::string>{"ALPHA", "BRAVO"}));
    EXPECT_EQ(book->find("alpha"), (Ipv4Bytes{127, 0, 0, 1})) << "the listed device's address, not its duplicate's";
    EXPECT_EQ(book->find("BRAVO"), (Ipv4Bytes{127, 0, 0, 2}));
    EXPECT_EQ(book->find("SILENT"), std::nullopt);
    EXPECT_EQ(book->find("OLDHOST"), (Ipv4Bytes{10, 0, 0, 7})) << "a scan keeps what earlier ones learnt";
}

TEST(WsDiscoveryScan, AHostThatFailsItsMetadataHoldsUpNobody)
{
    WsDiscoveryTiming t = quick();
    t.request = 20s; // the scan's deadline must cut the silent host off
    t.deadline = 1500ms;
    LoopbackHosts hosts({
        {"urn:uuid:good", relationshipSection("GOOD/Workgroup:WG"), true, LoopbackHosts::Http::Answer},
        {"urn:uuid:silent", relationshipSection("SILENT/Workgroup:WG"), true, LoopbackHosts::Http::Silent},
        {"urn:uuid:hostile", {}, true, LoopbackHosts::Http::Hostile},
        {"urn:uuid:huge", {}, true, LoopbackHosts::Http::Huge},
    });
    WsDiscoveryEnumerator enumerator(hosts.options(t));
    QElapsedTimer clock;
    clock.start();

    const EnumerationAnswer answer = enumerator.enumerateServers(ServerEnumerator::kAllServerTypes);

    EXPECT_EQ(answer.code, 0u);
    EXPECT_EQ(answer.names, std::vector<std::string>{"GOOD"});
    EXPECT_LT(clock.elapsed(), 10000) << "the deadline did not end the scan";
}

TEST(WsDiscoveryScan, NoHostAnsweringEndsEmptyWithinTheDefaultDeadline)
{
    LoopbackHosts nobody({});
    WsDiscoveryEnumerator enumerator(nobody.options());
    QElapsedTimer clock;
    clock.start();

    const EnumerationAnswer answer = enumerator.enumerateServers(ServerEnumerator::kAllServerTypes);

    EXPECT_EQ(answer.code, 0u);
    EXPECT_TRUE(answer.names.empty());
    EXPECT_EQ(nobody.probesSeen, 4);
    EXPECT_LT(clock.elapsed(), 5000 + 2000);
}

TEST(WsDiscoveryScan, NoInterfaceOrAProbeTheNetworkRefusesIsANetworkError)
{
    WsDiscoveryOptions o;
    o.interfaces = {QStringLiteral("vorlu-none0")};
    EXPECT_EQ(WsDiscoveryEnumerator(o).enumerateServers(ServerEnumerator::kAllServerTypes).code, NoNetworkCode);

    // Loopback cannot carry a datagram to another host: the first probe fails.
    o.interfaces = {QStringLiteral("lo")};
    o.group = QHostAddress(QStringLiteral("10.99.99.99"));
    EXPECT_EQ(WsDiscoveryEnumerator(o).enumerateServers(ServerEnumerator::kAllServerTypes).code, NoNetworkCode);
}

TEST(WsDiscoveryScan, EventsRunWhileItWaitsAndTheGateStaysClosed)
{
    LoopbackHosts hosts({{"urn:uuid:a", relationshipSection("ALPHA/Workgroup:WG"), true, LoopbackHosts::Http::Answer}});
    WsDiscoveryEnumerator enumerator(hosts.options(quick()));
    CommandGate gate;
    const CommandGate::Pass scan = gate.enter();
    bool ranDuringScan = false;
    bool secondRefused = false;
    QTimer::singleShot(100ms, [&] {
        ranDuringScan = true;
        secondRefused = !gate.enter();
    });

    const EnumerationAnswer answer = enumerator.enumerateServers(ServerEnumerator::kAllServerTypes);

    EXPECT_TRUE(ranDuringScan);
    EXPECT_TRUE(secondRefused);
    EXPECT_EQ(answer.names, std::vector<std::string>{"ALPHA"});
}

} // namespace
} // namespace vorlu
