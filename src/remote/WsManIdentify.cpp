#include "remote/WsManIdentify.h"

#include "platform/Management.h"
#include "remote/HttpConnection.h"

#include <QXmlStreamReader>

namespace vorlu {

namespace {

const char* const IdentityNamespace = "http://schemas.dmtf.org/wbem/wsman/identity/1/wsmanidentity.xsd";
// An identity is a few hundred bytes; anything deeper or longer is not one.
constexpr int MaxDepth = 16;
constexpr qsizetype MaxFieldChars = 256;

} // namespace

std::string identifyEnvelope()
{
    return std::string("<s:Envelope xmlns:s=\"http://www.w3.org/2003/05/soap-envelope\" xmlns:wsmid=\"") +
           IdentityNamespace + "\"><s:Header/><s:Body><wsmid:Identify/></s:Body></s:Envelope>";
}

std::optional<IdentifyAnswer> readIdentifyReply(const std::string& xml, std::string* problem)
{
    QXmlStreamReader reader(QByteArray::fromStdString(xml));
    IdentifyAnswer answer;
    bool inResponse = false;
    bool seen = false;
    int depth = 0;
    while (!reader.atEnd()) {
        const auto token = reader.readNext();
        if (token == QXmlStreamReader::DTD || token == QXmlStreamReader::EntityReference) {
            if (problem)
                *problem = "the answer declares a document type or entities";
            return std::nullopt;
        }
        if (token == QXmlStreamReader::EndElement) {
            --depth;
            if (reader.name() == QLatin1String("IdentifyResponse"))
                inResponse = false;
            continue;
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        if (++depth > MaxDepth) {
            if (problem)
                *problem = "the answer is nested too deeply";
            return std::nullopt;
        }
        const bool identity = reader.namespaceUri() == QLatin1String(IdentityNamespace);
        if (identity && reader.name() == QLatin1String("IdentifyResponse")) {
            inResponse = seen = true;
            continue;
        }
        if (!inResponse || !identity)
            continue;
        std::string* field = nullptr;
        if (reader.name() == QLatin1String("ProtocolVersion"))
            field = &answer.protocolVersion;
        else if (reader.name() == QLatin1String("ProductVendor"))
            field = &answer.productVendor;
        else if (reader.name() == QLatin1String("ProductVersion"))
            field = &answer.productVersion;
        if (!field)
            continue;
        QString text = reader.readElementText(QXmlStreamReader::SkipChildElements).simplified().left(MaxFieldChars);
        --depth; // readElementText consumed the end element
        // The fields end up on terminals and in logs: no control characters.
        for (QChar& c : text)
            if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
                c = QLatin1Char('?');
        *field = text.toStdString();
    }
    if (reader.hasError()) {
        if (problem)
            *problem = "the answer is not well-formed XML: " + reader.errorString().toStdString();
        return std::nullopt;
    }
    if (!seen) {
        if (problem)
            *problem = "the answer is not an IdentifyResponse";
        return std::nullopt;
    }
    return answer;
}

IdentifyAnswer identifyNode(const std::string& host, int port, bool https, int timeoutMs)
{
    HttpEndpoint endpoint;
    endpoint.host = host;
    endpoint.port = port;
    endpoint.https = https;
    endpoint.verifyCertificate = false;
    endpoint.connectTimeoutMs = timeoutMs;
    endpoint.queryTimeoutMs = timeoutMs;
    HttpConnection http(endpoint);
    HttpRequest request;
    request.contentType = "application/soap+xml;charset=UTF-8";
    request.headers.emplace_back("WSMANIDENTIFY", "unauthenticated");
    request.body = identifyEnvelope();
    const HttpResponse response = http.post(request, QDeadlineTimer(timeoutMs));
    if (response.status != 200)
        throw WmiError("Identify answered with HTTP " + std::to_string(response.status));
    std::string problem;
    auto answer = readIdentifyReply(response.body, &problem);
    if (!answer)
        throw WmiError("Identify: " + problem);
    return *answer;
}

} // namespace vorlu
