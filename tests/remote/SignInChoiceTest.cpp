// A node's sign-in method against what its 401 offers.
#include "platform/Management.h"
#include "remote/SignInChoice.h"

#include <gtest/gtest.h>

namespace vorlu {
namespace {

std::string refusal(SignInMethod method, const std::vector<std::string>& offered, bool https, bool clearText)
{
    try {
        chooseSchemeFor(method, offered, https, clearText);
    } catch (const WmiError& e) {
        return e.what();
    }
    return {};
}

TEST(SignInChoice, InsistsOnTheMethodTheNodesConnectionAsksFor)
{
    const std::vector<std::string> both{"Negotiate", "Basic"};
    EXPECT_EQ(chooseSchemeFor(SignInMethod::Automatic, both, false, false), AuthScheme::Negotiate);
    EXPECT_EQ(chooseSchemeFor(SignInMethod::Negotiate, both, false, false), AuthScheme::Negotiate);
    EXPECT_EQ(chooseSchemeFor(SignInMethod::Basic, both, true, false), AuthScheme::Basic);
    EXPECT_EQ(chooseSchemeFor(SignInMethod::Basic, {"basic"}, false, true), AuthScheme::Basic);
    // Basic over plain HTTP still needs the user's leave.
    EXPECT_NE(refusal(SignInMethod::Basic, both, false, false).find("clear"), std::string::npos);
    EXPECT_EQ(refusal(SignInMethod::Negotiate, {"Basic"}, true, false),
              "401: the node offers Basic, not Negotiate, which this node's connection asks for");
    EXPECT_EQ(refusal(SignInMethod::Basic, {}, true, false),
              "401: the node offers no scheme, not Basic, which this node's connection asks for");
    // Kerberos rides under Negotiate, or under its own name where Negotiate is off.
    EXPECT_EQ(chooseSchemeFor(SignInMethod::Kerberos, both, false, false), AuthScheme::Negotiate);
    EXPECT_EQ(chooseSchemeFor(SignInMethod::Kerberos, {"Kerberos", "Basic"}, true, false), AuthScheme::Kerberos);
    EXPECT_NE(refusal(SignInMethod::Kerberos, {"Basic"}, true, false).find("Kerberos"), std::string::npos);
}

} // namespace
} // namespace vorlu
