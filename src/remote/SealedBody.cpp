#include "remote/SealedBody.h"

#include "platform/Management.h"
#include "platform/TextCase.h"

#include <charconv>

namespace vorlu {

namespace {

constexpr const char* SessionProtocol = "application/HTTP-SPNEGO-session-encrypted";
constexpr const char* DefaultBoundary = "Encrypted Boundary";
constexpr const char* DataHeader = "\tContent-Type: application/octet-stream\r\n";

// The boundary parameter of a multipart Content-Type, quoted or not.
std::string boundaryOf(const std::string& contentType)
{
    const std::size_t at = lowerAscii(contentType).find("boundary=");
    if (at == std::string::npos)
        return DefaultBoundary;
    std::size_t start = at + 9;
    if (start < contentType.size() && contentType[start] == '"') {
        const std::size_t end = contentType.find('"', start + 1);
        return end == std::string::npos ? std::string() : contentType.substr(start + 1, end - start - 1);
    }
    return contentType.substr(start, contentType.find(';', start) - start);
}

[[noreturn]] void badBody(const std::string& what)
{
    throw WmiError("the node's sealed reply is not in the expected form: " + what);
}

// The Length of "OriginalContent: type=...;Length=N" in the first part's headers.
std::size_t declaredLength(const std::string& headers)
{
    const std::string lowered = lowerAscii(headers);
    const std::size_t original = lowered.find("originalcontent:");
    const std::size_t at = original == std::string::npos ? original : lowered.find("length=", original);
    if (at == std::string::npos)
        badBody("no OriginalContent length");
    const char* begin = headers.data() + at + 7;
    const char* end = headers.data() + headers.size();
    std::size_t length = 0;
    const auto [next, ec] = std::from_chars(begin, end, length);
    if (ec != std::errc() || next == begin || (next != end && *next != '\r' && *next != ';'))
        badBody("an OriginalContent length that is not a number");
    return length;
}

// Where the closing boundary at the end of the body begins.
std::size_t closingAt(const std::string& body, const std::string& boundary, std::size_t dataStart)
{
    for (const std::string& closing : {boundary + "--\r\n", boundary + "--"}) {
        if (body.size() >= dataStart + closing.size()
            && body.compare(body.size() - closing.size(), closing.size(), closing) == 0)
            return body.size() - closing.size();
    }
    badBody("it does not end with its boundary");
}

} // namespace

bool isSealedBody(const std::string& contentType)
{
    const std::string lowered = lowerAscii(contentType);
    return lowered.rfind("multipart/encrypted", 0) == 0 && lowered.find(lowerAscii(SessionProtocol)) != std::string::npos;
}

std::string buildSealedBody(SecurityContext& session, const std::string& soap)
{
    const std::string boundary = std::string("--") + DefaultBoundary;
    return boundary + "\r\n\tContent-Type: " + SessionProtocol
        + "\r\n\tOriginalContent: type=application/soap+xml;charset=UTF-8;Length=" + std::to_string(soap.size())
        + "\r\n" + boundary + "\r\n" + DataHeader + session.seal(soap) + boundary + "--\r\n";
}

std::string readSealedBody(SecurityContext& session, const std::string& body, const std::string& contentType)
{
    if (!isSealedBody(contentType))
        badBody("Content-Type \"" + contentType + "\"");
    const std::string boundary = "--" + boundaryOf(contentType);
    if (boundary.size() == 2)
        badBody("an empty boundary");
    const std::string opening = boundary + "\r\n";
    if (body.compare(0, opening.size(), opening) != 0)
        badBody("it does not begin with its boundary");
    const std::size_t second = body.find(opening, opening.size());
    if (second == std::string::npos)
        badBody("the sealed part is missing");
    const std::size_t expected = declaredLength(body.substr(opening.size(), second - opening.size()));

    // The sealed data is binary and may hold anything, so its end is found
    // from the closing boundary at the end of the body.
    std::size_t dataStart = second + opening.size();
    if (lowerAscii(body.substr(dataStart, std::string(DataHeader).size())) != lowerAscii(DataHeader))
        badBody("the sealed part is not application/octet-stream");
    dataStart += std::string(DataHeader).size();
    const std::size_t dataEnd = closingAt(body, boundary, dataStart);
    std::string soap = session.unseal(body.substr(dataStart, dataEnd - dataStart));
    if (soap.size() != expected)
        throw WmiError("the node's sealed reply holds " + std::to_string(soap.size()) + " bytes where it declares "
                       + std::to_string(expected) + ": it was altered on the way");
    return soap;
}

} // namespace vorlu
