#include "app/SystemPlatform.h"
#include "platform/ui/QtUserInterfaceServices.h"
#include "remote/AnnouncingSocketLayer.h"
#include "remote/WsDiscoveryEnumerator.h"

#include <gtest/gtest.h>
#include <unistd.h>

using namespace vorlu;

TEST(SystemPlatform, FillsEveryService)
{
    Platform p;
    QtMessageBoxes& boxes = installSystemPlatform(p, [] { return RemoteTransport{}; });
    EXPECT_EQ(&boxes, p.messages.get()) << "the boxes the main window becomes the parent of";
    EXPECT_TRUE(p.enumerator && p.sockets && p.localAddress && p.management && p.messages && p.programEnd && p.web);
    EXPECT_TRUE(dynamic_cast<WsDiscoveryEnumerator*>(p.enumerator.get())) << "the network scan uses WS-Discovery";
    ASSERT_TRUE(dynamic_cast<AnnouncingSocketLayer*>(p.sockets.get())) << "names the resolver lacks fall back on the scan's";
    EXPECT_EQ(p.sockets->resolve("localhost"), (std::vector<std::uint8_t>{127, 0, 0, 1}));
}

TEST(SystemPlatform, ThisComputerAnswersFromItsOwnDrivesAndOthersAreRefused)
{
    Platform p;
    installSystemPlatform(p, [] { return RemoteTransport{}; });
    char host[256] = {};
    ASSERT_EQ(gethostname(host, sizeof host - 1), 0);
    auto locator = p.management->createLocator();
    for (const std::string& server : {std::string(), p.localAddress->localAddress()}) {
        const auto services = locator->connectServer(server, "root\\cimv2", "", "");
        EXPECT_EQ(services->execQuery("Select Name From Win32_ComputerSystem").at(0).property("Name"), host) << server;
        // This machine may or may not have a drive; the query must answer either way.
        EXPECT_NO_THROW(services->execQuery("Select Drive, Name From Win32_CDROMDrive"));
    }
    EXPECT_THROW(locator->connectServer("192.0.2.1", "root\\cimv2", "", ""), WmiError);
}
