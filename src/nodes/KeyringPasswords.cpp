#include "nodes/KeyringPasswords.h"

#include "nodes/NodeFile.h"

namespace vorlu {

namespace {

// The password of key i of keysOf: record i + 1, or the administrator's after the records.
const std::string& passwordAt(const NodeTable& nodes, const Settings& settings, std::size_t i)
{
    return i < nodes.count() ? nodes.at(i + 1).Password : settings.AdminPassword;
}

std::string& passwordAt(NodeTable& nodes, Settings& settings, std::size_t i)
{
    return i < nodes.count() ? nodes.at(i + 1).Password : settings.AdminPassword;
}

} // namespace

KeyringPasswords::KeyringPasswords(SecretStore& store, const std::filesystem::path& programFolder)
    : store_(store), folder_(programFolder.lexically_normal().string())
{
}

std::vector<std::string> KeyringPasswords::keysOf(const NodeTable& nodes, const Settings& settings) const
{
    std::vector<std::string> keys;
    keys.reserve(nodes.count() + 1);
    std::map<std::string, int> seen;
    for (std::size_t n = 1; n <= nodes.count(); ++n) {
        const NodeRecord& r = nodes.at(n);
        if (r.Login.empty() && r.Password.empty()) {
            keys.emplace_back();
            continue;
        }
        // Names are not unique: a repeated name and login is told apart by its place among them.
        std::string key = folder_ + "\n" + NodeFileName + "\n" + r.Name + "\n" + r.Login;
        const int k = ++seen[key];
        if (k > 1)
            key += "\n" + std::to_string(k);
        keys.push_back(std::move(key));
    }
    const bool admin = !settings.AdminUser.empty() || !settings.AdminPassword.empty();
    keys.push_back(admin ? folder_ + "\n" + SettingsFileName + "\n" + settings.AdminUser : std::string());
    return keys;
}

std::string KeyringPasswords::fill(NodeTable& nodes, Settings& settings)
{
    if (!settings.KeepPasswordsInKeyring)
        return {};
    const std::vector<std::string> keys = keysOf(nodes, settings);
    std::string problem;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        std::string& password = passwordAt(nodes, settings, i);
        // What the keyring is known to hold (or not) is not asked again.
        if (keys[i].empty() || !password.empty() || held_.count(keys[i]))
            continue;
        // After one refusal the keyring is not asked again: a locked one would ask once per node.
        if (!problem.empty())
            break;
        std::string secret;
        switch (store_.read(keys[i], secret, problem)) {
        case SecretStore::Result::Ok:
            password = secret;
            held_[keys[i]] = secret;
            break;
        case SecretStore::Result::NotFound:
            // Every keyed password has an entry, an empty one too: a missing entry is one a
            // locked keyring hides, never proof that there is no password.
            problem = "the system keyring gives no password for " +
                      (i < nodes.count() ? "node " + nodes.at(i + 1).Name : std::string("the administrator")) +
                      " (is it locked?)";
            break;
        case SecretStore::Result::Failed:
            break;
        }
    }
    readable_ = problem.empty();
    return problem;
}

bool KeyringPasswords::put(const std::string& key, const std::string& password, std::string& error)
{
    const auto it = held_.find(key);
    if (it != held_.end() && it->second == password)
        return true;
    if (store_.write(key, password, error) != SecretStore::Result::Ok)
        return false;
    held_[key] = password;
    return true;
}

KeyringPasswords::FileForms KeyringPasswords::forFiles(const NodeTable& nodes, const Settings& settings)
{
    FileForms forms{nodes, settings, {}};
    if (!settings.KeepPasswordsInKeyring)
        return forms;
    const std::vector<std::string> keys = keysOf(nodes, settings);
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const std::string& key = keys[i];
        std::string& password = passwordAt(forms.nodes, forms.settings, i);
        if (key.empty())
            continue;
        if (!forms.problem.empty())
            continue; // the keyring refused: the rest stay in their lines
        // An entry of unknown content is not emptied: the keyring may have hidden it at the start.
        if (password.empty() && !readable_ && !held_.count(key))
            continue;
        if (put(key, password, forms.problem))
            password.clear();
    }
    return forms;
}

bool KeyringPasswords::storeAll(const NodeTable& nodes, const Settings& settings, std::string& error)
{
    const std::vector<std::string> keys = keysOf(nodes, settings);
    for (std::size_t i = 0; i < keys.size(); ++i)
        if (!keys[i].empty() && !put(keys[i], passwordAt(nodes, settings, i), error))
            return false;
    readable_ = true;
    return true;
}

std::string KeyringPasswords::forget(const NodeTable& nodes, const Settings& settings)
{
    std::string problem;
    for (const std::string& key : keysOf(nodes, settings)) {
        if (key.empty() || !problem.empty())
            continue;
        if (store_.remove(key, problem) != SecretStore::Result::Failed)
            held_.erase(key);
    }
    return problem;
}

} // namespace vorlu
