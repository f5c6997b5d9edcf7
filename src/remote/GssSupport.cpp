#include "remote/GssSupport.h"

namespace vorlu {

namespace {

std::string statusText(OM_uint32 status, int type, gss_OID mech)
{
    std::string text;
    OM_uint32 more = 0;
    do {
        OM_uint32 minor = 0;
        GssBuffer part;
        if (GSS_ERROR(gss_display_status(&minor, status, type, mech, &more, &part.desc)))
            break;
        if (!text.empty())
            text += "; ";
        text += part.text();
    } while (more != 0);
    return text;
}

char krb5OidBytes[] = "\x2a\x86\x48\x86\xf7\x12\x01\x02\x02";
gss_OID_desc krb5Oid{9, krb5OidBytes};

} // namespace

gss_OID krb5Mechanism()
{
    return &krb5Oid;
}

std::string gssText(OM_uint32 major, OM_uint32 minor, gss_OID mech)
{
    std::string text = statusText(major, GSS_C_GSS_CODE, mech);
    if (minor != 0) {
        const std::string detail = statusText(minor, GSS_C_MECH_CODE, mech);
        if (!detail.empty())
            text += " (" + detail + ")";
    }
    return text;
}

std::string littleEndian32(std::uint32_t value)
{
    std::string bytes(4, '\0');
    for (std::size_t i = 0; i < 4; ++i)
        bytes[i] = static_cast<char>((value >> (8 * i)) & 0xffu);
    return bytes;
}

std::uint32_t readLittleEndian32(const std::string& bytes)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[static_cast<std::size_t>(i)]);
    return value;
}

} // namespace vorlu
