#include "remote/KerberosNames.h"

namespace vorlu {

void KerberosNames::remember(const std::string& address, const std::string& dnsName)
{
    std::lock_guard lock(mutex_);
    byAddress_[address] = dnsName;
}

std::string KerberosNames::find(const std::string& address) const
{
    std::lock_guard lock(mutex_);
    const auto at = byAddress_.find(address);
    return at == byAddress_.end() ? std::string() : at->second;
}

} // namespace vorlu
