// The login rule for a node and what of a failure may be shown.
#include "inventory/WmiConnection.h"

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
    const WmiConnection c{"10.0.0.5", "admin", "Se(ret"};
    EXPECT_EQ(displayReason("logon admin/Se(ret refused\r\nretry Se(ret", c), "logon admin/***** refused  retry *****");
    EXPECT_EQ(displayReason("", c), "no reason given");
    EXPECT_EQ(displayReason("Access is denied.", WmiConnection{}), "Access is denied.");
}

} // namespace
} // namespace vorlu
