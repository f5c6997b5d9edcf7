#pragma once
// A few lines of HTTP/1.1 over a connected socket, for tests that talk to the
// WS-Management test server below the program's own client.
#include <QAbstractSocket>
#include <QDeadlineTimer>

#include <cctype>
#include <map>
#include <string>

namespace vorlu::test {

struct RawReply {
    int status = 0; // 0: no complete reply
    std::multimap<std::string, std::string> headers; // names in lower case
    std::string body;

    std::string header(const std::string& name) const
    {
        auto it = headers.find(name);
        return it == headers.end() ? std::string() : it->second;
    }
};

inline std::string rawPost(const std::string& body, const std::map<std::string, std::string>& headers)
{
    std::string request = "POST /wsman HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Length: " + std::to_string(body.size())
        + "\r\n";
    for (const auto& [name, value] : headers)
        request += name + ": " + value + "\r\n";
    return request + "\r\n" + body;
}

// An Enumerate of a WQL query in root\cimv2 with the first items in its reply.
inline std::string enumerateEnvelope(const std::string& query)
{
    return "<s:Envelope xmlns:s=\"http://www.w3.org/2003/05/soap-envelope\" "
           "xmlns:a=\"http://schemas.xmlsoap.org/ws/2004/08/addressing\" "
           "xmlns:n=\"http://schemas.xmlsoap.org/ws/2004/09/enumeration\" "
           "xmlns:w=\"http://schemas.dmtf.org/wbem/wsman/1/wsman.xsd\"><s:Header>"
           "<a:To>http://127.0.0.1/wsman</a:To>"
           "<w:ResourceURI s:mustUnderstand=\"true\">http://schemas.microsoft.com/wbem/wsman/1/wmi/root/cimv2/*"
           "</w:ResourceURI><a:ReplyTo><a:Address>http://schemas.xmlsoap.org/ws/2004/08/addressing/role/anonymous"
           "</a:Address></a:ReplyTo><a:Action>http://schemas.xmlsoap.org/ws/2004/09/enumeration/Enumerate</a:Action>"
           "<a:MessageID>uuid:6E1B9A4C-0D7A-4C8E-9E55-3A1F2B7C9D01</a:MessageID>"
           "<w:MaxEnvelopeSize>153600</w:MaxEnvelopeSize></s:Header><s:Body><n:Enumerate><w:OptimizeEnumeration/>"
           "<w:MaxElements>32000</w:MaxElements><w:Filter Dialect=\"http://schemas.microsoft.com/wbem/wsman/1/WQL\">"
        + query + "</w:Filter></n:Enumerate></s:Body></s:Envelope>";
}

// Sends one request and reads one reply (Content-Length framed).
inline RawReply rawExchange(QAbstractSocket& socket, const std::string& request, int timeoutMs = 10000)
{
    RawReply reply;
    const QDeadlineTimer deadline(timeoutMs);
    socket.write(request.data(), static_cast<qint64>(request.size()));
    while (socket.bytesToWrite() > 0 && !deadline.hasExpired())
        socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime()));
    std::string data;
    std::size_t headEnd = std::string::npos;
    std::size_t length = 0;
    for (;;) {
        if (headEnd == std::string::npos && (headEnd = data.find("\r\n\r\n")) != std::string::npos) {
            std::size_t pos = data.find("\r\n");
            reply.status = std::stoi(data.substr(9, 3));
            while (pos < headEnd) {
                const std::size_t next = data.find("\r\n", pos + 2);
                const std::string line = data.substr(pos + 2, next - pos - 2);
                const std::size_t colon = line.find(':');
                std::string name = line.substr(0, colon);
                for (char& c : name)
                    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
                const std::size_t value = line.find_first_not_of(' ', colon + 1);
                reply.headers.emplace(name, value == std::string::npos ? std::string() : line.substr(value));
                pos = next;
            }
            length = std::stoul(reply.header("content-length").empty() ? "0" : reply.header("content-length"));
        }
        if (headEnd != std::string::npos && data.size() >= headEnd + 4 + length) {
            reply.body = data.substr(headEnd + 4, length);
            return reply;
        }
        if (deadline.hasExpired() || !socket.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
            return RawReply{};
        data += socket.readAll().toStdString();
    }
}

} // namespace vorlu::test
