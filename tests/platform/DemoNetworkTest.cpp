#include "platform/SimulatedNetwork.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using namespace vorlu;

namespace {

class DemoNetwork : public testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        net = SimulatedNetwork::load(std::filesystem::path(VORLU_SOURCE_DIR) / "demo" / "network.json", error);
        ASSERT_NE(net, nullptr) << error;
    }

    const SimulatedNetwork::Computer& computer(const std::string& name)
    {
        const auto it = std::find_if(net->computers.begin(), net->computers.end(),
                                     [&](const auto& c) { return c.name == name; });
        EXPECT_NE(it, net->computers.end()) << name;
        return *it;
    }

    static bool opens(const SimulatedNetwork& n, const SimulatedNetwork::Computer& c, const std::string& user,
                      const std::string& password)
    {
        try {
            n.connect(*c.address, "root\\cimv2", user, password);
            return true;
        } catch (const WmiError&) {
            return false;
        }
    }

    std::shared_ptr<SimulatedNetwork> net;
};

} // namespace

TEST_F(DemoNetwork, IsASmallOfficeAroundThisComputer)
{
    EXPECT_EQ(net->localAddress, "192.168.1.10");
    const auto* here = net->route("");
    ASSERT_NE(here, nullptr);
    EXPECT_EQ(here->name, "WS-ADMIN");
    EXPECT_NO_THROW(net->connect("", "root\\cimv2", "", ""));
    EXPECT_GE(net->enumerate().names.size(), 8u);
    for (const auto& c : net->computers) {
        if (c.address) {
            EXPECT_EQ(c.address->rfind("192.168.1.", 0), 0u) << c.name;
        }
    }
}

TEST_F(DemoNetwork, HasTheUnusualNodes)
{
    EXPECT_FALSE(computer("LAPTOP-FIELD").address.has_value());
    EXPECT_FALSE(computer("WS-LAB").management.reachable);
    EXPECT_TRUE(computer("WS-SALES").management.cdromDrives.empty());
    EXPECT_EQ(computer("SRV-ARCHIVE").management.cdromDrives.size(), 12u);

    const auto& design = computer("WS-DESIGN");
    ASSERT_EQ(design.management.accounts.size(), 1u);
    EXPECT_FALSE(design.management.accounts[0].user.empty());
    EXPECT_TRUE(opens(*net, design, design.management.accounts[0].user, design.management.accounts[0].password));
    EXPECT_FALSE(opens(*net, design, "", ""));
    EXPECT_TRUE(opens(*net, computer("WS-RECEPTION"), "", ""));
}

TEST_F(DemoNetwork, DrivesShowEveryStateAndManyCodes)
{
    std::set<std::string> statuses, availabilities, errorCodes;
    for (const auto& c : net->computers) {
        if (!c.address || !c.management.reachable)
            continue;
        const auto rows = net->query(c, "Select Drive, Name, Availability, ConfigManagerErrorCode, Status From "
                                        "Win32_CDROMDrive");
        for (const auto& row : rows) {
            EXPECT_TRUE(row.property("Drive").has_value()) << c.name;
            EXPECT_TRUE(row.property("Name").has_value()) << c.name;
            if (auto s = row.property("Status"))
                statuses.insert(*s);
            if (auto a = row.property("Availability"))
                availabilities.insert(*a);
            if (auto e = row.property("ConfigManagerErrorCode"))
                errorCodes.insert(*e);
        }
    }
    for (const char* s : {"OK", "Starting", "Service", "Unknown", "Stopping", "No Contact", "Lost Comm", "Error",
                          "Degraded", "Pred Fail", "Stressed", "NonRecover"})
        EXPECT_TRUE(statuses.count(s)) << s;
    EXPECT_GE(availabilities.size(), 6u);
    EXPECT_GE(errorCodes.size(), 4u);
}
