#include "remote/ChannelBinding.h"

#include <QByteArray>
#include <QCryptographicHash>

#include <optional>

namespace vorlu {

namespace {

struct DerElement {
    unsigned char tag = 0;
    std::size_t contentAt = 0;
    std::size_t length = 0;
    std::size_t end() const { return contentAt + length; }
};

// The element of DER that begins at `at`, within `limit`.
std::optional<DerElement> readElement(const std::string& der, std::size_t at, std::size_t limit)
{
    if (at + 2 > limit)
        return std::nullopt;
    DerElement e;
    e.tag = static_cast<unsigned char>(der[at]);
    std::size_t length = static_cast<unsigned char>(der[at + 1]);
    std::size_t next = at + 2;
    if (length & 0x80u) {
        const std::size_t count = length & 0x7fu;
        if (count == 0 || count > 4 || next + count > limit)
            return std::nullopt;
        length = 0;
        for (std::size_t k = 0; k < count; ++k)
            length = (length << 8) | static_cast<unsigned char>(der[next + k]);
        next += count;
    }
    if (length > limit - next)
        return std::nullopt;
    e.contentAt = next;
    e.length = length;
    return e;
}

// The signature algorithm's OID bytes of a certificate:
// SEQUENCE { tbsCertificate, SEQUENCE { OID, ... }, BIT STRING }.
std::optional<std::string> signatureAlgorithm(const std::string& der)
{
    constexpr unsigned char Sequence = 0x30;
    constexpr unsigned char Oid = 0x06;
    const auto certificate = readElement(der, 0, der.size());
    if (!certificate || certificate->tag != Sequence)
        return std::nullopt;
    const auto tbs = readElement(der, certificate->contentAt, certificate->end());
    if (!tbs || tbs->tag != Sequence)
        return std::nullopt;
    const auto algorithm = readElement(der, tbs->end(), certificate->end());
    if (!algorithm || algorithm->tag != Sequence)
        return std::nullopt;
    const auto oid = readElement(der, algorithm->contentAt, algorithm->end());
    if (!oid || oid->tag != Oid)
        return std::nullopt;
    return der.substr(oid->contentAt, oid->length);
}

QCryptographicHash::Algorithm hashFor(const std::string& oid)
{
    // sha384WithRSAEncryption, sha512WithRSAEncryption, ecdsa-with-SHA384, ecdsa-with-SHA512.
    static const std::string sha384Rsa("\x2a\x86\x48\x86\xf7\x0d\x01\x01\x0c", 9);
    static const std::string sha512Rsa("\x2a\x86\x48\x86\xf7\x0d\x01\x01\x0d", 9);
    static const std::string sha384Ecdsa("\x2a\x86\x48\xce\x3d\x04\x03\x03", 8);
    static const std::string sha512Ecdsa("\x2a\x86\x48\xce\x3d\x04\x03\x04", 8);
    if (oid == sha384Rsa || oid == sha384Ecdsa)
        return QCryptographicHash::Sha384;
    if (oid == sha512Rsa || oid == sha512Ecdsa)
        return QCryptographicHash::Sha512;
    // MD5, SHA-1 and SHA-256 all bind with SHA-256.
    return QCryptographicHash::Sha256;
}

} // namespace

std::string tlsServerEndPoint(const std::string& certificateDer)
{
    const auto oid = signatureAlgorithm(certificateDer);
    if (!oid)
        return {};
    const QByteArray der(certificateDer.data(), static_cast<qsizetype>(certificateDer.size()));
    return "tls-server-end-point:" + QCryptographicHash::hash(der, hashFor(*oid)).toStdString();
}

} // namespace vorlu
