#pragma once
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace vorlu::test {

// A Kerberos acceptor in a test (the sign-in tests check tickets against a
// keytab) keeps a replay cache; it goes in the build's folder, not the
// system's /var/tmp.
inline void prepareTestProcess()
{
    const std::filesystem::path cache = std::filesystem::path(VORLU_BINARY_DIR) / "tests" / "krb5-rcache";
    std::error_code ec;
    std::filesystem::create_directories(cache, ec);
    ::setenv("KRB5RCACHEDIR", cache.c_str(), 0);
}

} // namespace vorlu::test
