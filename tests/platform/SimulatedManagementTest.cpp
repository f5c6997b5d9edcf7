#include "NetworkFixture.h"

#include "platform/SimulatedPlatform.h"

using namespace vorlu;

namespace {

const char* kOffice = R"({
  "localAddress": "10.0.0.1",
  "computers": [
    { "name": "HERE", "address": "10.0.0.1",
      "management": { "accounts": [ { "user": "", "password": "" } ],
                      "cdromDrives": [
                        { "Drive": "D:", "Name": "DVD-RW DRIVE", "Availability": 3, "ConfigManagerErrorCode": -1,
                          "ErrorCleared": false, "MediaLoaded": true, "Status": "OK", "StatusInfo": null,
                          "LastErrorCode": 2.50 },
                        { "Drive": "E:", "Name": "CD-ROM DRIVE" } ] } },
    { "name": "OWN", "address": "10.0.0.2",
      "management": { "accounts": [ { "user": "Admin", "password": "Secret" } ] } },
    { "name": "OFF", "address": "10.0.0.3", "management": { "reachable": false,
                      "accounts": [ { "user": "", "password": "" } ] } },
    { "name": "BROKEN", "address": "10.0.0.4", "management": { "queryError": true,
                      "accounts": [ { "user": "", "password": "" } ] } },
    { "name": "NOBODY", "address": "10.0.0.5", "management": {} },
    { "name": "OTHER", "address": "10.0.0.6", "management": { "namespaces": ["root\\Custom"],
                      "accounts": [ { "user": "", "password": "" } ] } }
  ] })";

class SimulatedManagementTest : public testing::Test {
protected:
    void SetUp() override
    {
        network = files.load(kOffice);
        ASSERT_NE(network, nullptr);
        installSimulatedNetwork(platform, network);
    }

    std::unique_ptr<WmiServices> connect(const std::string& server, const std::string& user = "",
                                         const std::string& password = "", const std::string& ns = "root\\cimv2")
    {
        return platform.management->createLocator()->connectServer(server, ns, user, password);
    }

    std::vector<WmiRow> drives(const std::string& query)
    {
        return connect("")->execQuery(query);
    }

    NetworkFiles files;
    std::shared_ptr<SimulatedNetwork> network;
    Platform platform;
};

} // namespace

TEST(WmiRow, PropertyNamesMatchWithoutRegardToCase)
{
    const WmiRow row({{"Name", "x"}, {"Status", std::nullopt}});
    EXPECT_EQ(row.property("name"), "x");
    EXPECT_EQ(row.property("NAME"), "x");
    EXPECT_FALSE(row.property("status").has_value());
    EXPECT_FALSE(row.property("Nam").has_value());
}

TEST_F(SimulatedManagementTest, RoutesEmptyServerToTheLocalAddressAndOthersByAddress)
{
    EXPECT_EQ(connect("")->execQuery("Select Name From Win32_ComputerSystem").at(0).property("Name"), "HERE");
    EXPECT_EQ(connect("10.0.0.2", "Admin", "Secret")
                  ->execQuery("Select Name From Win32_ComputerSystem")
                  .at(0)
                  .property("Name"),
              "OWN");
    // Routing is by address only: a computer's name is not a server.
    EXPECT_THROW(connect("HERE"), WmiError);
    EXPECT_THROW(connect("10.0.0.99"), WmiError);
}

TEST_F(SimulatedManagementTest, AcceptsOnlyListedAccountsExactly)
{
    EXPECT_NO_THROW(connect("10.0.0.2", "Admin", "Secret"));
    EXPECT_THROW(connect("10.0.0.2", "admin", "Secret"), WmiError);
    EXPECT_THROW(connect("10.0.0.2", "Admin", "secret"), WmiError);
    EXPECT_THROW(connect("10.0.0.2"), WmiError); // empty user not listed
    EXPECT_THROW(connect("10.0.0.5"), WmiError); // no accounts at all
    EXPECT_THROW(connect("", "Admin", "Secret"), WmiError);
}

TEST_F(SimulatedManagementTest, NamespaceMustBeOneOfTheComputersWithoutRegardToCase)
{
    EXPECT_NO_THROW(connect("", "", "", "ROOT\\CIMV2"));
    EXPECT_THROW(connect("", "", "", "root\\default"), WmiError);
    EXPECT_THROW(connect("", "", "", ""), WmiError);
    EXPECT_NO_THROW(connect("10.0.0.6", "", "", "root\\custom"));
    EXPECT_THROW(connect("10.0.0.6"), WmiError);
}

TEST_F(SimulatedManagementTest, UnreachableAndFailingComputers)
{
    EXPECT_THROW(connect("10.0.0.3"), WmiError);
    auto broken = connect("10.0.0.4");
    EXPECT_THROW(broken->execQuery("Select Name From Win32_ComputerSystem"), WmiError);
}

TEST_F(SimulatedManagementTest, QueryAnswersTheRequestedPropertiesOfEachRowInOrder)
{
    const auto rows = drives("select drive, NAME from win32_cdromdrive");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].property("Drive"), "D:");
    EXPECT_EQ(rows[0].property("Name"), "DVD-RW DRIVE");
    EXPECT_EQ(rows[1].property("drive"), "E:");
    // Only what was asked for comes back.
    EXPECT_FALSE(rows[0].property("Status").has_value());
    EXPECT_EQ(rows[0].properties().size(), 2u);
}

TEST_F(SimulatedManagementTest, ValuesReadAsText)
{
    const auto rows = drives("SELECT Availability, ConfigManagerErrorCode, ErrorCleared, MediaLoaded, Status, "
                             "StatusInfo, LastErrorCode, ErrorDescription FROM Win32_CDROMDrive");
    ASSERT_EQ(rows.size(), 2u);
    const struct {
        const char* property;
        std::optional<std::string> first;
    } cases[] = {
        {"Availability", "3"},
        {"ConfigManagerErrorCode", "-1"},
        {"ErrorCleared", "False"},
        {"MediaLoaded", "True"},
        {"Status", "OK"},
        {"StatusInfo", std::nullopt},       // null
        {"LastErrorCode", "2.50"},          // a number as written
        {"ErrorDescription", std::nullopt}, // absent
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rows[0].property(c.property), c.first) << c.property;
        EXPECT_FALSE(rows[1].property(c.property).has_value()) << c.property;
    }
}

TEST_F(SimulatedManagementTest, QuerySubsetAndItsErrors)
{
    auto services = connect("");
    EXPECT_EQ(services->execQuery("  Select   Name\tFROM Win32_ComputerSystem  ").size(), 1u);
    EXPECT_EQ(services->execQuery("Select Name From WIN32_COMPUTERSYSTEM").size(), 1u);
    EXPECT_EQ(services->execQuery("Select Drive,Name From Win32_CDROMDrive").size(), 2u);
    EXPECT_EQ(services->execQuery("Select * From Win32_CDROMDrive").at(0).property("Status"), "OK");
    for (const char* bad : {
             "Select Name From Win32_DiskDrive",     // other class
             "Select Name From",                     // no class
             "Select From Win32_CDROMDrive",         // no property
             "Select Name, From Win32_CDROMDrive",   // dangling comma
             "Select Name Win32_CDROMDrive",         // no From
             "Name From Win32_CDROMDrive",           // no Select
             "Select Name From Win32_CDROMDrive x",  // trailing word
             "Select Name From Win32_CDROMDrive Where Drive = 'D:'",
             "Select Name From Win32_CDROMDrive;",
             "",
         })
        EXPECT_THROW(services->execQuery(bad), WmiError) << bad;
}

TEST_F(SimulatedManagementTest, ServicesOutliveThePlatformThatMadeThem)
{
    auto services = connect("");
    platform = Platform{};
    network.reset();
    EXPECT_EQ(services->execQuery("Select Drive From Win32_CDROMDrive").size(), 2u);
}
