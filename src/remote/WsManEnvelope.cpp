#include "remote/WsManEnvelope.h"

#include <QUuid>

#include <cstdio>

namespace vorlu {

namespace {

constexpr const char* EnumerationAction = "http://schemas.xmlsoap.org/ws/2004/09/enumeration/";
constexpr int MaxElements = 100;

std::string duration(int ms)
{
    char text[32];
    std::snprintf(text, sizeof text, "PT%d.%03dS", ms / 1000, ms % 1000);
    return text;
}

std::string envelope(const WsManAddress& address, const char* action, const std::string& body)
{
    const std::string messageId = "uuid:" + QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper().toStdString();
    return std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
                       "<s:Envelope xmlns:s=\"") + wsman::SoapNs + "\" xmlns:wsa=\"" + wsman::AddressingNs +
           "\" xmlns:wsen=\"" + wsman::EnumerationNs + "\" xmlns:wsman=\"" + wsman::WsManNs +
           "\"><s:Header>"
           "<wsa:To>" + xmlEscaped(address.endpoint) + "</wsa:To>"
           "<wsman:ResourceURI s:mustUnderstand=\"true\">" + xmlEscaped(resourceUri(address.nameSpace)) +
           "</wsman:ResourceURI>"
           "<wsa:ReplyTo><wsa:Address s:mustUnderstand=\"true\">" + soap::AnonymousAddress + "</wsa:Address></wsa:ReplyTo>"
           "<wsa:Action s:mustUnderstand=\"true\">" + EnumerationAction + action + "</wsa:Action>"
           "<wsa:MessageID>" + messageId + "</wsa:MessageID>"
           "<wsman:MaxEnvelopeSize s:mustUnderstand=\"true\">" + std::to_string(wsman::MaxEnvelopeSize) +
           "</wsman:MaxEnvelopeSize>"
           "<wsman:OperationTimeout>" + duration(address.operationTimeoutMs) + "</wsman:OperationTimeout>"
           "<wsman:Locale xml:lang=\"en-US\" s:mustUnderstand=\"false\"/>"
           "</s:Header><s:Body>" + body + "</s:Body></s:Envelope>";
}

} // namespace

std::string xmlEscaped(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out.push_back(c);
        }
    }
    return out;
}

std::string resourceUri(const std::string& nameSpace)
{
    std::string path = nameSpace;
    for (char& c : path)
        if (c == '\\')
            c = '/';
    return "http://schemas.microsoft.com/wbem/wsman/1/wmi/" + path + "/*";
}

std::string enumerateEnvelope(const WsManAddress& address, const std::string& query)
{
    return envelope(address, "Enumerate",
                    "<wsen:Enumerate><wsman:OptimizeEnumeration/><wsman:MaxElements>" + std::to_string(MaxElements) +
                        "</wsman:MaxElements><wsman:Filter Dialect=\"http://schemas.microsoft.com/wbem/wsman/1/WQL\">" +
                        xmlEscaped(query) + "</wsman:Filter></wsen:Enumerate>");
}

std::string pullEnvelope(const WsManAddress& address, const std::string& context)
{
    return envelope(address, "Pull",
                    "<wsen:Pull><wsen:EnumerationContext>" + xmlEscaped(context) +
                        "</wsen:EnumerationContext><wsen:MaxElements>" + std::to_string(MaxElements) +
                        "</wsen:MaxElements></wsen:Pull>");
}

std::string releaseEnvelope(const WsManAddress& address, const std::string& context)
{
    return envelope(address, "Release",
                    "<wsen:Release><wsen:EnumerationContext>" + xmlEscaped(context) +
                        "</wsen:EnumerationContext></wsen:Release>");
}

} // namespace vorlu
