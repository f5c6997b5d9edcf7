#pragma once
#include <string>

namespace vorlu {

// The tls-server-end-point channel binding of a server certificate (RFC 5929
// section 4.1), as GSSAPI takes it for application data: "tls-server-end-point:"
// and the hash of the DER certificate, SHA-256 unless the certificate is
// signed with SHA-384 or SHA-512, which is then used. Empty when the DER is
// not a certificate.
std::string tlsServerEndPoint(const std::string& certificateDer);

} // namespace vorlu
