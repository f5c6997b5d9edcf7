#pragma once
#include <X11/Xlib.h>
#include <string>
#include <vector>

namespace xdrive {

// Windows a user could act on: viewable, not override-redirect (menus,
// tooltips) and not a splash screen, whose title is exactly the given one.
// Ordered bottom to top, so the last one is the uppermost.
std::vector<Window> findWindows(Display* display, const std::string& title);

// Whether any splash screen is shown, whatever its title.
bool splashShown(Display* display);

// Windows come and go while the tree is walked; the errors that causes are
// expected and must not end the program.
void ignoreXErrors();

} // namespace xdrive
