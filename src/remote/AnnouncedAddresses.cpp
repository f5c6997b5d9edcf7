#include "remote/AnnouncedAddresses.h"

#include <QString>

namespace vorlu {

namespace {

// Computer names may leave ASCII; the scan folds them the same way.
std::string folded(const std::string& name) { return QString::fromStdString(name).toCaseFolded().toStdString(); }

} // namespace

void AnnouncedAddresses::remember(const std::string& name, Ipv4Bytes address)
{
    const std::string key = folded(name);
    std::lock_guard lock(mutex_);
    byName_[key] = address;
}

std::optional<Ipv4Bytes> AnnouncedAddresses::find(const std::string& name) const
{
    const std::string key = folded(name);
    std::lock_guard lock(mutex_);
    const auto at = byName_.find(key);
    if (at == byName_.end())
        return std::nullopt;
    return at->second;
}

} // namespace vorlu
