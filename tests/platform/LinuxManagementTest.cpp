#include "support/FakeCdromDevices.h"

#include "platform/LinuxManagement.h"
#include "platform/ManagementRouter.h"
#include "support/UnavailableManagement.h"

#include <QTemporaryDir>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace vorlu;
namespace fs = std::filesystem;

namespace {

using Values = std::vector<std::optional<std::string>>;

const char* kInventory = "Select Drive, Name From Win32_CDROMDrive";
const char* kDiagnostics = "Select Availability, ConfigManagerErrorCode, ErrorCleared, ErrorDescription, "
                           "LastErrorCode, Status, StatusInfo, MediaLoaded From Win32_CDROMDrive";

// A sysfs tree in a temporary folder, laid out as the kernel does for SCSI
// block devices: class/block/<name>/device/{type,vendor,model,state}.
class FakeSysfs {
public:
    fs::path root() const { return fs::path(dir_.path().toStdString()); }

    void addBlockDevice(const std::string& name, const std::string& type, const std::string& vendor = "",
                        const std::string& model = "", const std::string& state = "running")
    {
        const fs::path device = root() / "class" / "block" / name / "device";
        fs::create_directories(device);
        write(device / "type", type + "\n");
        // The kernel pads vendor and model with blanks.
        write(device / "vendor", vendor + "   \n");
        write(device / "model", model + "    \n");
        if (!state.empty())
            write(device / "state", state + "\n");
        write(device.parent_path() / "uevent", "MAJOR=11\nMINOR=0\nDEVNAME=" + name + "\nDEVTYPE=disk\n");
    }
    void addOpticalDrive(const std::string& name, const std::string& vendor, const std::string& model,
                         const std::string& state = "running")
    {
        addBlockDevice(name, "5", vendor, model, state);
    }
    // A block device without a SCSI device behind it, such as a loop device.
    void addPlainBlockDevice(const std::string& name) { fs::create_directories(root() / "class" / "block" / name); }

    static void write(const fs::path& file, const std::string& text) { std::ofstream(file, std::ios::binary) << text; }

private:
    QTemporaryDir dir_;
};

Values valuesOf(const WmiRow& row)
{
    Values values;
    for (const auto& [name, value] : row.properties())
        values.push_back(value);
    return values;
}

class LinuxManagementTest : public testing::Test {
protected:
    LinuxManagementTest() : management({"vorlu-test", {"192.168.7.7"}}, sysfs.root(), devices) {}

    std::unique_ptr<WmiServices> connect(const std::string& server = "", const std::string& ns = "root\\cimv2")
    {
        return management.createLocator()->connectServer(server, ns, "", "");
    }
    std::vector<WmiRow> query(const std::string& text) { return connect()->execQuery(text); }

    FakeSysfs sysfs;
    std::shared_ptr<FakeCdromDevices> devices = std::make_shared<FakeCdromDevices>();
    LinuxManagement management;
};

std::string refusal(const std::function<void()>& call)
{
    try {
        call();
    } catch (const WmiError& e) {
        return e.what();
    }
    return "no error";
}

} // namespace

TEST_F(LinuxManagementTest, ComputerSystemAnswersTheHostName)
{
    const auto rows = query("Select Name From Win32_ComputerSystem");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].property("Name"), "vorlu-test");
}

TEST_F(LinuxManagementTest, InventoryListsOnlyOpticalDrivesInKernelOrderWithoutAskingThem)
{
    sysfs.addBlockDevice("vda", "0", "QEMU", "HARDDISK");
    sysfs.addPlainBlockDevice("loop0");
    EXPECT_TRUE(query(kInventory).empty());
    EXPECT_TRUE(query(kDiagnostics).empty());

    sysfs.addOpticalDrive("sr10", "HL-DT-ST", "DVDRAM GH24NSD1");
    sysfs.addOpticalDrive("sr2", "", "");
    const auto rows = query(kInventory);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(valuesOf(rows[0]), (Values{"/dev/sr2", std::nullopt}));
    EXPECT_EQ(valuesOf(rows[1]), (Values{"/dev/sr10", "HL-DT-ST DVDRAM GH24NSD1"}));
    // The inventory needs no drive to answer, so it never opens one.
    EXPECT_TRUE(devices->asked().empty());
}

TEST_F(LinuxManagementTest, DeviceNodeFollowsTheKernelsDeviceName)
{
    sysfs.addOpticalDrive("sr0", "ASUS", "BW-16D1HT");
    FakeSysfs::write(sysfs.root() / "class" / "block" / "sr0" / "uevent", "MAJOR=11\nDEVNAME=optical/bay0\n");
    EXPECT_EQ(query(kInventory).at(0).property("Drive"), "/dev/optical/bay0");
}

TEST_F(LinuxManagementTest, DiagnosticsSayWhatTheDriveAnswered)
{
    using O = CdromAnswer::Outcome;
    struct Case {
        const char* what;
        std::optional<CdromAnswer> answer; // none: the device node is absent
        std::string state;
        Values expected;
    };
    const std::optional<std::string> none;
    const Case cases[] = {
        {"disc in", CdromAnswer{O::Answered, CDS_DISC_OK}, "running", {"3", "0", none, none, none, "OK", none, "True"}},
        {"empty", CdromAnswer{O::Answered, CDS_NO_DISC}, "running", {"3", "0", none, none, none, "OK", none, "False"}},
        {"tray open", CdromAnswer{O::Answered, CDS_TRAY_OPEN}, "", {"3", "0", none, none, none, "OK", none, "False"}},
        {"spinning up", CdromAnswer{O::Answered, CDS_DRIVE_NOT_READY}, "running",
         {"19", "0", none, none, none, "OK", none, none}},
        {"driver cannot tell", CdromAnswer{O::Answered, CDS_NO_INFO}, "running",
         {"2", "0", none, none, none, "Unknown", none, none}},
        {"no permission", CdromAnswer{O::OpenFailed, EACCES}, "running",
         {"8", none, "False", "cannot open /dev/sr0: Permission denied", "13", "No Contact", none, none}},
        {"node absent", std::nullopt, "running",
         {"8", "24", "False", "cannot open /dev/sr0: No such file or directory", "2", "No Contact", none, none}},
        {"request fails", CdromAnswer{O::RequestFailed, EIO}, "running",
         {"8", none, "False", "drive status request on /dev/sr0 failed: Input/output error", "5", "Error", none,
          none}},
        {"kernel took it off line", CdromAnswer{O::Answered, CDS_DISC_OK}, "offline",
         {"8", none, "False", "the kernel reports the device offline", none, "Error", none, none}},
    };
    for (const Case& c : cases) {
        FakeSysfs tree;
        tree.addOpticalDrive("sr0", "TSST", "SH-224", c.state);
        auto fake = std::make_shared<FakeCdromDevices>();
        if (c.answer)
            fake->set("/dev/sr0", *c.answer);
        const auto rows = LinuxManagement({"here", {}}, tree.root(), fake)
                              .createLocator()
                              ->connectServer("", "root\\cimv2", "", "")
                              ->execQuery(kDiagnostics);
        ASSERT_EQ(rows.size(), 1u) << c.what;
        EXPECT_EQ(valuesOf(rows[0]), c.expected) << c.what;
    }
}

TEST_F(LinuxManagementTest, EachDriveIsAskedOnceAndAFailingOneDoesNotHideTheOthers)
{
    sysfs.addOpticalDrive("sr0", "TSST", "SH-224");
    sysfs.addOpticalDrive("sr1", "PIONEER", "BDR-XD07");
    devices->set("/dev/sr0", {CdromAnswer::Outcome::OpenFailed, ENXIO});
    devices->set("/dev/sr1", {CdromAnswer::Outcome::Answered, CDS_DISC_OK});
    const auto rows = query(kDiagnostics);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].property("Status"), "No Contact");
    EXPECT_EQ(rows[1].property("Status"), "OK");
    EXPECT_EQ(rows[1].property("MediaLoaded"), "True");
    EXPECT_EQ(devices->asked(), (std::vector<std::string>{"/dev/sr0", "/dev/sr1"}));
}

TEST_F(LinuxManagementTest, SelectAllGivesNameAndState)
{
    sysfs.addOpticalDrive("sr0", "TSST", "SH-224");
    devices->set("/dev/sr0", {CdromAnswer::Outcome::Answered, CDS_NO_DISC});
    const auto rows = query("select * from win32_cdromdrive");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].properties().size(), 10u);
    EXPECT_EQ(rows[0].property("name"), "TSST SH-224");
    EXPECT_EQ(rows[0].property("medialoaded"), "False");
}

TEST_F(LinuxManagementTest, ServesOnlyThisComputerAndItsNamespace)
{
    for (const char* server : {"", ".", "localhost", "127.0.1.1", "::1", "VORLU-TEST", "192.168.7.7"})
        EXPECT_NO_THROW(connect(server)) << server;
    EXPECT_NO_THROW(connect("", "ROOT/CIMV2"));
    EXPECT_EQ(refusal([&] { connect("192.168.7.8"); }),
              "192.168.7.8 is not this computer; only this computer's drives can be read here");
    EXPECT_EQ(refusal([&] { connect("", "root\\Custom"); }),
              "namespace root\\Custom is not served on this computer (only root\\cimv2)");
    EXPECT_EQ(refusal([&] { query("Select Name From Win32_Processor"); }), "Invalid class");
    EXPECT_EQ(refusal([&] { query("Select Name From Win32_CDROMDrive Where Drive = 'D:'"); }), "Invalid query");
}

TEST_F(LinuxManagementTest, HostNameMatchesWithOrWithoutItsDomain)
{
    const ThisComputer here{"ws-07.office.lan", {}};
    EXPECT_TRUE(here.isAddressedBy("WS-07"));
    EXPECT_TRUE(here.isAddressedBy("ws-07.office.lan"));
    EXPECT_FALSE(here.isAddressedBy("ws-07.other.lan"));
    EXPECT_FALSE(here.isAddressedBy("ws-0"));
    EXPECT_FALSE(here.isAddressedBy("128.0.0.1"));
}

TEST(ManagementRouter, SendsThisComputerToItsAdapterAndOthersToTheRemoteOne)
{
    FakeSysfs sysfs;
    const ThisComputer here{"vorlu-test", {"192.168.7.7"}};
    ManagementRouter router(here, std::make_unique<LinuxManagement>(here, sysfs.root(), std::make_shared<FakeCdromDevices>()),
                            std::make_unique<test::UnavailableManagement>());
    auto locator = router.createLocator();
    for (const char* server : {"", "192.168.7.7", "vorlu-test"})
        EXPECT_EQ(locator->connectServer(server, "root\\cimv2", "admin", "pw")
                      ->execQuery("Select Name From Win32_ComputerSystem")
                      .at(0)
                      .property("Name"),
                  "vorlu-test")
            << server;
    EXPECT_EQ(refusal([&] { locator->connectServer("192.168.7.8", "root\\cimv2", "", ""); }),
              "remote management is not available in this build");
}
