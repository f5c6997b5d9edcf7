#pragma once
#include <QString>
#include <functional>
#include <span>

class QTreeWidget;
class QWidget;

namespace vorlu {

// What a key of the main window does.
enum class KeyCommand { PopupMain, PopupNetwork, PopupNodes, PopupDrives, PopupAdministrator, PopupConfigure, Exit, Help, Rescan };

struct KeyBinding {
    const char* keys; // as QKeySequence reads it
    KeyCommand command;
};

// The main window's keyboard table. Alt takes the first letter of each
// command-bar caption; "Nodes" shares its N with "Network", so it takes O.
std::span<const KeyBinding> keyBindings();

// The Label6 index whose popup the command opens, or -1 for the other commands.
int popupLabel(KeyCommand command);

// Tooltip of a command-bar caption: what it opens and its keys.
QString commandLabelTip(int label6Index);

// Window-wide shortcuts for every binding, owned by the window.
void installKeyBindings(QWidget& window, std::function<void(KeyCommand)> run);

// Return or Enter on a node tree entry acts as a double-click on it.
void installReturnAsDoubleClick(QTreeWidget& tree, std::function<void()> doubleClick);

} // namespace vorlu
