#include "XWindows.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

namespace xdrive {

namespace {

int ignoreError(Display*, XErrorEvent*) { return 0; }

Atom atom(Display* d, const char* name) { return XInternAtom(d, name, False); }

// One property as raw bytes, or empty when the window has none.
std::vector<unsigned char> property(Display* d, Window w, Atom name, Atom type, int& format, unsigned long& items)
{
    Atom actualType = None;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    items = 0;
    format = 0;
    std::vector<unsigned char> bytes;
    if (XGetWindowProperty(d, w, name, 0, 4096, False, type, &actualType, &format, &items, &after, &data) == Success
        && data) {
        const unsigned long unit = format == 32 ? sizeof(long) : static_cast<unsigned long>(format / 8);
        bytes.assign(data, data + items * unit);
    }
    if (data)
        XFree(data);
    return bytes;
}

bool titleIs(Display* d, Window w, const std::string& title)
{
    int format = 0;
    unsigned long items = 0;
    auto net = property(d, w, atom(d, "_NET_WM_NAME"), atom(d, "UTF8_STRING"), format, items);
    if (format == 8 && std::string(net.begin(), net.end()) == title)
        return true;
    auto plain = property(d, w, XA_WM_NAME, AnyPropertyType, format, items);
    return format == 8 && std::string(plain.begin(), plain.end()) == title;
}

bool viewable(Display* d, Window w)
{
    XWindowAttributes attrs;
    return XGetWindowAttributes(d, w, &attrs) && attrs.map_state == IsViewable && !attrs.override_redirect;
}

// The first (preferred) _NET_WM_WINDOW_TYPE, or None when the window has none.
Atom windowType(Display* d, Window w)
{
    int format = 0;
    unsigned long items = 0;
    auto types = property(d, w, atom(d, "_NET_WM_WINDOW_TYPE"), XA_ATOM, format, items);
    if (format != 32 || items == 0)
        return None;
    return reinterpret_cast<const Atom*>(types.data())[0];
}

bool isUserWindow(Display* d, Window w)
{
    if (!viewable(d, w))
        return false;
    const Atom type = windowType(d, w);
    return type == None || type == atom(d, "_NET_WM_WINDOW_TYPE_NORMAL") || type == atom(d, "_NET_WM_WINDOW_TYPE_DIALOG");
}

template <typename Visit>
void walk(Display* d, Window w, Visit visit)
{
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(d, w, &root, &parent, &children, &count))
        return;
    std::vector<Window> list(children, children + count);
    if (children)
        XFree(children);
    for (Window c : list) {
        visit(c);
        walk(d, c, visit);
    }
}

} // namespace

void ignoreXErrors() { XSetErrorHandler(ignoreError); }

std::vector<Window> findWindows(Display* display, const std::string& title)
{
    std::vector<Window> found;
    walk(display, XDefaultRootWindow(display), [&](Window w) {
        if (titleIs(display, w, title) && isUserWindow(display, w))
            found.push_back(w);
    });
    return found;
}

bool splashShown(Display* display)
{
    const Atom splash = atom(display, "_NET_WM_WINDOW_TYPE_SPLASH");
    bool shown = false;
    walk(display, XDefaultRootWindow(display), [&](Window w) {
        shown = shown || (windowType(display, w) == splash && viewable(display, w));
    });
    return shown;
}

} // namespace xdrive
