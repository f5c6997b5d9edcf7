// The login rule for a node and what of a failure may be shown.
#include "inventory/NodeDiagnosis.h"
#include "inventory/WmiConnection.h"
#include "platform/Log.h"
#include "support/InventoryFakes.h"
#include "support/UnavailableManagement.h"

#include <QFile>
#include <QTemporaryDir>

#include <filesystem>
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

WmiRow namedRow()
{
    WmiRow row;
    row.properties().emplace_back("Name", "PC-5");
    return row;
}

// Refused logins, failed queries and failed writes reach the log as warnings
// naming the node, its address, the login and the reason; the password never.
TEST(NodeDiagnosisLog, FailuresAreLoggedWithTheNodeAndTheReasonNeverThePassword)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("run.log").toStdString();
    ASSERT_TRUE(openLogFile(path, nullptr));
    NodeRecord node = discoveredNode("PC-5");
    node.IP = "10.0.0.5";
    node.Login = "admin";
    node.Password = "Se(ret";
    const DiagnosisSettings settings{dir.path().toStdString(), "", "", "root\\cimv2"};
    test::UnavailableManagement refusing;
    EXPECT_EQ(diagnoseNode(refusing, node, settings).kind, NodeOutcomeKind::Refused);
    test::AnsweringManagement failing([](const std::string& query) -> std::vector<WmiRow> {
        if (query.find("Win32_ComputerSystem") != std::string::npos)
            return {namedRow()};
        throw WmiError("Invalid query; the login Se(ret was used");
    });
    EXPECT_EQ(diagnoseNode(failing, node, settings).kind, NodeOutcomeKind::QueryFailed);
    test::AnsweringManagement answering([](const std::string&) { return std::vector<WmiRow>{namedRow()}; });
    const DiagnosisSettings unwritable{dir.filePath("run.log").toStdString(), "", "", "root\\cimv2"};
    EXPECT_EQ(diagnoseNode(answering, node, unwritable).kind, NodeOutcomeKind::WriteFailed);
    node.IP.clear();
    const NodeOutcome noAddress = diagnoseNode(answering, node, settings);
    EXPECT_EQ(noAddress.kind, NodeOutcomeKind::Refused);
    EXPECT_EQ(noAddress.reason, "no address");
    EXPECT_FALSE(std::filesystem::exists(dir.filePath("PC-5").toStdString())) << "nothing written for it";
    closeLogFile();

    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const std::string text = file.readAll().toStdString();
    for (const char* line : {"vorlu.inventory warning: PC-5 (10.0.0.5) as admin refused: remote management is not "
                             "available in this build",
                             "vorlu.inventory warning: PC-5 (10.0.0.5) as admin did not answer a drive query: Invalid "
                             "query; the login ***** was used",
                             "vorlu.inventory warning: PC-5 (10.0.0.5) as admin could not be written: ",
                             "vorlu.inventory warning: PC-5 (no address) as admin refused: no address"})
        EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
    EXPECT_EQ(text.find("Se(ret"), std::string::npos) << text;
}

} // namespace
} // namespace vorlu
