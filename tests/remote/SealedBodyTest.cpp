// The multipart/encrypted form of a sealed message, over a session whose
// "sealing" is plain to see, so that every form check is seen alone.
#include "platform/Management.h"
#include "remote/SealedBody.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vorlu {
namespace {

class MirrorSession : public SecurityContext {
public:
    std::string scheme() const override { return "Negotiate"; }
    void bindChannel(const std::string&) override {}
    std::string refusal(const std::string&) const override { return "refused"; }
    std::string step(const std::string&) override { return {}; }
    bool established() const override { return true; }
    std::string seal(const std::string& plain) override
    {
        std::string part = plain;
        std::reverse(part.begin(), part.end());
        return "SIG:" + part;
    }
    std::string unseal(const std::string& part) override
    {
        if (part.rfind("SIG:", 0) != 0)
            throw WmiError("does not verify");
        std::string plain = part.substr(4);
        std::reverse(plain.begin(), plain.end());
        return plain;
    }
};

const std::string Soap = "<s:Envelope>r\xc3\xa9ponse\r\n--Encrypted Boundary\r\n</s:Envelope>";

TEST(SealedBody, HasTheFormOfANodeAndReadsBack)
{
    MirrorSession session;
    const std::string body = buildSealedBody(session, Soap);
    std::string reversed = Soap;
    std::reverse(reversed.begin(), reversed.end());
    EXPECT_EQ(body,
              "--Encrypted Boundary\r\n\tContent-Type: application/HTTP-SPNEGO-session-encrypted\r\n"
              "\tOriginalContent: type=application/soap+xml;charset=UTF-8;Length="
                  + std::to_string(Soap.size()) + "\r\n--Encrypted Boundary\r\n"
                  "\tContent-Type: application/octet-stream\r\nSIG:" + reversed + "--Encrypted Boundary--\r\n");
    EXPECT_TRUE(isSealedBody(SealedBodyContentType));
    EXPECT_EQ(readSealedBody(session, body, SealedBodyContentType), Soap);
    // A boundary given without quotes, and no line end after the closing one.
    EXPECT_EQ(readSealedBody(session, body.substr(0, body.size() - 2),
                             "multipart/encrypted;protocol=\"application/HTTP-SPNEGO-session-encrypted\";"
                             "boundary=Encrypted Boundary"),
              Soap);
}

TEST(SealedBody, BodiesNotInTheFormOfANodeAreRefused)
{
    MirrorSession session;
    const std::string good = buildSealedBody(session, Soap);
    auto replaced = [&](const std::string& from, const std::string& to) {
        std::string body = good;
        body.replace(body.find(from), from.size(), to);
        return body;
    };
    struct Case {
        const char* name;
        std::string body;
        std::string contentType;
        const char* words;
    };
    const std::string length = "Length=" + std::to_string(Soap.size());
    const Case cases[] = {
        {"plain SOAP type", good, "application/soap+xml;charset=UTF-8", "Content-Type"},
        {"empty body", "", SealedBodyContentType, "begin"},
        {"no sealed part", good.substr(0, good.find("\r\n--Encrypted Boundary\r\n") + 2), SealedBodyContentType,
         "sealed part is missing"},
        {"no length", replaced(length, "Size=3"), SealedBodyContentType, "OriginalContent length"},
        {"length not a number", replaced(length, "Length=12x"), SealedBodyContentType, "not a number"},
        {"length not the one sealed", replaced(length, "Length=7"), SealedBodyContentType, "declares 7"},
        {"other part type", replaced("application/octet-stream", "text/plain"), SealedBodyContentType,
         "octet-stream"},
        {"cut short", good.substr(0, good.size() - 10), SealedBodyContentType, "end with its boundary"},
        {"part that does not verify", replaced("SIG:", "GIS:"), SealedBodyContentType, "does not verify"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            readSealedBody(session, c.body, c.contentType);
            ADD_FAILURE() << "accepted";
        } catch (const WmiError& e) {
            EXPECT_NE(std::string(e.what()).find(c.words), std::string::npos) << e.what();
        }
    }
}

} // namespace
} // namespace vorlu
