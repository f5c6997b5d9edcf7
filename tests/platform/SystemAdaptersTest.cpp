#include "platform/QtUserInterfaceServices.h"
#include "platform/ScriptedMessageBoxes.h"
#include "platform/SystemLocalAddress.h"
#include "platform/SystemPlatform.h"
#include "platform/SystemSocketLayer.h"
#include "platform/UnavailableServices.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace vorlu;

TEST(SystemSocketLayer, StartsAsVersionOneOne)
{
    SystemSocketLayer sockets;
    const SocketStartup s = sockets.startup(0x0101);
    EXPECT_EQ(s.error, 0);
    EXPECT_EQ(s.version, 0x0101);
    EXPECT_EQ(s.maxSockets, 32767);
}

TEST(SystemSocketLayer, ResolvesToFourBytesInAddressOrder)
{
    SystemSocketLayer sockets;
    EXPECT_EQ(sockets.resolve("10.0.0.7"), (std::vector<std::uint8_t>{10, 0, 0, 7}));
    EXPECT_EQ(sockets.resolve("localhost"), (std::vector<std::uint8_t>{127, 0, 0, 1}));
    EXPECT_FALSE(sockets.resolve("").has_value());
}

TEST(SystemLocalAddress, IsADottedIpv4Address)
{
    const std::string address = SystemLocalAddress().localAddress();
    in_addr parsed{};
    EXPECT_EQ(inet_pton(AF_INET, address.c_str(), &parsed), 1) << address;
}

TEST(UnavailableServices, FailTheWayTheLogicExpects)
{
    EXPECT_THROW(UnavailableEnumerator().enumerateServers(ServerEnumerator::kAllServerTypes), EnumerationFailure);
    auto locator = UnavailableManagement().createLocator();
    try {
        locator->connectServer("", "root\\cimv2", "", "");
        FAIL() << "connected";
    } catch (const WmiError& e) {
        EXPECT_STREQ(e.what(), "remote management is not available in this build");
    }
}

TEST(SystemPlatform, FillsEveryService)
{
    Platform p;
    installSystemPlatform(p);
    EXPECT_TRUE(p.enumerator && p.sockets && p.localAddress && p.management && p.messages && p.programEnd && p.web);
}

TEST(SystemPlatform, ThisComputerAnswersFromItsOwnDrivesAndOthersAreRefused)
{
    Platform p;
    installSystemPlatform(p);
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

TEST(QtMessageBoxes, ShowsTextTitleIconAndOneOkButton)
{
    struct Seen {
        QString title, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        int buttons = 0;
        Qt::TextFormat format = Qt::AutoText;
    };
    auto showAndRead = [](const std::string& text, const std::string& title, MessageIcon icon) {
        Seen seen;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* box = qobject_cast<QMessageBox*>(w);
                if (!box || !box->isVisible())
                    continue;
                seen = {box->windowTitle(), box->text(), box->icon(), static_cast<int>(box->buttons().size()),
                        box->textFormat()};
                box->accept();
            }
        });
        poll.start(10);
        QtMessageBoxes().show(text, title, icon);
        return seen;
    };
    const Seen plain = showAndRead("Winsock.dll is not responding.", "", MessageIcon::None);
    EXPECT_EQ(plain.title, "Vorlu Optical");
    EXPECT_EQ(plain.text, "Winsock.dll is not responding.");
    EXPECT_EQ(plain.icon, QMessageBox::NoIcon);
    EXPECT_EQ(plain.buttons, 1);
    EXPECT_EQ(plain.format, Qt::PlainText);

    const Seen error = showAndRead("<b>x</b>", "Network error", MessageIcon::Error);
    EXPECT_EQ(error.title, "Network error");
    EXPECT_EQ(error.text, "<b>x</b>");
    EXPECT_EQ(error.icon, QMessageBox::Critical);
    EXPECT_EQ(showAndRead("q", "t", MessageIcon::Question).icon, QMessageBox::Question);
}

TEST(ScriptedMessageBoxes, RecordsBoxesAndBeepsInOrder)
{
    ScriptedMessageBoxes boxes;
    int seenByHandler = 0;
    boxes.onShow([&](const ScriptedMessageBoxes::Box& b) {
        ++seenByHandler;
        EXPECT_EQ(boxes.boxes().back().text, b.text);
    });
    boxes.show("first", "", MessageIcon::None);
    boxes.beep();
    boxes.show("second", "Network error", MessageIcon::Error);
    const auto shown = boxes.boxes();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].beepsBefore, 0);
    EXPECT_EQ(shown[1].text, "second");
    EXPECT_EQ(shown[1].title, "Network error");
    EXPECT_EQ(shown[1].icon, MessageIcon::Error);
    EXPECT_EQ(shown[1].beepsBefore, 1);
    EXPECT_EQ(boxes.beeps(), 1);
    EXPECT_EQ(seenByHandler, 2);
    boxes.clear();
    EXPECT_TRUE(boxes.boxes().empty());
    EXPECT_EQ(boxes.beeps(), 0);
}
