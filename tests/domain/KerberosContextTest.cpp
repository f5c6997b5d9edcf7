// The Kerberos session on its own against an acceptor holding the node's
// service keys: the sealed part's form (the wrap's header as the signature,
// then the data), both ways, and altered or cut parts refused.
#include "platform/Management.h"
#include "remote/KerberosContext.h"
#include "support/TestDomain.h"

#include <gssapi/gssapi.h>
#include <gssapi/gssapi_ext.h>
#include <gtest/gtest.h>

#include <cstdlib>

namespace vorlu {
namespace {

using test::testDomain;

std::string text(const gss_buffer_desc& b) { return {static_cast<const char*>(b.value), b.length}; }

// The node's side: a context accepted with the keytab of HTTP/srv-archive.
class Acceptor {
public:
    ~Acceptor()
    {
        OM_uint32 minor = 0;
        if (ctx_ != GSS_C_NO_CONTEXT)
            gss_delete_sec_context(&minor, &ctx_, nullptr);
    }
    std::string accept(const std::string& token)
    {
        OM_uint32 minor = 0;
        gss_buffer_desc in{token.size(), const_cast<char*>(token.data())};
        gss_buffer_desc out{0, nullptr};
        const OM_uint32 major = gss_accept_sec_context(&minor, &ctx_, GSS_C_NO_CREDENTIAL, &in,
                                                       GSS_C_NO_CHANNEL_BINDINGS, nullptr, nullptr, &out, nullptr,
                                                       nullptr, nullptr);
        EXPECT_FALSE(GSS_ERROR(major)) << kerberosFailure(major, minor, "", "srv-archive");
        std::string reply = text(out);
        gss_release_buffer(&minor, &out);
        return reply;
    }
    std::string unwrap(const std::string& token)
    {
        OM_uint32 minor = 0;
        gss_buffer_desc in{token.size(), const_cast<char*>(token.data())};
        gss_buffer_desc out{0, nullptr};
        int sealed = 0;
        const OM_uint32 major = gss_unwrap(&minor, ctx_, &in, &out, &sealed, nullptr);
        std::string plain = GSS_ERROR(major) || sealed == 0 ? std::string("<refused>") : text(out);
        gss_release_buffer(&minor, &out);
        return plain;
    }
    // A reply the way a node seals it: header, then data and padding.
    std::string seal(const std::string& plain)
    {
        std::string data = plain;
        gss_iov_buffer_desc iov[3] = {};
        iov[0].type = GSS_IOV_BUFFER_TYPE_HEADER | GSS_IOV_BUFFER_FLAG_ALLOCATE;
        iov[1].type = GSS_IOV_BUFFER_TYPE_DATA;
        iov[1].buffer = {data.size(), data.data()};
        iov[2].type = GSS_IOV_BUFFER_TYPE_PADDING | GSS_IOV_BUFFER_FLAG_ALLOCATE;
        OM_uint32 minor = 0;
        int sealed = 0;
        EXPECT_FALSE(GSS_ERROR(gss_wrap_iov(&minor, ctx_, 1, GSS_C_QOP_DEFAULT, &sealed, iov, 3)));
        const std::string header = text(iov[0].buffer);
        std::string part(4, '\0');
        for (std::size_t i = 0; i < 4; ++i)
            part[i] = static_cast<char>((header.size() >> (8 * i)) & 0xffu);
        part += header + data + text(iov[2].buffer);
        gss_release_iov_buffer(&minor, iov, 3);
        return part;
    }

private:
    gss_ctx_id_t ctx_ = GSS_C_NO_CONTEXT;
};

TEST(KerberosContext, SealsBothWaysAndRefusesAlteredParts)
{
    std::string why;
    if (!testDomain().enter(&why))
        GTEST_SKIP() << why;
    const auto& domain = testDomain();
    ::setenv("KRB5_KTNAME", ("FILE:" + domain.keytab("SRV-ARCHIVE")).c_str(), 1);
    auto client = makeKerberosContext(domain.admin() + "@" + domain.realm(), domain.adminPassword(),
                                      domain.hostName("SRV-ARCHIVE"));
    Acceptor node;
    const std::string answer = node.accept(client->step(""));
    EXPECT_FALSE(client->established()) << "mutual authentication waits for the node's answer";
    EXPECT_EQ(client->step(answer), "");
    ASSERT_TRUE(client->established());

    const std::string request = "<s:Envelope>SELECT * FROM Win32_CDROMDrive</s:Envelope>";
    const std::string part = client->seal(request);
    const std::uint32_t headerLength = static_cast<unsigned char>(part[0]) | static_cast<unsigned char>(part[1]) << 8;
    ASSERT_GT(part.size(), 4 + headerLength + request.size() - 1);
    EXPECT_EQ(part.find(request), std::string::npos) << "the data is encrypted";
    EXPECT_EQ(node.unwrap(part.substr(4)), request);

    const std::string reply = "<s:Envelope>D: DVD-RW</s:Envelope>";
    EXPECT_EQ(client->unseal(node.seal(reply)), reply);

    std::string altered = node.seal(reply);
    altered[altered.size() - 3] ^= 0x20;
    EXPECT_THROW(client->unseal(altered), WmiError);
    std::string overlong = node.seal(reply);
    overlong[1] = '\x7f';
    EXPECT_THROW(client->unseal(overlong), WmiError);
    EXPECT_THROW(client->unseal("abc"), WmiError);
    ::unsetenv("KRB5_KTNAME");
}

} // namespace
} // namespace vorlu
