#pragma once
#include <mutex>
#include <string>
#include <unordered_map>

namespace vorlu {

// The DNS name of each address the domain's directory listed, for the service
// name HTTP/<name> a node reached by its address signs in to: a domain's
// reverse lookup zones are often missing. Safe to use from several threads:
// scans fill it while nodes are diagnosed.
class KerberosNames {
public:
    void remember(const std::string& address, const std::string& dnsName);
    // Empty when the address is not known.
    std::string find(const std::string& address) const;

private:
    mutable std::mutex mutex_;
    std::unordered_map<std::string, std::string> byAddress_;
};

} // namespace vorlu
