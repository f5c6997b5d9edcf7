// A node's own connection against the test server: its port and scheme
// replace the program's for that node alone, and its sign-in method is
// insisted on.
#include "remote/NodeConnectionManagement.h"
#include "support/WsManTestServer.h"

#include <gtest/gtest.h>

namespace vorlu {
namespace {

const char* const Node = R"({"classes": {"Win32_ComputerSystem": [{"Name": "SRV-ARCHIVE"}]}})";

std::string connectFailure(NodeConnectionManagement& management)
{
    try {
        management.createLocator()
            ->connectServer("127.0.0.1", "root\\cimv2",
                            std::string(WsManTestServer::Domain) + "\\" + WsManTestServer::User,
                            WsManTestServer::Password)
            ->execQuery("Select Name From Win32_ComputerSystem");
    } catch (const WmiError& e) {
        return e.what();
    }
    return {};
}

TEST(NodeConnectionManagement, TheNodesOwnConnectionReplacesTheProgramsForThatNodeOnly)
{
    WsManTestServer server({Node, "basic", true});
    ASSERT_TRUE(server.started()) << server.error();
    RemoteTransport program; // HTTP on 5985, where nothing of the test listens
    program.caFile = server.caFile();
    program.connectTimeoutMs = 2000;
    std::optional<NodeConnection> own;
    NodeConnectionManagement management([program] { return program; },
                                        [&own](const std::string& host) {
                                            return host == "127.0.0.1" ? own : std::nullopt;
                                        });
    EXPECT_NE(connectFailure(management), "") << "the program's own port reached the server";

    own = NodeConnection{true, server.port(), SignInMethod::Automatic, ""};
    EXPECT_EQ(connectFailure(management), "");
    own->signIn = SignInMethod::Basic;
    EXPECT_EQ(connectFailure(management), "");
    own->signIn = SignInMethod::Negotiate;
    EXPECT_NE(connectFailure(management).find("not Negotiate, which this node's connection asks for"),
              std::string::npos);
    own->signIn = SignInMethod::Kerberos;
    EXPECT_NE(connectFailure(management).find("Kerberos"), std::string::npos);
}

} // namespace
} // namespace vorlu
