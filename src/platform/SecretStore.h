#pragma once
#include <string>

namespace vorlu {

// The desktop's keyring, where passwords may be kept instead of the program's
// files. Calls block until the keyring answered; error then names the reason
// (locked, refused, no keyring service) in words for the user.
class SecretStore {
public:
    enum class Result { Ok, NotFound, Failed };

    virtual ~SecretStore() = default;
    virtual Result read(const std::string& key, std::string& secret, std::string& error) = 0;
    virtual Result write(const std::string& key, const std::string& secret, std::string& error) = 0;
    // NotFound is no failure: there was nothing to remove.
    virtual Result remove(const std::string& key, std::string& error) = 0;
};

} // namespace vorlu
