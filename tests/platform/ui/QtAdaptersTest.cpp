#include "platform/ui/QtUserInterfaceServices.h"
#include "platform/ui/SystemPlatform.h"
#include "remote/AnnouncingSocketLayer.h"
#include "remote/WsDiscoveryEnumerator.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
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

TEST(QtMessageBoxes, ShowsTextTitleIconAndOneOkButton)
{
    struct Seen {
        QString title, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        int buttons = 0;
        Qt::TextFormat format = Qt::AutoText;
        QWidget* parent = nullptr;
    };
    QtMessageBoxes boxes;
    auto showAndRead = [&boxes](const std::string& text, const std::string& title, MessageIcon icon) {
        Seen seen;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* box = qobject_cast<QMessageBox*>(w);
                if (!box || !box->isVisible())
                    continue;
                seen = {box->windowTitle(), box->text(), box->icon(), static_cast<int>(box->buttons().size()),
                        box->textFormat(), box->parentWidget()};
                box->accept();
            }
        });
        poll.start(10);
        boxes.show(text, title, icon);
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

    QWidget window;
    window.show();
    boxes.setParentWidget(&window);
    EXPECT_EQ(showAndRead("p", "", MessageIcon::None).parent, &window);
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
