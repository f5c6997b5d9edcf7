#pragma once
#include "platform/SecretStore.h"

#include <string>

namespace vorlu {

// The Secret Service of the desktop (GNOME Keyring, KWallet, KeePassXC) through
// QtKeychain, never falling back to a file of its own. Needs a Qt event loop
// to be possible on the calling thread (it runs one while it waits).
class KeychainSecretStore final : public SecretStore {
public:
    explicit KeychainSecretStore(std::string service = "vorlu-optical");
    Result read(const std::string& key, std::string& secret, std::string& error) override;
    Result write(const std::string& key, const std::string& secret, std::string& error) override;
    Result remove(const std::string& key, std::string& error) override;

private:
    std::string service_;
};

} // namespace vorlu
