#pragma once
#include "remote/SoapNames.h"

#include <string>

namespace vorlu {

namespace wsman {
using soap::AddressingNs;
using soap::SoapNs;
inline constexpr const char* EnumerationNs = "http://schemas.xmlsoap.org/ws/2004/09/enumeration";
inline constexpr const char* WsManNs = "http://schemas.dmtf.org/wbem/wsman/1/wsman.xsd";
inline constexpr const char* InstanceNs = "http://www.w3.org/2001/XMLSchema-instance";
inline constexpr const char* FaultNs = "http://schemas.microsoft.com/wbem/wsman/1/wsmanfault";
inline constexpr const char* SoapContentType = "application/soap+xml;charset=UTF-8";
// What the node's service accepts by default (150 KB); a reply never grows past it.
inline constexpr int MaxEnvelopeSize = 153600;
} // namespace wsman

// What every message of one enumeration shares.
struct WsManAddress {
    std::string endpoint;  // http://HOST:5985/wsman
    std::string nameSpace; // root\cimv2
    // The node's own limit for one operation; kept below the HTTP limit so
    // the node answers with a fault before the connection is given up.
    int operationTimeoutMs = 25000;
};

// The WMI resource of a namespace: .../wmi/root/cimv2/* for root\cimv2.
std::string resourceUri(const std::string& nameSpace);

// The messages of one WQL query; each has a fresh uuid MessageID.
std::string enumerateEnvelope(const WsManAddress& address, const std::string& query);
std::string pullEnvelope(const WsManAddress& address, const std::string& context);
std::string releaseEnvelope(const WsManAddress& address, const std::string& context);

// Text with &, <, >, " escaped for XML.
std::string xmlEscaped(const std::string& text);

} // namespace vorlu
