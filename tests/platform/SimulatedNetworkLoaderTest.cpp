#include "NetworkFixture.h"

using namespace vorlu;

TEST(SimulatedNetworkLoader, AppliesEveryDefault)
{
    NetworkFiles files;
    const auto net = files.load(R"({ "computers": [ { "name": "PC1" } ] })");
    ASSERT_NE(net, nullptr);
    EXPECT_EQ(net->localAddress, "127.0.0.1");
    EXPECT_EQ(net->sockets.error, 0);
    EXPECT_EQ(net->sockets.version, 0x0101);
    EXPECT_EQ(net->sockets.maxSockets, 32767);
    EXPECT_EQ(net->enumerationError, 0u);
    EXPECT_FALSE(net->enumerationFail);
    ASSERT_EQ(net->computers.size(), 1u);
    const auto& pc = net->computers[0];
    EXPECT_EQ(pc.name, "PC1");
    EXPECT_TRUE(pc.listed);
    EXPECT_FALSE(pc.address.has_value());
    EXPECT_EQ(pc.latencyMs, 0);
    EXPECT_TRUE(pc.management.reachable);
    EXPECT_EQ(pc.management.namespaces, std::vector<std::string>{"root\\cimv2"});
    EXPECT_TRUE(pc.management.accounts.empty());
    EXPECT_EQ(pc.management.computerSystem.property("Name"), "PC1");
    EXPECT_TRUE(pc.management.cdromDrives.empty());
    EXPECT_FALSE(pc.management.queryError);

    EXPECT_TRUE(files.load("{}")->computers.empty());
}

TEST(SimulatedNetworkLoader, ReadsEveryField)
{
    NetworkFiles files;
    const auto net = files.load(R"({
      "localAddress": "10.0.0.2",
      "sockets": { "startupError": 10091, "version": "2.0", "maxSockets": 0 },
      "enumeration": { "error": 1722, "fail": true },
      "computers": [
        { "name": "A", "listed": false, "address": "10.0.0.7", "latencyMs": 5,
          "management": { "reachable": false, "namespaces": ["root\\default", "ROOT\\CIMV2"],
                          "accounts": [ { "user": "me", "password": "pw" } ],
                          "computerSystem": { "Name": "A-REAL", "Domain": "OFFICE" },
                          "cdromDrives": [ { "Drive": "D:" }, { "Drive": "E:" } ],
                          "queryError": true } },
        { "name": "B", "address": null }
      ] })");
    ASSERT_NE(net, nullptr);
    EXPECT_EQ(net->localAddress, "10.0.0.2");
    EXPECT_EQ(net->sockets.error, 10091);
    EXPECT_EQ(net->sockets.version, 0x0002); // low byte major 2, high byte minor 0
    EXPECT_EQ(net->sockets.maxSockets, 0);
    EXPECT_EQ(net->enumerationError, 1722u);
    EXPECT_TRUE(net->enumerationFail);
    ASSERT_EQ(net->computers.size(), 2u);
    const auto& a = net->computers[0];
    EXPECT_FALSE(a.listed);
    EXPECT_EQ(a.address, "10.0.0.7");
    EXPECT_EQ(a.latencyMs, 5);
    EXPECT_FALSE(a.management.reachable);
    EXPECT_EQ(a.management.namespaces.size(), 2u);
    ASSERT_EQ(a.management.accounts.size(), 1u);
    EXPECT_EQ(a.management.accounts[0].user, "me");
    EXPECT_EQ(a.management.accounts[0].password, "pw");
    EXPECT_EQ(a.management.computerSystem.property("Name"), "A-REAL");
    EXPECT_EQ(a.management.computerSystem.property("Domain"), "OFFICE");
    EXPECT_EQ(a.management.cdromDrives.size(), 2u);
    EXPECT_TRUE(a.management.queryError);
    EXPECT_FALSE(net->computers[1].address.has_value());
}

TEST(SimulatedNetworkLoader, VersionTextBecomesTheVersionWord)
{
    NetworkFiles files;
    const struct {
        const char* text;
        std::uint16_t word;
    } cases[] = {{"1.1", 0x0101}, {"1.0", 0x0001}, {"0.9", 0x0900}, {"2.2", 0x0202}, {"255.255", 0xFFFF}};
    for (const auto& c : cases) {
        const auto net = files.load(std::string(R"({"sockets": {"version": ")") + c.text + "\"}}");
        ASSERT_NE(net, nullptr);
        EXPECT_EQ(net->sockets.version, c.word) << c.text;
    }
}

TEST(SimulatedNetworkLoader, BadFilesNameTheFilePositionAndWhatWasExpected)
{
    NetworkFiles files;
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"{ \"computers\": [ }", "network.json:1:18: expected a value"},
        {"[]", "network.json:1:1: expected an object with the network's fields"},
        {"{\n  \"computers\": [\n    { \"address\": \"10.0.0.1\" }\n  ]\n}",
         "network.json:3:5: expected field \"name\" (a string) in this computer"},
        {"{\"computers\": [{\"name\": 12}]}", "network.json:1:25: expected a string for \"name\""},
        {"{\"computers\": {}}", "network.json:1:15: expected an array for \"computers\""},
        {"{\"computers\": [\"PC1\"]}", "network.json:1:16: expected an object for \"computers\""},
        {"{\"computers\": [{\"name\": \"A\", \"listed\": \"no\"}]}",
         "network.json:1:40: expected true or false for \"listed\""},
        {"{\"computers\": [{\"name\": \"A\", \"listed\": null}]}",
         "network.json:1:40: expected true or false for \"listed\""},
        {"{\"computers\": [{\"name\": \"A\", \"adress\": \"10.0.0.1\"}]}",
         "network.json:1:30: unknown field \"adress\" in a computer; expected one of: name, listed, address, "
         "latencyMs, management"},
        {"{\"local\": 1}",
         "network.json:1:2: unknown field \"local\" in the network; expected one of: localAddress, sockets, "
         "enumeration, computers"},
        {"{\"computers\": [{\"name\": \"A\", \"address\": \"10.0.0.256\"}]}",
         "network.json:1:41: expected a dotted IPv4 address such as \"192.168.1.10\" for \"address\""},
        {"{\"localAddress\": \"192.168.01.1\"}",
         "network.json:1:18: expected a dotted IPv4 address such as \"192.168.1.10\" for \"localAddress\""},
        {"{\"localAddress\": \"host\"}",
         "network.json:1:18: expected a dotted IPv4 address such as \"192.168.1.10\" for \"localAddress\""},
        {"{\"sockets\": {\"version\": \"1\"}}",
         "network.json:1:25: expected \"major.minor\" with numbers from 0 to 255, such as \"1.1\" for \"version\""},
        {"{\"sockets\": {\"version\": \"1.256\"}}",
         "network.json:1:25: expected \"major.minor\" with numbers from 0 to 255, such as \"1.1\" for \"version\""},
        {"{\"sockets\": {\"version\": 1.1}}",
         "network.json:1:25: expected \"major.minor\" with numbers from 0 to 255, such as \"1.1\" for \"version\""},
        {"{\"sockets\": {\"maxSockets\": 70000}}",
         "network.json:1:28: expected a whole number from 0 to 65535 for \"maxSockets\""},
        {"{\"sockets\": {\"startupError\": 1.5}}",
         "network.json:1:30: expected a whole number from -2147483648 to 2147483647 for \"startupError\""},
        {"{\"enumeration\": {\"error\": -5}}",
         "network.json:1:27: expected a whole number from 0 to 4294967295 for \"error\""},
        {"{\"enumeration\": {\"error\": 234}}",
         "network.json:1:27: expected an error code other than 234 (more data) for \"error\": the enumeration "
         "would never end"},
        {"{\"computers\": [{\"name\": \"A\", \"latencyMs\": -1}]}",
         "network.json:1:43: expected a whole number from 0 to 60000 for \"latencyMs\""},
        {"{\"computers\": [{\"name\": \"A\", \"management\": {\"namespaces\": [\"root\", 2]}}]}",
         "network.json:1:68: expected a string for \"namespaces\""},
        {"{\"computers\": [{\"name\": \"A\", \"management\": {\"accounts\": [{\"user\": \"x\"}]}}]}",
         "network.json:1:58: expected field \"password\" (a string) in this account"},
        {"{\"computers\": [{\"name\": \"A\", \"management\": {\"cdromDrives\": [{\"Drive\": [\"D:\"]}]}}]}",
         "network.json:1:71: expected a number, true, false, a string or null for \"Drive\""},
        {"{\"computers\": [{\"name\": \"A\", \"management\": {\"cdromDrives\": [{\"Name\": \"x\", \"NAME\": \"y\"}]}}]}",
         "network.json:1:75: property \"NAME\" is given twice (property names are matched without regard to "
         "letter case)"},
        {"{\"computers\": [{\"name\": \"A\", \"management\": {\"reachable\": 0}}]}",
         "network.json:1:58: expected true or false for \"reachable\""},
        {"{\"computers\": [{\"name\": \"A\", \"management\": {\"quieryError\": true}}]}",
         "network.json:1:45: unknown field \"quieryError\" in \"management\"; expected one of: reachable, "
         "namespaces, accounts, computerSystem, cdromDrives, queryError"},
        // Keys from the file are quoted with escapes, so the message stays on one line.
        {"{\"\\n\":0}", "network.json:1:2: unknown field \"\\n\" in the network; expected one of: localAddress, "
                          "sockets, enumeration, computers"},
        {"{\"\\n\":0,\"\\n\":1}", "network.json:1:9: duplicate key \"\\n\""},
        {"{\"computers\": [{\"name\": \"A\", \"management\": {\"cdromDrives\": [{\"a\\u0001\\\"\": 1, "
         "\"A\\u0001\\\"\": 2}]}}]}",
         "network.json:1:78: property \"A\\u0001\\\"\" is given twice (property names are matched without "
         "regard to letter case)"},
        {"{\"computers\": [{\"name\": \"A\", \"management\": {\"cdromDrives\": [{\"\\t\": []}]}}]}",
         "network.json:1:68: expected a number, true, false, a string or null for \"\\t\""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(files.error(c.text), c.error) << c.text;
}

TEST(SimulatedNetworkLoader, ManyKeysAndPropertiesAreCheckedInOnePass)
{
    // 100,000 distinct keys: a check per key against all earlier ones took most of a minute.
    std::string keys = "{\"computers\": [{\"name\": \"A\", \"management\": {\"cdromDrives\": [{";
    for (int i = 0; i < 100000; ++i)
        keys += (i ? ",\"p" : "\"p") + std::to_string(i) + "\":1";
    NetworkFiles files;
    EXPECT_NE(files.error(keys + ",\"P99999\":2}]}}]}").find("property \"P99999\" is given twice"), std::string::npos);
    EXPECT_NE(files.error(keys + ",\"p99999\":2}]}}]}").find("duplicate key \"p99999\""), std::string::npos);
}

TEST(SimulatedNetworkLoader, AnswersBeyondTheCapsAreRefused)
{
    NetworkFiles files;
    const std::string head = "{\"computers\": [{\"name\": \"A\", \"management\": {\"cdromDrives\": [";
    std::string drives = head;
    for (int i = 0; i < 257; ++i)
        drives += i ? ",{}" : "{}";
    EXPECT_EQ(files.error(drives + "]}}]}"), "network.json:1:60: more than 256 drives in \"cdromDrives\"");
    drives.resize(drives.size() - 3);
    EXPECT_NE(files.load(drives + "]}}]}"), nullptr);
    EXPECT_EQ(files.error(head + "{\"Name\": \"" + std::string(65537, 'x') + "\"}]}}]}"),
              "network.json:1:70: value of \"Name\" is longer than 65536 bytes");
    EXPECT_EQ(files.error(std::string(16 * 1024 * 1024 + 1, ' ')), "network.json: the file is larger than 16 MB");
}

TEST(SimulatedNetworkLoader, UnreadableFilesNameTheFile)
{
    NetworkFiles files;
    std::string error;
    const auto folder = files.write("{}").parent_path();
    EXPECT_EQ(SimulatedNetwork::load(folder / "missing.json", error), nullptr);
    EXPECT_EQ(error, (folder / "missing.json").string() + ": the file does not exist");
    EXPECT_EQ(SimulatedNetwork::load(folder, error), nullptr);
    EXPECT_EQ(error, folder.string() + ": is a folder, expected a network file");
}

TEST(SimulatedNetworkLoader, EmptyFileIsNotANetwork)
{
    NetworkFiles files;
    EXPECT_EQ(files.error(""), "network.json:1:1: expected a value, found the end of the document");
}
