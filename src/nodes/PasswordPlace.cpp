#include "nodes/PasswordPlace.h"

#include "nodes/NodeFile.h"

namespace vorlu {

bool movePasswords(bool toKeyring, const std::filesystem::path& folder, NodeTable& nodes, Settings& settings,
                   KeyringPasswords& keyring, std::string& error)
{
    const std::filesystem::path nodeFile = folder / NodeFileName;
    const std::filesystem::path settingsFile = folder / SettingsFileName;
    if (settings.KeepPasswordsInKeyring == toKeyring)
        return true;
    if (toKeyring) {
        if (!keyring.storeAll(nodes, settings, error))
            return false;
        // The settings file first: once it says "keyring", an empty line is looked up there,
        // and the node file's lines, still full, are taken as they are.
        Settings on = settings;
        on.KeepPasswordsInKeyring = true;
        const KeyringPasswords::FileForms forms = keyring.forFiles(nodes, on);
        if (!forms.problem.empty()) {
            error = forms.problem;
            return false;
        }
        if (!writeSettingsFile(settingsFile, forms.settings, &error))
            return false;
        settings.KeepPasswordsInKeyring = true;
        if (!saveNodeFile(nodeFile, forms.nodes, NodeFileForm::Plain, &error))
            return false;
        return true;
    }
    // Back to the files: every password has to be known first, or clearing the keyring loses it.
    if (std::string unread = keyring.fill(nodes, settings); !unread.empty()) {
        error = unread;
        return false;
    }
    // The node file first: while the settings file still says "keyring", the full lines are taken as they are.
    if (!saveNodeFile(nodeFile, nodes, NodeFileForm::Plain, &error))
        return false;
    Settings off = settings;
    off.KeepPasswordsInKeyring = false;
    if (!writeSettingsFile(settingsFile, off, &error))
        return false;
    settings.KeepPasswordsInKeyring = false;
    // Left behind, the keyring's copies are stale, never read again: the move holds, with a note.
    if (std::string left = keyring.forget(nodes, settings); !left.empty())
        error = "the passwords are back in the files, but their copies stayed in the system keyring: " + left;
    return true;
}

} // namespace vorlu
