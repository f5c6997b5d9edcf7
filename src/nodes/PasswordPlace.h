#pragma once
#include "nodes/KeyringPasswords.h"

#include <filesystem>
#include <string>

namespace vorlu {

// Turns "Keep passwords in the system keyring" on or off for the program
// folder: moves every password of the node file and the settings file to the
// keyring or back and saves both files, the new place always written before
// the old one is cleared. Stopped at any step (a refusal, a failed write, a
// kill), each password can still be found by the next start. False and why
// when the setting could not change; it then keeps its value. True with a
// note in error when the keyring kept copies it was asked to remove.
bool movePasswords(bool toKeyring, const std::filesystem::path& programFolder, NodeTable& nodes, Settings& settings,
                   KeyringPasswords& keyring, std::string& error);

} // namespace vorlu
