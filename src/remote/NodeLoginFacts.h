#pragma once
#include <map>
#include <set>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace vorlu {

// What the nodes' endpoints said about their logins, kept for the rest of
// the run so that no connection asks again: the schemes offered to an
// anonymous request, and whether a node wants the login complete before the
// first message. Shared by every connection; safe on any thread.
class NodeLoginFacts {
public:
    struct Offer {
        bool open = false;                // the node answered without a login
        std::vector<std::string> schemes; // from its 401 otherwise
    };

    std::optional<Offer> offer(const std::string& endpoint) const;
    void rememberOffer(const std::string& endpoint, Offer offer);
    // After a refused login: the node may have changed what it offers.
    void forgetOffer(const std::string& endpoint);

    bool wantsLoginFirst(const std::string& endpoint) const;
    void rememberLoginFirst(const std::string& endpoint);

private:
    mutable std::mutex mutex_;
    std::map<std::string, Offer> offers_;
    std::set<std::string> loginFirst_;
};

} // namespace vorlu
