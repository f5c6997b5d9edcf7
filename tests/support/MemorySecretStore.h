#pragma once
#include "platform/SecretStore.h"

#include <map>
#include <string>

namespace vorlu::test {

// A keyring in memory that can be told to refuse, as a locked one does.
class MemorySecretStore final : public SecretStore {
public:
    std::map<std::string, std::string> entries;
    bool refuse = false;
    int calls = 0;

    Result read(const std::string& key, std::string& secret, std::string& error) override
    {
        if (refused(error))
            return Result::Failed;
        const auto it = entries.find(key);
        if (it == entries.end())
            return Result::NotFound;
        secret = it->second;
        return Result::Ok;
    }
    Result write(const std::string& key, const std::string& secret, std::string& error) override
    {
        if (refused(error))
            return Result::Failed;
        entries[key] = secret;
        return Result::Ok;
    }
    Result remove(const std::string& key, std::string& error) override
    {
        if (refused(error))
            return Result::Failed;
        return entries.erase(key) ? Result::Ok : Result::NotFound;
    }

private:
    bool refused(std::string& error)
    {
        ++calls;
        if (refuse)
            error = "the system keyring refused access (is it locked?)";
        return refuse;
    }
};

} // namespace vorlu::test
