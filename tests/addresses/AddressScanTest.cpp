// The scan over loopback with the naming and Identify services as doubles:
// which name wins, what a failed Identify leaves, and the hosts file.
#include "addresses/AddressScanner.h"
#include "platform/Management.h"

#include <QTemporaryDir>
#include "support/LoopbackListener.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>

namespace vorlu {
namespace {

class MapNames : public ReverseNames {
public:
    explicit MapNames(std::map<std::string, std::string> names) : names_(std::move(names)) {}
    std::optional<std::string> nameOf(std::uint32_t address) override
    {
        const auto it = names_.find(formatIPv4(address));
        return it == names_.end() ? std::nullopt : std::optional(it->second);
    }

private:
    std::map<std::string, std::string> names_;
};

TEST(AddressScan, NamesByReverseDnsThenNetBiosThenAddress)
{
    test::LoopbackListener a("127.0.0.21", 0);
    ASSERT_NE(a.port, 0);
    test::LoopbackListener b("127.0.0.22", a.port);
    test::LoopbackListener c("127.0.0.23", a.port);
    test::LoopbackListener d("127.0.0.24", a.port);
    ASSERT_NE(d.port, 0);

    MapNames reverse({{"127.0.0.21", "srv-files.lab.example"}, {"127.0.0.22", "bad/name.lab.example"}});
    AddressScanServices services{reverse};
    services.netBiosName = [](std::uint32_t address, int) -> std::optional<std::string> {
        if (formatIPv4(address) == "127.0.0.22")
            return "WS-NETBIOS";
        if (formatIPv4(address) == "127.0.0.24")
            return "..";
        return std::nullopt;
    };
    std::vector<std::string> identified;
    services.identify = [&](const std::string& host, int, bool, int) -> IdentifyAnswer {
        if (host == "127.0.0.23")
            throw WmiError("Identify answered with HTTP 404");
        return {"", "Microsoft Corporation", "OS: " + host};
    };
    AddressScanOptions options;
    options.probe.ports = {a.port};
    std::string reason;
    const auto range = parseAddressRange("127.0.0.20-127.0.0.30", reason);
    ASSERT_TRUE(range) << reason;
    int reported = 0;
    const auto found = scanAddresses(*range, services, options, nullptr, [&](const FoundComputer&) { ++reported; });

    ASSERT_EQ(found.size(), 4u);
    EXPECT_EQ(reported, 4);
    EXPECT_EQ(found[0].name, "SRV-FILES");
    EXPECT_EQ(found[0].source, NameSource::ReverseDns);
    EXPECT_EQ(found[1].name, "WS-NETBIOS"); // a reverse name unfit for a folder is passed over
    EXPECT_EQ(found[1].source, NameSource::NetBios);
    EXPECT_EQ(found[2].name, "127.0.0.23");
    EXPECT_EQ(found[2].source, NameSource::Address);
    EXPECT_FALSE(found[2].identity);
    EXPECT_NE(found[2].identifyProblem.find("HTTP 404"), std::string::npos);
    EXPECT_EQ(found[3].name, "127.0.0.24"); // so is an unsafe NetBIOS name
    ASSERT_TRUE(found[0].identity);
    EXPECT_EQ(found[0].identity->productVersion, "OS: 127.0.0.21");
    EXPECT_EQ(describeFound(found[0]),
              "127.0.0.21 SRV-FILES (reverse DNS) ports " + std::to_string(a.port) +
                  " Microsoft Corporation OS: 127.0.0.21");
}

TEST(HostsFileNames, ReadsTheHostsFormatAndRefusesOtherText)
{
    QTemporaryDir dir;
    const std::filesystem::path file = std::filesystem::path(dir.path().toStdString()) / "hosts";
    std::ofstream(file) << "# lab\n10.0.0.5 srv-a.lab srv-a\n\n::1 localhost ip6-localhost\n10.0.0.5 second\n"
                           "10.0.0.6\tws-b # desk\n";
    std::string error;
    const auto names = HostsFileNames::load(file, error);
    ASSERT_TRUE(names) << error;
    EXPECT_EQ(names->nameOf(*parseIPv4("10.0.0.5")), "srv-a.lab");
    EXPECT_EQ(names->nameOf(*parseIPv4("10.0.0.6")), "ws-b");
    EXPECT_FALSE(names->nameOf(*parseIPv4("10.0.0.7")));

    std::ofstream(file) << "10.0.0.5 srv-a\nthis is no hosts line\n";
    EXPECT_FALSE(HostsFileNames::load(file, error));
    EXPECT_NE(error.find("line 2"), std::string::npos) << error;
    EXPECT_FALSE(HostsFileNames::load(file.string() + ".missing", error));
}

} // namespace
} // namespace vorlu
