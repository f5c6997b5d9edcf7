#include "app/SystemPlatform.h"
#include "platform/ui/QtUserInterfaceServices.h"
#include "remote/AnnouncingSocketLayer.h"
#include "remote/DomainEnumerator.h"

#include <gtest/gtest.h>
#include <unistd.h>

using namespace vorlu;

TEST(SystemPlatform, FillsEveryService)
{
    Platform p;
    QtMessageBoxes& boxes = installSystemPlatform(p, [] { return RemoteTransport{}; });
    EXPECT_EQ(&boxes, p.messages.get()) << "the boxes the main window becomes the parent of";
    EXPECT_TRUE(p.enumerator && p.sockets && p.localAddress && p.management && p.messages && p.programEnd && p.web);
    EXPECT_TRUE(dynamic_cast<DomainEnumerator*>(p.enumerator.get()))
        << "the network scan uses WS-Discovery, and the domain's directory where one is known";
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
    // Any other computer goes to WS-Management, which refuses an address no URL can hold before it
    // sends anything (the login itself is tried with the first query).
    try {
        (void)locator->connectServer("192.0.2.1\r\nX-Forged: 1", "root\\cimv2", "", "");
        ADD_FAILURE() << "a forged address was taken";
    } catch (const WmiError& e) {
        EXPECT_NE(std::string(e.what()).find("is not a host name or an IP address"), std::string::npos) << e.what();
    }
}
