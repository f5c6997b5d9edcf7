#include "NetworkFixture.h"

#include "platform/SimulatedPlatform.h"

#include <thread>

using namespace vorlu;

namespace {

using Bytes = std::vector<std::uint8_t>;

const char* kNetwork = R"({
  "localAddress": "192.168.1.10",
  "sockets": { "startupError": 0, "version": "1.0", "maxSockets": 0 },
  "computers": [
    { "name": "PC-A", "address": "10.0.0.7", "latencyMs": 20 },
    { "name": "PC-B", "address": null, "latencyMs": 5 },
    { "name": "PC-C", "address": "192.168.1.255", "listed": false },
    { "name": "pc-a", "address": "10.0.0.8" },
    { "name": "PC-D", "address": "0.0.0.0", "latencyMs": 3 }
  ] })";

} // namespace

TEST(SimulatedSockets, StartupReportsTheFile)
{
    NetworkFiles files;
    Platform platform;
    installSimulatedNetwork(platform, files.load(kNetwork));
    const SocketStartup s = platform.sockets->startup(0x0101);
    EXPECT_EQ(s.error, 0);
    EXPECT_EQ(s.version, 0x0001);
    EXPECT_EQ(s.maxSockets, 0);
    EXPECT_EQ(platform.localAddress->localAddress(), "192.168.1.10");
}

TEST(SimulatedSockets, ResolvesNamesToAddressBytes)
{
    NetworkFiles files;
    Platform platform;
    installSimulatedNetwork(platform, files.load(kNetwork));
    EXPECT_EQ(platform.sockets->resolve("PC-A"), (Bytes{10, 0, 0, 7}));
    // Host names are not case sensitive; the first computer of that name answers.
    EXPECT_EQ(platform.sockets->resolve("Pc-A"), (Bytes{10, 0, 0, 7}));
    EXPECT_EQ(platform.sockets->resolve("PC-C"), (Bytes{192, 168, 1, 255})); // unlisted still resolves
    EXPECT_EQ(platform.sockets->resolve("PC-D"), (Bytes{0, 0, 0, 0}));
    EXPECT_FALSE(platform.sockets->resolve("PC-B").has_value());
    EXPECT_FALSE(platform.sockets->resolve("PC-Z").has_value());
    EXPECT_FALSE(platform.sockets->resolve("").has_value());
}

TEST(SimulatedSockets, ResolvesFromManyThreadsAtOnce)
{
    NetworkFiles files;
    Platform platform;
    installSimulatedNetwork(platform, files.load(kNetwork));
    const std::vector<std::pair<std::string, std::optional<Bytes>>> expected = {
        {"PC-A", Bytes{10, 0, 0, 7}},
        {"PC-B", std::nullopt},
        {"PC-C", Bytes{192, 168, 1, 255}},
        {"PC-D", Bytes{0, 0, 0, 0}},
    };
    std::vector<std::vector<std::optional<Bytes>>> answers(16);
    std::vector<std::thread> threads;
    for (std::size_t t = 0; t < answers.size(); ++t)
        threads.emplace_back([&, t] {
            for (int round = 0; round < 3; ++round)
                for (const auto& [name, bytes] : expected)
                    answers[t].push_back(platform.sockets->resolve(name));
        });
    for (auto& th : threads)
        th.join();
    for (const auto& list : answers) {
        ASSERT_EQ(list.size(), 3 * expected.size());
        for (std::size_t i = 0; i < list.size(); ++i)
            EXPECT_EQ(list[i], expected[i % expected.size()].second);
    }
}

TEST(SimulatedEnumeration, ListsListedNamesInFileOrderDuplicatesIncluded)
{
    NetworkFiles files;
    const auto net = files.load(R"({ "computers": [
        { "name": "B" }, { "name": "A", "listed": false }, { "name": "C" }, { "name": "B" }, { "name": "" } ] })");
    SimulatedEnumerator enumerator(net);
    const EnumerationAnswer answer = enumerator.enumerateServers(ServerEnumerator::kAllServerTypes);
    EXPECT_EQ(answer.code, 0u);
    EXPECT_EQ(answer.names, (std::vector<std::string>{"B", "C", "B", ""}));
    EXPECT_EQ(enumerator.enumerateServers(ServerEnumerator::kAllServerTypes).names, answer.names);
}

TEST(SimulatedEnumeration, ErrorCodeAndFailure)
{
    NetworkFiles files;
    for (std::uint32_t code : {5u, 1326u, 1722u, 2114u}) {
        const auto net =
            files.load(R"({"enumeration": {"error": )" + std::to_string(code) + R"(}, "computers": [{"name": "A"}]})");
        const EnumerationAnswer answer = SimulatedEnumerator(net).enumerateServers(ServerEnumerator::kAllServerTypes);
        EXPECT_EQ(answer.code, code);
        EXPECT_TRUE(answer.names.empty());
    }
    SimulatedEnumerator failing(files.load(R"({"enumeration": {"fail": true}, "computers": [{"name": "A"}]})"));
    EXPECT_THROW(failing.enumerateServers(ServerEnumerator::kAllServerTypes), EnumerationFailure);
    SimulatedEnumerator empty(files.load("{}"));
    EXPECT_EQ(empty.enumerateServers(ServerEnumerator::kAllServerTypes).code, 0u);
}
