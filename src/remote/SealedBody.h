#pragma once
#include "remote/SecurityContext.h"

#include <string>

namespace vorlu {

// The Content-Type of a body sealed with the Negotiate session.
inline constexpr const char* SealedBodyContentType =
    "multipart/encrypted;protocol=\"application/HTTP-SPNEGO-session-encrypted\";boundary=\"Encrypted Boundary\"";

// Whether a reply's Content-Type says its body is sealed.
bool isSealedBody(const std::string& contentType);

// The multipart/encrypted body carrying a SOAP text sealed through the session.
std::string buildSealedBody(SecurityContext& session, const std::string& soap);

// The SOAP text of a sealed reply; throws WmiError when the body is not in
// the form a node sends, does not verify, or its length is not the declared one.
std::string readSealedBody(SecurityContext& session, const std::string& body, const std::string& contentType);

} // namespace vorlu
