// The login rule for a node and what of a failure may be shown.
#include "inventory/WmiConnection.h"
#include "platform/Log.h"
#include "support/InventoryFakes.h"
#include "support/UnavailableManagement.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace vorlu {
namespace {

TEST(WmiConnection, NodeLoginOrTheAdministrators)
{
    NodeRecord own = discoveredNode("PC-5");
    own.IP = "10.0.0.5";
    own.Login = "admin";
    own.Password = "pw";
    NodeRecord none = discoveredNode("PC-6");
    none.IP = "10.0.0.6";
    WmiConnection c;
    SelectNodeCredentials(c, own, "administrator", "Adm1n");
    EXPECT_EQ(c.server, "10.0.0.5");
    EXPECT_EQ(c.user, "admin");
    EXPECT_EQ(c.password, "pw");
    SelectNodeCredentials(c, none, "administrator", "Adm1n");
    EXPECT_EQ(c.server, "10.0.0.6");
    EXPECT_EQ(c.user, "administrator");
    EXPECT_EQ(c.password, "Adm1n");
    ClearConnection(c);
    EXPECT_EQ(c.server + c.user + c.password, "");
}

TEST(WmiConnection, ShownReasonNeverHoldsThePasswordAndIsOneLine)
{
    const WmiConnection c{"10.0.0.5", "admin", "Se(ret", "PC-5"};
    EXPECT_EQ(displayReason("logon admin/Se(ret refused\r\nretry Se(ret", c), "logon admin/***** refused  retry *****");
    EXPECT_EQ(displayReason("", c), "no reason given");
    EXPECT_EQ(displayReason("Access is denied.", WmiConnection{}), "Access is denied.");
}

// A refused connection and a failed query reach the log as warnings naming the
// node, the login and the reason; the password never does.
TEST(WmiConnection, FailuresAreLoggedWithTheNodeAndTheReasonNeverThePassword)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("run.log").toStdString();
    ASSERT_TRUE(openLogFile(path, nullptr));
    const WmiConnection c{"10.0.0.5", "admin", "Se(ret", "PC-5"};
    test::UnavailableManagement refusing;
    EXPECT_THROW(OpenConnection(refusing, c, "root\\cimv2"), WmiError);
    test::AnsweringManagement failing([](const std::string&) -> std::vector<WmiRow> {
        throw WmiError("Invalid query; the login Se(ret was used");
    });
    EXPECT_THROW(QueryNode(failing, c, "root\\cimv2", "Select Drive From Win32_CDROMDrive"), WmiError);
    closeLogFile();
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const std::string text = file.readAll().toStdString();
    EXPECT_NE(text.find("vorlu.inventory warning: connecting to PC-5 (10.0.0.5) as admin in root\\cimv2 failed: "
                        "remote management is not available in this build"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("vorlu.inventory warning: the query \"Select Drive From Win32_CDROMDrive\" on PC-5 (10.0.0.5) "
                        "failed: Invalid query; the login ***** was used"),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find("Se(ret"), std::string::npos) << text;
}

} // namespace
} // namespace vorlu
