#include "remote/NodeLoginFacts.h"

namespace vorlu {

std::optional<NodeLoginFacts::Offer> NodeLoginFacts::offer(const std::string& endpoint) const
{
    std::lock_guard lock(mutex_);
    const auto it = offers_.find(endpoint);
    if (it == offers_.end())
        return std::nullopt;
    return it->second;
}

void NodeLoginFacts::rememberOffer(const std::string& endpoint, Offer offer)
{
    std::lock_guard lock(mutex_);
    offers_[endpoint] = std::move(offer);
}

void NodeLoginFacts::forgetOffer(const std::string& endpoint)
{
    std::lock_guard lock(mutex_);
    offers_.erase(endpoint);
}

bool NodeLoginFacts::wantsLoginFirst(const std::string& endpoint) const
{
    std::lock_guard lock(mutex_);
    return loginFirst_.contains(endpoint);
}

void NodeLoginFacts::rememberLoginFirst(const std::string& endpoint)
{
    std::lock_guard lock(mutex_);
    loginFirst_.insert(endpoint);
}

} // namespace vorlu
