// xdrive: drives a program's windows on an X display the way a user and a
// window manager would, for tests and screenshots.
//
//   xdrive wait TITLE SECONDS   until a window with that exact title is shown
//   xdrive ready TITLE SECONDS  as wait, and until no splash screen is shown
//                               (a program that shows one is still loading)
//   xdrive gone TITLE SECONDS   until no window with that title is shown
//   xdrive click TITLE X Y      left click at X,Y inside the window
//   xdrive rclick TITLE X Y     right click at X,Y inside the window
//   xdrive key KEYSYM...        press and release keys (Up, Return, a, ...)
//   xdrive close TITLE          ask the window to close (WM_DELETE_WINDOW)
//
// Exit status: 0 done, 1 window not found or timed out, 2 usage or display error.
#include "XWindows.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

void pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

int usage()
{
    std::cerr << "usage: xdrive wait|ready|gone TITLE SECONDS | click|rclick TITLE X Y | key KEYSYM... | close TITLE\n";
    return 2;
}

bool number(const std::string& text, double& value)
{
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return !text.empty() && end && *end == '\0';
}

enum class Until { Shown, Ready, Gone };

int waitFor(Display* d, const std::string& title, double seconds, Until until)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(static_cast<long>(seconds * 1000));
    for (;;) {
        const bool shown = !xdrive::findWindows(d, title).empty();
        if (until == Until::Gone ? !shown : shown && (until == Until::Shown || !xdrive::splashShown(d)))
            return 0;
        if (Clock::now() >= deadline) {
            static const char* what[] = {"appear", "be ready", "disappear"};
            std::cerr << "xdrive: timed out waiting for window \"" << title << "\" to "
                      << what[static_cast<int>(until)] << '\n';
            return 1;
        }
        pause(100);
    }
}

bool uppermost(Display* d, const std::string& title, Window& w)
{
    const auto found = xdrive::findWindows(d, title);
    if (found.empty()) {
        std::cerr << "xdrive: no window \"" << title << "\"\n";
        return false;
    }
    w = found.back();
    return true;
}

int click(Display* d, const std::string& title, int x, int y, unsigned int button)
{
    Window w = 0;
    if (!uppermost(d, title, w))
        return 1;
    int rx = 0;
    int ry = 0;
    Window child = 0;
    XTranslateCoordinates(d, w, XDefaultRootWindow(d), x, y, &rx, &ry, &child);
    XTestFakeMotionEvent(d, -1, rx, ry, CurrentTime);
    XSync(d, False);
    pause(100); // let the program see the pointer arrive before the press
    XTestFakeButtonEvent(d, button, True, CurrentTime);
    XSync(d, False);
    pause(50);
    XTestFakeButtonEvent(d, button, False, CurrentTime);
    XSync(d, False);
    return 0;
}

int keys(Display* d, const std::vector<std::string>& names)
{
    for (const std::string& name : names) {
        const KeySym sym = XStringToKeysym(name.c_str());
        const KeyCode code = sym == NoSymbol ? 0 : XKeysymToKeycode(d, sym);
        if (code == 0) {
            std::cerr << "xdrive: unknown key " << name << '\n';
            return 2;
        }
        XTestFakeKeyEvent(d, code, True, CurrentTime);
        XSync(d, False);
        pause(30);
        XTestFakeKeyEvent(d, code, False, CurrentTime);
        XSync(d, False);
        pause(150);
    }
    return 0;
}

int closeWindow(Display* d, const std::string& title)
{
    Window w = 0;
    if (!uppermost(d, title, w))
        return 1;
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = w;
    ev.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
    ev.xclient.data.l[1] = CurrentTime;
    XSendEvent(d, w, False, NoEventMask, &ev);
    XSync(d, False);
    return 0;
}

int run(Display* d, const std::vector<std::string>& a)
{
    double n1 = 0;
    double n2 = 0;
    const std::string& cmd = a[0];
    if ((cmd == "wait" || cmd == "ready" || cmd == "gone") && a.size() == 3 && number(a[2], n1) && n1 >= 0)
        return waitFor(d, a[1], n1, cmd == "wait" ? Until::Shown : cmd == "ready" ? Until::Ready : Until::Gone);
    if ((cmd == "click" || cmd == "rclick") && a.size() == 4 && number(a[2], n1) && number(a[3], n2))
        return click(d, a[1], static_cast<int>(n1), static_cast<int>(n2), cmd == "click" ? 1 : 3);
    if (cmd == "key" && a.size() >= 2)
        return keys(d, std::vector<std::string>(a.begin() + 1, a.end()));
    if (cmd == "close" && a.size() == 2)
        return closeWindow(d, a[1]);
    return usage();
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty())
        return usage();
    Display* d = XOpenDisplay(nullptr);
    if (!d) {
        std::cerr << "xdrive: cannot open the X display (is DISPLAY set?)\n";
        return 2;
    }
    int event = 0;
    int error = 0;
    int major = 0;
    int minor = 0;
    if (!XTestQueryExtension(d, &event, &error, &major, &minor)) {
        std::cerr << "xdrive: the X server has no XTEST extension\n";
        XCloseDisplay(d);
        return 2;
    }
    xdrive::ignoreXErrors();
    const int status = run(d, args);
    XCloseDisplay(d);
    return status;
}
