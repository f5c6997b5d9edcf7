// The passwords of the node and settings files kept in the system keyring
// when the settings say so: read at start-up, put there at each save, moved
// there and back by the settings dialog's box.
#include "app/MainWindow.h"
#include "nodes/PasswordPlace.h"
#include "platform/Log.h"

namespace vorlu {

namespace {

constexpr const char* KeyringTitle = "Message from Vorlu Optical";
constexpr const char* NoKeyring = "no system keyring (Secret Service) is available";

} // namespace

void Frmmain::readKeyringPasswords(NodeTable* nodes)
{
    if (!state_.settings.KeepPasswordsInKeyring || keyringUnread_)
        return;
    std::string problem = NoKeyring;
    if (keyring_) {
        NodeTable none;
        problem = keyring_->fill(nodes ? *nodes : none, state_.settings);
    }
    if (problem.empty())
        return;
    // Asked once: a locked keyring would otherwise ask again for the node file.
    keyringUnread_ = true;
    qCWarning(lcNodes, "passwords not read from the system keyring: %s", problem.c_str());
    platform_.messages->show("The passwords could not be read from the system keyring: " + problem +
                                 "\nLogins without a password in the files have none until the program is started "
                                 "again with the keyring unlocked. The keyring keeps them.",
                             KeyringTitle, MessageIcon::Warning);
}

KeyringPasswords::FileForms Frmmain::fileForms()
{
    if (!keyring_)
        return {state_.nodes, state_.settings, {}};
    KeyringPasswords::FileForms forms = keyring_->forFiles(state_.nodes, state_.settings);
    if (!forms.problem.empty()) {
        qCWarning(lcNodes, "passwords kept in the files: %s", forms.problem.c_str());
        platform_.messages->show("Some passwords could not be put in the system keyring and stay in the files: " +
                                     forms.problem,
                                 KeyringTitle, MessageIcon::Warning);
    }
    return forms;
}

bool Frmmain::keepPasswordsInKeyring(bool on)
{
    std::string error;
    bool moved = false;
    if (!keyring_)
        error = NoKeyring;
    else if (keepNodeFile_ || keepSettingsFile_)
        error = "a file that could not be read at start-up is left as it is";
    else if (gate_.busy())
        error = CommandGate::busyText;
    else
        moved = movePasswords(on, state_.programFolder, state_.nodes, state_.settings, *keyring_, error);
    if (!error.empty())
        platform_.messages->show(moved ? error : "The passwords stay where they were: " + error, KeyringTitle,
                                 MessageIcon::Warning);
    else if (!on)
        keyringUnread_ = false;
    return state_.settings.KeepPasswordsInKeyring;
}

} // namespace vorlu
