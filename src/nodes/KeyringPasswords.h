#pragma once
#include "nodes/NodeTable.h"
#include "nodes/Settings.h"
#include "platform/SecretStore.h"

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace vorlu {

// The passwords of a program folder's node file and settings file, kept in the
// system keyring when the setting asks for it. Every move writes the new place
// first and clears the old one after, so a refusal or a kill half-way leaves
// each password in one place at least.
class KeyringPasswords {
public:
    KeyringPasswords(SecretStore& store, const std::filesystem::path& programFolder);

    // After both files are read: with the setting on, each empty password is
    // read from the keyring. Empty, or why some could not be read; those stay
    // empty, no later save removes their keyring entries, and a later fill
    // asks for them again.
    std::string fill(NodeTable& nodes, Settings& settings);

    // What the two files are to hold. With the setting on each password goes
    // to the keyring first and its line is left empty (an empty password is
    // an empty entry); one the keyring refuses stays in its line and problem
    // says why.
    struct FileForms {
        NodeTable nodes;
        Settings settings;
        std::string problem;
    };
    FileForms forFiles(const NodeTable& nodes, const Settings& settings);

    // Turning the setting on: every password into the keyring. False and why
    // when the keyring refused any (the setting then stays off; what was
    // written is harmless beside the files, which still hold every password).
    bool storeAll(const NodeTable& nodes, const Settings& settings, std::string& error);

    // Turning it off, once the files hold every password again: the keyring's
    // copies are removed. Empty, or why some stayed. Before the files are
    // written, fill must come back empty: a password the keyring would not
    // give at the start is otherwise lost with its entry.
    std::string forget(const NodeTable& nodes, const Settings& settings);

private:
    // One key per record that has a login or a password (empty for the rest),
    // numbered when name and login repeat, and the administrator's last.
    std::vector<std::string> keysOf(const NodeTable& nodes, const Settings& settings) const;
    // Writes the password under key unless the keyring already holds it.
    bool put(const std::string& key, const std::string& password, std::string& error);

    SecretStore& store_;
    std::string folder_;
    // What the keyring is known to hold. Every record with a login or a
    // password has an entry, "" for none; one of unknown content is never
    // written over or removed, so one the keyring would not give is never lost.
    std::map<std::string, std::string> held_;
    bool readable_ = false; // the keyring gave every password asked for, or took them all
};

} // namespace vorlu
