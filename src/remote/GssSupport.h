#pragma once
#include <gssapi/gssapi.h>

#include <cstdint>

#include <string>

namespace vorlu {

// The Kerberos V5 mechanism (1.2.840.113554.1.2.2).
gss_OID krb5Mechanism();

// GSSAPI's own words for a failure: the general reason, then the mechanism's.
std::string gssText(OM_uint32 major, OM_uint32 minor, gss_OID mech);

// An output buffer of GSSAPI, released when it goes.
struct GssBuffer {
    gss_buffer_desc desc{0, nullptr};
    GssBuffer() = default;
    GssBuffer(const GssBuffer&) = delete;
    GssBuffer& operator=(const GssBuffer&) = delete;
    ~GssBuffer()
    {
        OM_uint32 minor = 0;
        gss_release_buffer(&minor, &desc);
    }
    std::string text() const { return {static_cast<const char*>(desc.value), desc.length}; }
};

inline gss_buffer_desc inputBuffer(const std::string& bytes)
{
    return {bytes.size(), const_cast<char*>(bytes.data())};
}

// The 4-byte little-endian length that begins the data part of a sealed body.
std::string littleEndian32(std::uint32_t value);
std::uint32_t readLittleEndian32(const std::string& bytes);

} // namespace vorlu
