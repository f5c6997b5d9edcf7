#pragma once

namespace vorlu::soap {

// WS-Discovery and WS-Management both speak SOAP 1.2 with the 2004/08 addressing.
inline constexpr char SoapNs[] = "http://www.w3.org/2003/05/soap-envelope";
inline constexpr char AddressingNs[] = "http://schemas.xmlsoap.org/ws/2004/08/addressing";
// The ReplyTo of a request answered on its own connection.
inline constexpr char AnonymousAddress[] = "http://schemas.xmlsoap.org/ws/2004/08/addressing/role/anonymous";

} // namespace vorlu::soap
